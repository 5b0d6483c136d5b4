// 375 page reads, as many as the number list has pages, through the tool's real receive path and
// serial link against velmora-devsim in a process of its own, so that the CPU measured here is
// the tool's alone (main, reader and writer threads). The number list has no codec yet: each
// reply is decoded into a settings table instead, pages 1 and 2 in turn, as the settings read
// does. Paced, the device takes every request and sends every reply at 115200 baud, and the total
// is set against the wire time: 375 x (9 + 265) bytes x 10 bits / 115200 = 8.92 s.
#include "FactoryImage.h"
#include "Session.h"
#include "exchange/CodePage.h"
#include "operator/Operator.h"
#include "protocol/CommandCodes.h"
#include "protocol/TDataPackage.h"
#include "protocol/Tsend_rec_command.h"
#include "settings/SettingsArea.h"
#include "settings/SettingsTable.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <time.h>

namespace {

constexpr int Pages = 375;
constexpr double WireSeconds = Pages * (9.0 + 265.0) * 10.0 / 115200.0;

class SilentOperator : public Operator {
public:
    void setStatusText(const QString &) override {}
    void setProgressPosition(int) override {}
    void setProgressVisible(bool) override {}
    void message(const QString &, const QString &, Icon, const QString &) override {}
    bool confirm(const QString &, const QString &, const QString &, const QString &,
                 Icon) override {
        return true;
    }
    bool warnOkCancel(const QString &, const QString &) override { return true; }
    QString chooseSaveFile(const QString &, const QString &, const QString &,
                           const QString &) override {
        return {};
    }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override {
        return {};
    }
};

// velmora-devsim as built; the first line it prints is the terminal it serves.
class DeviceProcess {
public:
    explicit DeviceProcess(const QStringList &arguments) {
        process.start(QStringLiteral(VELMORA_DEVSIM_EXE), arguments);
        if (process.waitForStarted())
            while (!process.canReadLine() && process.waitForReadyRead(10000)) {
            }
        terminal = QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    ~DeviceProcess() {
        process.terminate();
        process.waitForFinished();
    }

    QString terminal; // empty when the device did not start

private:
    QProcess process;
};

// Reads the settings pages in turn, each request sent from the handling of the previous reply.
class DecodedPages : public Tsend_rec_command {
public:
    explicit DecodedPages(Session &session)
        : Tsend_rec_command(session.requests())
        , session(session) {}
    bool read() {
        if (!start(Pages))
            return false;
        RequestNext();
        return true;
    }
    void RequestNext() override {
        advance(
            [this](uint16_t p) {
                sender.send(CommandCodes::ReadPage, p % 2 ? 0x000 : 0x100,
                            QStringLiteral("Read settings"));
            },
            [this] { session.outcome().completed(); });
    }
    void DecodeReply() override {
        if (ReplyAddress == 0x000)
            area.decodePage1(ReplyData, CodePage::current());
        else
            area.decodePage2(ReplyData, CodePage::current());
        RequestNext();
    }

private:
    Session &session;
    SettingsTable table;
    SettingsArea area{table};
};

double cpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void PagedReadChain(benchmark::State &state) {
    const bool paced = state.range(0) != 0;
    DeviceProcess device(paced ? QStringList{"--paced"} : QStringList{});
    if (device.terminal.isEmpty()) {
        state.SkipWithError("velmora-devsim did not start");
        return;
    }
    SilentOperator op;
    Session session(op);
    session.cm1().setCommName(device.terminal);
    try {
        session.cm1().OpenPort();
    } catch (const ECommsError &e) {
        state.SkipWithError(e.what());
        return;
    }
    DecodedPages pages(session);
    session.setBasicTransfer(&pages);
    QEventLoop loop;
    bool ok = false;
    QObject::connect(&session.outcome(), &OperationOutcome::ended, &loop, [&](bool success) {
        ok = success;
        loop.quit();
    });

    double wall = 0;
    double processCpu = 0;
    double mainCpu = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double processStart = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        const double mainStart = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        ok = false;
        if (pages.read())
            loop.exec();
        if (!ok) {
            state.SkipWithError("the read did not complete");
            break;
        }
        mainCpu += cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - mainStart;
        processCpu += cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processStart;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double exchanges = double(state.iterations()) * Pages;
    state.counters["us_per_exchange"] = wall / exchanges * 1e6;
    state.counters["tool_cpu_us_per_exchange"] = processCpu / exchanges * 1e6;
    state.counters["main_cpu_us_per_exchange"] = mainCpu / exchanges * 1e6;
    if (paced)
        state.counters["wire_ratio"] = wall / exchanges * Pages / WireSeconds;
}

// The receive path and the decoding alone, fed the replies byte by byte as the link delivers
// them: the main thread's share of an exchange without the link's threads.
void ReceivePathOnly(benchmark::State &state) {
    SilentOperator op;
    Session session(op);
    DecodedPages pages(session);
    session.setBasicTransfer(&pages);
    QList<QByteArray> replies;
    for (int p = 1; p <= Pages; ++p) {
        TDataPackage reply;
        reply.SetCommand(CommandCodes::ReadPage);
        reply.SetLength(256);
        reply.SetAddress(p % 2 ? 0x000 : 0x100);
        reply.SetData(p % 2 ? FactoryImage::settingsPage1("7482") : QByteArray(256, char(0xFF)));
        reply.BuildFrame();
        replies << reply.frameBytes();
    }
    ReceivePath &path = session.receivePath();
    double cpu = 0;
    for (auto _ : state) {
        const double cpuStart = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        if (!pages.read()) {
            state.SkipWithError("another operation is running");
            break;
        }
        for (const QByteArray &r : replies)
            for (char c : r)
                path.cm1ReceiveData(nullptr, &c, 1);
        cpu += cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
    }
    state.counters["cpu_us_per_exchange"] = cpu / double(state.iterations()) / Pages * 1e6;
}

double minimum(const std::vector<double> &v) {
    return *std::min_element(v.begin(), v.end());
}

double maximum(const std::vector<double> &v) {
    return *std::max_element(v.begin(), v.end());
}

} // namespace

BENCHMARK(ReceivePathOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(PagedReadChain)
    ->ArgName("paced")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(10)
    ->ComputeStatistics("min", minimum)
    ->ComputeStatistics("max", maximum)
    ->ReportAggregatesOnly()
    ->UseRealTime();

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
