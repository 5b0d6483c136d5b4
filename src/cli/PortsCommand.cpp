#include "CliRun.h"
#include "CommandTable.h"
#include "RecordOutput.h"
#include "protocol/PortProblem.h"
#include "protocol/Trecognitionserial.h"

namespace {

// Path, description, whether this user may open it, and who holds it.
QStringList verboseFields(const SerialPortInfo &port) {
    const QString access =
        PortProblem::mayOpen(port.path) ? QStringLiteral("may open") : QStringLiteral("no access");
    QString holder = PortProblem::heldBy(PortProblem::holders(port.path));
    if (holder.isEmpty())
        holder = QStringLiteral("not held");
    return {port.path, port.description(), access, holder};
}

} // namespace

CliCommand portsCommand() {
    CliCommand c;
    c.name = QStringLiteral("ports");
    c.summary = QStringLiteral("List the serial ports of this machine, one per line.");
    c.needsPort = false;
    c.options = {QCommandLineOption(QStringLiteral("verbose"),
                                    QStringLiteral("Also show each port's adapter, whether you "
                                                   "may open it, and which program holds it.")),
                 RecordOutput::formatOption()};
    c.run = [](CliRun &run) {
        const bool verbose = run.isSet(QStringLiteral("verbose"));
        QList<QStringList> records;
        for (const SerialPortInfo &port : run.portList().list())
            records << (verbose ? verboseFields(port) : QStringList{port.path});
        RecordOutput::print(run,
                            {QStringLiteral("Port"), QStringLiteral("Description"),
                             QStringLiteral("Access"), QStringLiteral("Held by")},
                            records);
        return int(ExitSuccess);
    };
    return c;
}
