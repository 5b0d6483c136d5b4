#include "CommandTable.h"

const QList<CliCommand> &commandTable() {
    static const QList<CliCommand> table = {
        portsCommand(),    loginCommand(),     syncTimeCommand(), checkingModeCommand(),
        settingsCommand(), numbersCommand(),   historyCommand(),  backupCommand(),
        restoreCommand(),  provisionCommand(),
    };
    return table;
}
