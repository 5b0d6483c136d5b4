#include "ConfigurationFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool usable(const QString &folder) {
    // A folder that exists but refuses writing (a read-only install) is as good as none.
    return QDir().mkpath(folder) && QFileInfo(folder).isWritable();
}

} // namespace

QString ConfigurationFolder::prepare(const QString &programFolder, const QString &userDataFolder) {
    const QString beside = QDir(programFolder).filePath(QStringLiteral("configuration"));
    if (!programFolder.isEmpty() && usable(beside))
        return beside + u'/';
    const QString own =
        QDir(userDataFolder).filePath(QStringLiteral("velmora-configurator/configuration"));
    QDir().mkpath(own);
    return own + u'/';
}

QString ConfigurationFolder::prepare() {
    // Set by whoever runs the program somewhere it must leave no file, the tests first of all.
    const QString chosen = qEnvironmentVariable("VELMORA_CONFIGURATION_DIR");
    if (!chosen.isEmpty()) {
        QDir().mkpath(chosen);
        return QDir::cleanPath(chosen) + u'/';
    }
    return prepare(QCoreApplication::applicationDirPath(),
                   QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}
