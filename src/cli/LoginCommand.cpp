#include "CliRun.h"
#include "CommandTable.h"

CliCommand loginCommand() {
    CliCommand c;
    c.name = QStringLiteral("login");
    c.summary = QStringLiteral("Open the port and check the password against the device.");
    c.run = [](CliRun &run) { return int(run.login().ok ? ExitSuccess : ExitFailure); };
    return c;
}
