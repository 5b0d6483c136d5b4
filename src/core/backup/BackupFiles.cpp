#include "backup/BackupFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString prefix(const QString &area) {
    return QStringLiteral("backup_%1_").arg(area);
}

} // namespace

QString BackupFiles::reserve(const QString &folder, const QString &area, const QDateTime &when,
                             QString &problem) {
    const QString stem = prefix(area) + when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    for (int n = 1; n <= 99; ++n) {
        QFile file(QDir(folder).filePath(
            stem + (n == 1 ? QString() : QStringLiteral("_%1").arg(n)) + QStringLiteral(".xlsx")));
        if (file.open(QIODevice::NewOnly))
            return file.fileName();
        if (!file.exists()) {
            problem = file.errorString();
            return {};
        }
    }
    problem = QStringLiteral("Too many backups within one second");
    return {};
}

QString BackupFiles::areaOf(const QString &path) {
    const QString name = QFileInfo(path).fileName();
    for (const QString &area : {QStringLiteral("settings"), QStringLiteral("numbers")})
        if (name.startsWith(prefix(area)))
            return area;
    return {};
}

void BackupFiles::prune(const QString &folder, const QString &area, int keep) {
    QDir dir(folder);
    // By name: the time stamp in it sorts the oldest first.
    const QStringList names =
        dir.entryList({prefix(area) + QStringLiteral("*.xlsx")}, QDir::Files, QDir::Name);
    for (qsizetype i = 0; i + keep < names.size(); ++i)
        dir.remove(names.at(i));
}
