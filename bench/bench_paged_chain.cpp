// A number-list read of 375 pages through the tool's real receive path and serial link against
// the simulated device on a pseudo-terminal: unpaced, the time per exchange is the tool's own
// overhead (plus the device's); paced at 115200 baud, the total is set against the time the
// bytes need on the wire (375 x 274 bytes x 10 bits / 115200 = 8.92 s).
#include "Session.h"
#include "SimulatedDevice.h"
#include "operator/Operator.h"
#include "protocol/OperationOutcome.h"
#include "protocol/RequestSender.h"
#include "protocol/TDataPackage.h"
#include "protocol/Tsend_rec_command.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr int Pages = 375;
constexpr double WireSeconds = Pages * (265.0 + 9.0) * 10.0 / 115200.0;
// Process CPU per exchange of the bare client run (the device's share), measured first; 0 when
// it was filtered out.
double bareCpuMicroseconds = 0;

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

// Reads the number list pages one after the other, as the number list transfer does.
class NumberPages : public Tsend_rec_command {
public:
    NumberPages(RequestSender &sender, QEventLoop &loop)
        : Tsend_rec_command(sender)
        , loop(loop) {}
    void read() {
        if (start(Pages))
            RequestNext();
    }
    void RequestNext() override {
        advance(
            [this](uint16_t p) {
                sender.send(0x83, 0xF00 + 256 * p,
                            QStringLiteral("Reading telephone number information"));
            },
            [this] {
                done = true;
                sender.operation().completed();
                loop.quit();
            });
    }
    void DecodeReply() override { RequestNext(); }

    bool done = false;

private:
    QEventLoop &loop;
};

double cpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void NumberListRead(benchmark::State &state) {
    const bool paced = state.range(0) != 0;
    DeviceOptions options;
    options.faults.paced = paced;
    SimulatedDevice device(options);
    SilentOperator op;
    Session session(op);
    session.cm1().setCommName(device.slavePath());
    session.cm1().OpenPort();
    QEventLoop loop;
    NumberPages pages(session.requests(), loop);
    session.setNumberListTransfer(&pages);

    double wall = 0;
    double cpu = 0;
    double processCpu = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        const double processStart = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        pages.done = false;
        pages.read();
        loop.exec();
        if (!pages.done) {
            state.SkipWithError("the read did not complete");
            break;
        }
        cpu += cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
        processCpu += cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processStart;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double runs = double(state.iterations());
    state.counters["us_per_exchange"] = wall / runs / Pages * 1e6;
    state.counters["main_cpu_us_per_exchange"] = cpu / runs / Pages * 1e6;
    if (paced)
        state.counters["wire_ratio"] = wall / runs / WireSeconds;
    else if (bareCpuMicroseconds > 0)
        // Everything the tool's threads (main, reader, writer) spent beyond the device's share.
        state.counters["tool_cpu_us_per_exchange"] =
            processCpu / runs / Pages * 1e6 - bareCpuMicroseconds;
}

// The same exchanges from a bare client (blocking reads, no threads, no event loop): what the
// device and the pseudo-terminal cost on their own, to be taken off the figures above.
void BareClientRead(benchmark::State &state) {
    SimulatedDevice device;
    const int fd = ::open(device.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    char reply[512];
    double wall = 0;
    double processCpu = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double processStart = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        for (int p = 1; p <= Pages; ++p) {
            TDataPackage request;
            request.SetCommand(0x83);
            request.SetLength(0);
            request.SetAddress(0xF00 + 256 * p);
            request.BuildFrame();
            bool ok = ::write(fd, request.frame, size_t(request.FrameSize)) == request.FrameSize;
            for (int got = 0; ok && got < 265;) {
                pollfd pfd{fd, POLLIN, 0};
                const ssize_t n = ::poll(&pfd, 1, 3000) > 0 ? ::read(fd, reply, 265 - got) : -1;
                ok = n > 0;
                got += int(n);
            }
            if (!ok) {
                state.SkipWithError("the device did not answer");
                ::close(fd);
                return;
            }
        }
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        processCpu += cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processStart;
    }
    const double runs = double(state.iterations());
    bareCpuMicroseconds = processCpu / runs / Pages * 1e6;
    state.counters["us_per_exchange"] = wall / runs / Pages * 1e6;
    state.counters["process_cpu_us_per_exchange"] = bareCpuMicroseconds;
    ::close(fd);
}

// The receive path alone, fed the 375 replies byte by byte as the link delivers them: the main
// thread's share of an exchange without the link's threads.
void ReceivePathOnly(benchmark::State &state) {
    SilentOperator op;
    Session session(op);
    QEventLoop loop;
    NumberPages pages(session.requests(), loop);
    session.setNumberListTransfer(&pages);
    QList<QByteArray> replies;
    for (int p = 1; p <= Pages; ++p) {
        TDataPackage reply;
        reply.SetCommand(0x83);
        reply.SetLength(256);
        reply.SetAddress(0xF00 + 256 * p);
        reply.BuildFrame();
        replies << QByteArray(reinterpret_cast<const char *>(reply.frame), reply.FrameSize);
    }
    ReceivePath &path = session.receivePath();
    double cpu = 0;
    for (auto _ : state) {
        const double cpuStart = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        pages.read();
        for (const QByteArray &r : replies)
            for (char c : r)
                path.cm1ReceiveData(nullptr, &c, 1);
        cpu += cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
    }
    state.counters["cpu_us_per_exchange"] = cpu / double(state.iterations()) / Pages * 1e6;
}

} // namespace

BENCHMARK(ReceivePathOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BareClientRead)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(NumberListRead)
    ->ArgName("paced")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
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
