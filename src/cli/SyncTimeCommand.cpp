#include "CliRun.h"
#include "CommandTable.h"
#include "Session.h"

CliCommand syncTimeCommand() {
    CliCommand c;
    c.name = QStringLiteral("sync-time");
    c.summary = QStringLiteral("Log in and set the device's clock to this machine's local time.");
    c.run = [](CliRun &run) {
        if (!run.login().ok)
            return int(ExitFailure);
        const bool ok = run.await([&run] { run.session().sendTimeSync(); }).ok;
        return int(ok ? ExitSuccess : ExitFailure);
    };
    return c;
}
