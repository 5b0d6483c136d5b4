// Provisioning several devices at once against one: each port has a velmora-cli of its own, so
// four paced devices should take hardly longer than one (the goal is at most 1.15 times). Each
// run imports a profile and a full number list (3000 entries) with backup and read-back, at the
// pace of a 115200-baud line.
#include "BenchDevice.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

namespace {

bool runCli(const QStringList &arguments) {
    QProcess cli;
    // The children's status lines would drown the figures.
    cli.setStandardErrorFile(QProcess::nullDevice());
    cli.start(QStringLiteral(VELMORA_CLI_EXE), arguments);
    return cli.waitForFinished(-1) && cli.exitStatus() == QProcess::NormalExit &&
           cli.exitCode() == 0;
}

// A profile and a full list, taken from a device that holds them; made once for every run.
struct Files {
    QTemporaryDir dir;
    QString profile = dir.filePath(QStringLiteral("profile.xlsx"));
    QString list = dir.filePath(QStringLiteral("list.csv"));
    bool made = false;

    Files() {
        QFile csv(list);
        if (!csv.open(QIODevice::WriteOnly))
            return;
        for (int r = 1; r <= 3000; ++r)
            csv.write(QStringLiteral("%1,+86139%2,2024/05/17,08:00,2030/05/17,18:00,no,no,,\r\n")
                          .arg(r)
                          .arg(r, 8, 10, QChar(u'0'))
                          .toLatin1());
        csv.close();
        bench::DeviceProcess device({});
        made = runCli({QStringLiteral("--port"), device.terminal, QStringLiteral("settings"),
                       QStringLiteral("export"), profile});
    }
};

void Provision(benchmark::State &state) {
    static Files files;
    if (!files.made) {
        state.SkipWithError("the profile could not be made");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::unique_ptr<bench::DeviceProcess>> devices;
        QStringList arguments = {QStringLiteral("--yes"),     QStringLiteral("provision"),
                                 QStringLiteral("--profile"), files.profile,
                                 QStringLiteral("--numbers"), files.list};
        for (int i = 0; i < state.range(0); ++i) {
            devices.push_back(
                std::make_unique<bench::DeviceProcess>(QStringList{QStringLiteral("--paced")}));
            arguments << devices.back()->terminal;
        }
        state.ResumeTiming();
        if (!runCli(arguments))
            state.SkipWithError("a port failed");
    }
}

} // namespace

BENCHMARK(Provision)->Arg(1)->Arg(4)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

int main(int argc, char **argv) {
    return bench::runBenchmarks<QCoreApplication>(argc, argv);
}
