#include "BackupReport.h"
#include "CliRun.h"
#include "CommandTable.h"
#include "PortFanOut.h"
#include "Session.h"
#include "TerminalOperator.h"
#include "numbers/NumberListExchange.h"
#include "numbers/NumberTable.h"
#include "protocol/Trecognitionserial.h"
#include "settings/SettingsTable.h"
#include "settings/Tcustomstringgrid_basis.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

const QString ProfileOption = QStringLiteral("profile");
const QString NumbersOption = QStringLiteral("numbers");
const QString SyncTimeOption = QStringLiteral("sync-time");
const QString AllPortsOption = QStringLiteral("all-ports");

int usage(CliRun &run, const QString &problem) {
    run.person().message(QStringLiteral("velmora-cli: ") + problem, {}, Operator::Icon::Error);
    return ExitUsage;
}

// The port of --port, in this process: the profile, then the number list, each backed up and
// read back by its own save, then the clock when asked. The first step that fails ends it.
int provisionPort(CliRun &run) {
    if (importSettings(run, run.value(ProfileOption)) != ExitSuccess ||
        importNumbers(run, run.value(NumbersOption)) != ExitSuccess)
        return ExitFailure;
    if (run.isSet(SyncTimeOption) && !run.await([&run] { run.session().sendTimeSync(); }).ok)
        return ExitFailure;
    return ExitSuccess;
}

// Both files must load before any device is touched.
bool filesLoad(CliRun &run) {
    SettingsTable profile;
    NumberTable list;
    return Tcustomstringgrid_basis(profile, run.session(), QString())
               .loadProfile(run.value(ProfileOption)) &&
           NumberListExchange(list, run.session(), QString()).loadFile(run.value(NumbersOption));
}

QStringList bridgePorts() {
    QStringList out;
    for (const SerialPortInfo &port : Trecognitionserial().list())
        if (port.isDeviceBridge())
            out << port.path;
    return out;
}

// Every port in a velmora-cli of its own, all at once; one line per port on the output stream.
int provisionPorts(CliRun &run, const QStringList &ports) {
    if (!filesLoad(run))
        return ExitFailure;
    if (!run.person().confirm(
            QStringLiteral("Replace the settings and the number list of %1 devices?")
                .arg(ports.size()),
            QString(), QStringLiteral("OK(&Y)"), QStringLiteral("Cancel(&N)")))
        return ExitFailure;
    // The password goes down a pipe: every local user can read a process's command line.
    QStringList common = {QStringLiteral("--password-stdin"),
                          QStringLiteral("--yes"),
                          QStringLiteral("provision"),
                          QStringLiteral("--profile"),
                          QFileInfo(run.value(ProfileOption)).absoluteFilePath(),
                          QStringLiteral("--numbers"),
                          QFileInfo(run.value(NumbersOption)).absoluteFilePath()};
    if (run.isSet(SyncTimeOption))
        common << QStringLiteral("--sync-time");
    PortFanOut fanOut(
        QCoreApplication::applicationFilePath(),
        [&common](const QString &port) {
            return QStringList{QStringLiteral("--port"), port} + common;
        },
        [&run](const QString &port, const QString &line) {
            run.person().note(port + QStringLiteral(": ") + line);
        });
    fanOut.setInput(run.devicePassword().toUtf8() + '\n');
    bool allOk = true;
    for (const PortFanOut::Result &r : fanOut.run(ports)) {
        allOk = allOk && r.ok;
        run.out() << r.port << '\t' << (r.ok ? "ok" : "failed") << '\t'
                  << QString::number(r.seconds, 'f', 1) << '\n';
    }
    run.out().flush();
    return allOk ? ExitSuccess : ExitFailure;
}

} // namespace

CliCommand provisionCommand() {
    CliCommand c;
    c.name = QStringLiteral("provision");
    c.arguments = QStringLiteral("[PORT...]");
    c.summary = QStringLiteral(
        "Configure devices from a profile and a number list: on each PORT (or every port that is "
        "the device's USB bridge, with --all-ports) at once, each in a velmora-cli of its own, "
        "import the profile, then the number list, each backed up and read back, then set the "
        "clock with --sync-time. Prints one line per port: the port, ok or failed, and the "
        "seconds it took. Without PORT it configures --port. Exit 1 when any port failed.");
    c.minArguments = 0;
    c.maxArguments = 64;
    c.needsPort = false;
    c.options = {
        {ProfileOption, QStringLiteral("the settings profile workbook to import."),
         QStringLiteral("FILE")},
        {NumbersOption, QStringLiteral("the number list workbook (or .csv) to import."),
         QStringLiteral("FILE")},
        {SyncTimeOption, QStringLiteral("also set each device's clock to this machine's time.")},
        {AllPortsOption, QStringLiteral("every port that is the device's USB bridge.")},
    };
    c.run = [](CliRun &run) {
        if (run.value(ProfileOption).isEmpty() || run.value(NumbersOption).isEmpty())
            return usage(run, QStringLiteral("provision needs --profile FILE and --numbers FILE"));
        const bool all = run.isSet(AllPortsOption);
        const bool listed = !run.arguments().isEmpty();
        const bool one = !run.value(QStringLiteral("port")).trimmed().isEmpty();
        if (int(all) + int(listed) + int(one) != 1)
            return usage(run, QStringLiteral("provision takes one of PORT..., --all-ports and "
                                             "--port"));
        if (one)
            return provisionPort(run);
        const QStringList ports = all ? bridgePorts() : run.arguments();
        if (ports.isEmpty()) {
            run.person().message(QStringLiteral("No port is the device's USB bridge"), {},
                                 Operator::Icon::Error);
            return int(ExitFailure);
        }
        return provisionPorts(run, ports);
    };
    return c;
}
