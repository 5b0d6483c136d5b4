#pragma once

#include "CliCommand.h"

#include <QList>

// Every operation velmora-cli offers, in the order --help lists them.
const QList<CliCommand> &commandTable();

CliCommand portsCommand();
CliCommand loginCommand();
CliCommand syncTimeCommand();
CliCommand checkingModeCommand();
CliCommand settingsCommand();
CliCommand numbersCommand();
CliCommand historyCommand();
CliCommand backupCommand();
CliCommand restoreCommand();
CliCommand provisionCommand();
