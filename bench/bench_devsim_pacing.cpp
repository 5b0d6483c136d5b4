// How closely the simulated device keeps to a 115200-baud line when pacing: page reads in
// stop-and-wait, total time against the time the request and reply bytes need on the wire.
#include "SimulatedDevice.h"
#include "protocol/TDataPackage.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int PageRequest = 9;
constexpr int PageReply = 256 + 9;
constexpr double ByteSeconds = 10.0 / 115200.0;

bool readExactly(int fd, int count) {
    char buffer[512];
    while (count > 0) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 3000) <= 0)
            return false;
        const ssize_t n = ::read(fd, buffer, std::min<size_t>(sizeof buffer, size_t(count)));
        if (n <= 0)
            return false;
        count -= int(n);
    }
    return true;
}

void PacedPageReads(benchmark::State &state) {
    const int pages = int(state.range(0));
    DeviceOptions options;
    options.faults.paced = true;
    SimulatedDevice device(options);
    const int fd = ::open(device.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);

    double worst = 0;
    double best = 1e9;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int p = 0; p < pages; ++p) {
            TDataPackage request;
            request.SetCommand(0x83);
            request.SetLength(0);
            request.SetAddress(0x30000 + 256 * (p % 500));
            request.BuildFrame();
            if (::write(fd, request.frame, size_t(request.FrameSize)) != request.FrameSize ||
                !readExactly(fd, PageReply)) {
                state.SkipWithError("the device did not answer");
                break;
            }
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        const double ratio = elapsed.count() / (pages * (PageRequest + PageReply) * ByteSeconds);
        worst = std::max(worst, ratio);
        best = std::min(best, ratio);
    }
    state.counters["wire_ratio_best"] = best;
    state.counters["wire_ratio_worst"] = worst;
    ::close(fd);
}

} // namespace

BENCHMARK(PacedPageReads)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
