#include "backup/SaveGuard.h"

#include "ConfigurationFolder.h"
#include "backup/BackupFiles.h"
#include "protocol/OperationOutcome.h"
#include "protocol/TComm.h"

#include <QDir>
#include <QFile>

SaveGuard::SaveGuard(Operator &op, QString area)
    : op(op)
    , area(std::move(area)) {}

void SaveGuard::useConnection(quint64 connection) {
    if (knownOn != 0 && knownOn != connection) {
        forgetDeviceCopy();
        copied = false;
    }
    knownOn = connection;
}

void SaveGuard::deviceMatchesTable() {
    keepDeviceCopy();
    copied = true;
}

bool SaveGuard::review() {
    const Changes c = changes();
    QString text =
        c.count == 0
            ? QStringLiteral("No changes since the last read or save. Save to the device anyway?")
            : c.counts + QStringLiteral(" Save to the device?");
    if (!copied)
        text += area == QLatin1String("settings")
                    ? QStringLiteral("\nNo backup: the settings were not read from the device.")
                    : QStringLiteral("\nNo backup: this list was not read from the device.");
    writeAllPages = false;
    return op.confirmWithOption(text, c.details, QStringLiteral("Write all pages"), writeAllPages,
                                QString(), QStringLiteral("OK(&Y)"), QStringLiteral("Cancel(&N)"),
                                Operator::Icon::Question);
}

bool SaveGuard::backupBeforeSave(OperationOutcome &outcome) {
    if (!copied)
        return true;
    const QString target = folder.isEmpty() ? ConfigurationFolder::prepare() : folder;
    QString problem;
    if (!QDir().mkpath(target)) {
        problem =
            QStringLiteral("Cannot create the folder \"%1\"").arg(QDir::toNativeSeparators(target));
    } else {
        const QString path = BackupFiles::reserve(
            target, area, QDateTime::currentDateTime(),
            BackupFiles::deviceTag(comm ? comm->CommName() : QString()), problem);
        if (!path.isEmpty() && saveDeviceCopy(path)) {
            lastBackup = path;
            pruned = BackupFiles::prune(target, area);
            return true;
        }
        if (!path.isEmpty()) {
            QFile::remove(path);
            problem = quiet.lastMessage;
        }
    }
    outcome.failed(QStringLiteral("The backup could not be written, so nothing was saved."),
                   problem);
    return false;
}
