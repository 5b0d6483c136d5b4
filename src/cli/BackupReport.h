#pragma once

#include "CliRun.h"
#include "TerminalOperator.h"
#include "backup/SaveGuard.h"

#include <QDir>

// The backup a save wrote, and the old ones it removed, go to the error stream, where the
// status lines go.
inline void reportBackup(CliRun &run, const SaveGuard &guard) {
    if (guard.lastBackupPath().isEmpty())
        return;
    run.person().setStatusText(QStringLiteral("Backup: ") +
                               QDir::toNativeSeparators(guard.lastBackupPath()));
    run.person().finishStatusLine();
    for (const QString &path : guard.prunedBackups()) {
        run.person().setStatusText(QStringLiteral("Removed old backup: ") +
                                   QDir::toNativeSeparators(path));
        run.person().finishStatusLine();
    }
}

// Saving a backup file back: it is imported as a file of its area is.
int importSettings(CliRun &run, const QString &path);
int importNumbers(CliRun &run, const QString &path);
