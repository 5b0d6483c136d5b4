#include "backup/BackupFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString prefix(const QString &area) {
    return QStringLiteral("backup_%1_").arg(area);
}

// Letters, digits, '.', '_' and '-' only, so that the tag is a safe part of any file name.
QString fileNamePart(QString text) {
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]"));
    text.replace(unsafe, QStringLiteral("-"));
    return text.left(64);
}

} // namespace

QString BackupFiles::claim(const QString &folder, const QString &stem, QString &problem) {
    for (int n = 1; n <= 99; ++n) {
        QFile file(QDir(folder).filePath(
            stem + (n == 1 ? QString() : QStringLiteral("_%1").arg(n)) + QStringLiteral(".xlsx")));
        // NewOnly is O_CREAT | O_EXCL: it fails when the name exists, whoever made it.
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

QString BackupFiles::reserve(const QString &folder, const QString &area, const QDateTime &when,
                             const QString &deviceTag, QString &problem) {
    return claim(folder,
                 prefix(area) + when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) +
                     QLatin1Char('_') + deviceTag,
                 problem);
}

QString BackupFiles::deviceTag(const QString &port, const Trecognitionserial &ports) {
    const QString path =
        port.contains(QLatin1Char('/')) ? port : ports.devRoot() + QLatin1Char('/') + port;
    // A link such as /dev/serial/by-id/... names the node it points to.
    const QString node = QFileInfo(path).canonicalFilePath();
    const QString name = QFileInfo(node.isEmpty() ? path : node).fileName();
    for (const SerialPortInfo &info : ports.list())
        if (info.name == name && !info.serialNumber.isEmpty())
            return fileNamePart(info.serialNumber);
    const QString devRoot = ports.devRoot() + QLatin1Char('/');
    const QString shown = node.startsWith(devRoot) ? node.mid(devRoot.size()) : name;
    return fileNamePart(shown.isEmpty() ? QStringLiteral("port") : shown);
}

QString BackupFiles::areaOf(const QString &path) {
    const QString name = QFileInfo(path).fileName();
    for (const QString &area : {QStringLiteral("settings"), QStringLiteral("numbers")})
        if (name.startsWith(prefix(area)))
            return area;
    return {};
}

QStringList BackupFiles::prune(const QString &folder, const QString &area, int keep) {
    QDir dir(folder);
    // By name: the time stamp in it sorts the oldest first.
    const QStringList names =
        dir.entryList({prefix(area) + QStringLiteral("*.xlsx")}, QDir::Files, QDir::Name);
    QStringList removed;
    for (qsizetype i = 0; i + keep < names.size(); ++i)
        if (dir.remove(names.at(i)))
            removed << dir.filePath(names.at(i));
    return removed;
}
