#include "BackupReport.h"
#include "CliRun.h"
#include "CommandTable.h"
#include "TerminalOperator.h"
#include "backup/BackupFiles.h"

CliCommand restoreCommand() {
    CliCommand c;
    c.name = QStringLiteral("restore");
    c.arguments = QStringLiteral("FILE");
    c.summary = QStringLiteral(
                    "Log in and save the backup FILE (backup_settings_... or backup_numbers_..., "
                    "as a save leaves them in the configuration folder, which keeps the newest %1 "
                    "of each and names those it removes) back to the device, as import does.")
                    .arg(BackupFiles::Kept);
    c.minArguments = 1;
    c.maxArguments = 1;
    c.options = {
        {QStringLiteral("no-backup"),
         QStringLiteral("save without reading the device's area first for a backup.")},
        {QStringLiteral("verify"),
         QStringLiteral("number list: read every page back, not only the written ones.")},
        {QStringLiteral("full"),
         QStringLiteral("write every page, not only those that differ from the device.")},
    };
    c.run = [](CliRun &run) {
        const QString path = run.arguments().first();
        const QString area = BackupFiles::areaOf(path);
        if (area == QLatin1String("settings"))
            return importSettings(run, path);
        if (area == QLatin1String("numbers"))
            return importNumbers(run, path);
        run.person().message(QStringLiteral("velmora-cli: \"%1\" is no backup: its name starts "
                                            "with backup_settings_ or backup_numbers_")
                                 .arg(path),
                             {}, Operator::Icon::Error);
        return int(ExitUsage);
    };
    return c;
}
