#include "CliRun.h"
#include "CommandTable.h"
#include "protocol/PortProblem.h"
#include "protocol/Trecognitionserial.h"

namespace {

// Path, description, whether this user may open it, and who holds it, separated by tabs.
QString verboseLine(const SerialPortInfo &port) {
    const QString access =
        PortProblem::mayOpen(port.path) ? QStringLiteral("may open") : QStringLiteral("no access");
    QString holder = PortProblem::heldBy(PortProblem::holders(port.path));
    if (holder.isEmpty())
        holder = QStringLiteral("not held");
    return QStringList{port.path, port.description(), access, holder}.join(QLatin1Char('\t'));
}

} // namespace

CliCommand portsCommand() {
    CliCommand c;
    c.name = QStringLiteral("ports");
    c.summary = QStringLiteral("List the serial ports of this machine, one per line.");
    c.needsPort = false;
    c.options = {QCommandLineOption(
        QStringLiteral("verbose"),
        QStringLiteral("Also show each port's adapter, whether you may open it, and which "
                       "program holds it."))};
    c.run = [](CliRun &run) {
        const bool verbose = run.isSet(QStringLiteral("verbose"));
        for (const SerialPortInfo &port : run.portList().list())
            run.out() << (verbose ? verboseLine(port) : port.path) << '\n';
        run.out().flush();
        return int(ExitSuccess);
    };
    return c;
}
