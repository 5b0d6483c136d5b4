// A save after a read writes only the pages whose bytes changed and reads them back. Against the
// simulated device paced at 115200 baud, every changed page costs a write (265 + 10 bytes) and a
// read-back (9 + 265 bytes), 23.8 ms each on the wire: the goal for one changed entry is 0.1 s,
// and a change spread over 100 pages should stay near 100 x 2 x 23.8 ms (wire_ratio near 1).
// The device (velmora-devsim --paced, a process of its own) is read once and saved once: a factory
// device holds erased pages, which differ from the bytes the tool writes for an empty slot, so the
// first save after the read rewrites every page. Every repetition then changes its entries to a
// new number.
#include "BenchDevice.h"
#include "Session.h"
#include "numbers/NumberTable.h"
#include "numbers/TtelephoneSend.h"

#include <QCoreApplication>
#include <chrono>
#include <memory>

namespace {

using namespace bench;

constexpr double PageExchangeSeconds = 274.5 * 10.0 / 115200.0;

struct Rig : DeviceSession {
    NumberTable table;
    TtelephoneSend numbers{session, table};
    bool ready = false;
    int round = 0;

    Rig()
        : DeviceSession({QStringLiteral("--paced")}) {
        session.setNumberListTransfer(&numbers);
        ready = !problem && runOperation(session, [&] { numbers.StartRead(); }) &&
                runOperation(session, [&] { numbers.SaveList(); });
    }
};

std::unique_ptr<Rig> rig;

// Entries 3000 / N apart, so that each lies on a page of its own.
void ChangedEntries(benchmark::State &state) {
    const int entries = int(state.range(0));
    if (!rig->ready) {
        state.SkipWithError("the device was not read");
        return;
    }
    double wall = 0;
    for (auto _ : state) {
        const QString number = QStringLiteral("+%1").arg(++rig->round);
        for (int i = 0; i < entries; ++i) {
            const int row = 1 + i * (NumberTable::EntryCount / entries);
            rig->table.setCell(NumberTable::Number, row, number);
            rig->table.setCell(NumberTable::Always, row, QStringLiteral("yes"));
        }
        const auto start = std::chrono::steady_clock::now();
        const bool ok = runOperation(rig->session, [] { rig->numbers.SaveList(); });
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) {
            state.SkipWithError("the save did not succeed");
            break;
        }
        state.SetIterationTime(seconds);
        wall += seconds;
    }
    const double runs = double(state.iterations());
    state.counters["ms_per_save"] = wall / runs * 1e3;
    state.counters["wire_ratio"] = wall / runs / (entries * 2 * PageExchangeSeconds);
}

} // namespace

BENCHMARK(ChangedEntries)
    ->ArgName("entries")
    ->Arg(1)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Apply(tenRepetitions)
    ->UseManualTime();

int main(int argc, char **argv) {
    return runBenchmarks<QCoreApplication>(argc, argv, [] {
        rig = std::make_unique<Rig>();
        runSelected();
        rig.reset();
    });
}
