// The number list's 375 pages through the tool's real receive path and serial link against
// velmora-devsim in a process of its own, so that the CPU measured here is the tool's alone
// (main, reader and writer threads), each reply decoded into the number table. Paced, the
// device takes every request and sends every reply at 115200 baud, and the total is set against
// the wire time of the same work: a read is 375 x (9 + 265) bytes, a save of every page
// 375 x (265 + 10) bytes and its read-back 375 x (9 + 265), 10 bits each. With the window's number
// grid attached (offscreen), the read shows whether updating the view costs anything.
#include "BenchDevice.h"
#include "NumberPage.h"
#include "Session.h"
#include "numbers/NumberTable.h"
#include "numbers/TtelephoneSend.h"
#include "protocol/CommandCodes.h"
#include "protocol/TDataPackage.h"

#include <QApplication>
#include <QEventLoop>
#include <chrono>
#include <memory>

namespace {

using namespace bench;

constexpr int Pages = 375;
constexpr double ReadWireSeconds = Pages * (9.0 + 265.0) * 10.0 / 115200.0;
constexpr double SaveWireSeconds = Pages * (265.0 + 10.0 + 9.0 + 265.0) * 10.0 / 115200.0;

enum class Work { Read, Save, ReadIntoView };

void NumberList(benchmark::State &state, Work work) {
    const bool paced = state.range(0) != 0;
    DeviceSession rig(paced ? QStringList{"--paced"} : QStringList{});
    if (!rig.portOpenOrSkip(state))
        return;
    Session &session = rig.session;
    NumberTable table;
    TtelephoneSend numbers(session, table);
    session.setNumberListTransfer(&numbers);
    // Every save writes every page, though the device holds the table after the first.
    numbers.setWriteAllPages(true);
    std::unique_ptr<NumberPage> page;
    if (work == Work::ReadIntoView) {
        page = std::make_unique<NumberPage>(table);
        page->resize(954, 560);
        page->show();
    }

    double wall = 0;
    double processCpu = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double processStart = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        const bool ok = runOperation(session, [&] {
            if (work == Work::Save)
                numbers.SaveList();
            else
                numbers.StartRead();
        });
        if (!ok) {
            state.SkipWithError("the transfer did not complete");
            break;
        }
        processCpu += cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processStart;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double runs = double(state.iterations());
    state.counters["ms_per_transfer"] = wall / runs * 1e3;
    state.counters["tool_cpu_us_per_exchange"] = processCpu / runs / Pages * 1e6;
    if (paced)
        state.counters["wire_ratio"] =
            wall / runs / (work == Work::Save ? SaveWireSeconds : ReadWireSeconds);
}

// The receive path and the decoding alone, fed the replies byte by byte as the link delivers
// them: the main thread's share of an exchange without the link's threads.
void ReceivePathOnly(benchmark::State &state) {
    SilentOperator op;
    Session session(op);
    NumberTable table;
    TtelephoneSend numbers(session, table);
    session.setNumberListTransfer(&numbers);
    QList<QByteArray> replies;
    for (int p = 1; p <= Pages; ++p) {
        TDataPackage reply;
        reply.SetCommand(CommandCodes::ReadPage);
        reply.SetLength(256);
        reply.SetAddress(TtelephoneSend::pageAddress(uint16_t(p)));
        QByteArray records;
        for (int k = 0; k < 8; ++k)
            records += QByteArray("+4930123456") + QByteArray(11, '\0') +
                       QByteArray::fromHex("0101080005050c1e1a1b");
        reply.SetData(records);
        reply.BuildFrame();
        replies << reply.frameBytes();
    }
    ReceivePath &path = session.receivePath();
    double cpu = 0;
    for (auto _ : state) {
        const double cpuStart = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        numbers.StartRead();
        for (const QByteArray &r : replies)
            for (char c : r)
                path.cm1ReceiveData(nullptr, &c, 1);
        cpu += cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
        if (session.outcome().running()) {
            state.SkipWithError("the read did not complete");
            break;
        }
    }
    state.counters["cpu_us_per_exchange"] = cpu / double(state.iterations()) / Pages * 1e6;
}

void repeated(benchmark::internal::Benchmark *b) {
    b->ArgName("paced")
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Apply(tenRepetitions)
        ->UseRealTime();
}

} // namespace

BENCHMARK(ReceivePathOnly)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NumberList, read, Work::Read)->Arg(0)->Arg(1)->Apply(repeated);
BENCHMARK_CAPTURE(NumberList, save, Work::Save)->Arg(0)->Arg(1)->Apply(repeated);
BENCHMARK_CAPTURE(NumberList, read_into_view, Work::ReadIntoView)->Arg(0)->Apply(repeated);

int main(int argc, char **argv) {
    offscreenUnlessAsked();
    return runBenchmarks<QApplication>(argc, argv);
}
