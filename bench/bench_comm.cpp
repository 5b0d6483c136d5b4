// Cost of the serial link's receive hot path: a 265-byte page reply from the wire to the
// handler, one byte per OnReceiveData call, on pseudo-terminals (no wire time).
#include "SimulatedDevice.h"
#include "protocol/TComm.h"
#include "protocol/TDataPackage.h"
#include "protocol/TRecData.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {

QCoreApplication &app() {
    static int argc = 1;
    static char name[] = "bench_comm";
    static char *argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

// A page read answered by the simulated device: request out, 265 bytes back, reassembled.
void pageReadRoundTrip(benchmark::State &state) {
    app();
    SimulatedDevice device;
    TComm comm;
    comm.setCommName(device.slavePath());
    comm.setBaudRate(115200);
    comm.OpenPort();
    TRecData rec;
    QEventLoop loop;
    QObject::connect(&comm, &TComm::OnReceiveData, [&](TComm *, const char *b, quint16 n) {
        for (quint16 i = 0; i < n; ++i) {
            if (rec.feed(uint8_t(b[i])) == TRecData::Feed::Complete)
                loop.quit();
        }
    });
    TDataPackage request;
    request.SetCommand(0x83);
    request.SetLength(0);
    request.SetAddress(0x1000);
    request.BuildFrame();
    const QByteArray frame = request.frameBytes();
    for (auto _ : state) {
        comm.WriteData(frame.constData(), quint16(frame.size()));
        loop.exec();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(pageReadRoundTrip)->Unit(benchmark::kMicrosecond);

// The link alone: 265 bytes written into the far end of a pseudo-terminal until the last one
// reached the handler.
void replyDelivery(benchmark::State &state) {
    app();
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    TComm comm;
    comm.setCommName(QString::fromLocal8Bit(::ptsname(master)));
    comm.setBaudRate(115200);
    comm.OpenPort();
    const QByteArray reply(265, 'x');
    qsizetype got = 0;
    QEventLoop loop;
    QObject::connect(&comm, &TComm::OnReceiveData, [&](TComm *, const char *, quint16 n) {
        got += n;
        if (got == reply.size())
            loop.quit();
    });
    for (auto _ : state) {
        got = 0;
        if (::write(master, reply.constData(), size_t(reply.size())) != reply.size()) {
            state.SkipWithError("short write");
            break;
        }
        loop.exec();
    }
    comm.ClosePort();
    ::close(master);
}
BENCHMARK(replyDelivery)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
