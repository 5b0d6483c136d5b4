#include "CliRun.h"
#include "CommandTable.h"
#include "protocol/Trecognitionserial.h"

CliCommand portsCommand() {
    CliCommand c;
    c.name = QStringLiteral("ports");
    c.summary = QStringLiteral("List the serial ports of this machine, one per line.");
    c.needsPort = false;
    c.run = [](CliRun &run) {
        for (const QString &port : Trecognitionserial().ports())
            run.out() << port << '\n';
        run.out().flush();
        return int(ExitSuccess);
    };
    return c;
}
