#include "CliRun.h"
#include "CommandTable.h"
#include "Session.h"

CliCommand checkingModeCommand() {
    CliCommand c;
    c.name = QStringLiteral("checking-mode");
    c.summary = QStringLiteral("Log in and put the device into its checking mode.");
    c.run = [](CliRun &run) {
        if (!run.login().ok)
            return int(ExitFailure);
        const bool ok = run.await([&run] { run.session().sendCheckingMode(); }).ok;
        return int(ok ? ExitSuccess : ExitFailure);
    };
    return c;
}
