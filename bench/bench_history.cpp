// The history: the 500-page read through the tool's real receive path and serial link against
// velmora-devsim in a process of its own, holding 1000 events. Paced, the device takes every
// request and sends every reply at 115200 baud, and the read is set against the wire time of
// 500 x (9 + 265) bytes, 10 bits each; unpaced, the history page's grid is attached (offscreen).
// Then the work on a full table: the filter, the workbook and the CSV file (written to tmpfs).
#include "BenchDevice.h"
#include "HistoryPage.h"
#include "Session.h"
#include "history/HistoryExport.h"
#include "history/HistoryFilter.h"
#include "history/HistoryTable.h"
#include "history/THistoryInf.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <chrono>
#include <memory>

namespace {

using namespace bench;

constexpr int Pages = 500;
constexpr double ReadWireSeconds = Pages * (9.0 + 265.0) * 10.0 / 115200.0;

void HistoryRead(benchmark::State &state) {
    const bool paced = state.range(0) != 0;
    DeviceSession rig(paced ? QStringList{"--paced", "--history", "1000"}
                            : QStringList{"--history", "1000"});
    if (!rig.portOpenOrSkip(state))
        return;
    Session &session = rig.session;
    HistoryTable table;
    THistoryInf history(session, table);
    session.setHistoryTransfer(&history);
    std::unique_ptr<HistoryPage> page;
    if (!paced) {
        page = std::make_unique<HistoryPage>(table);
        page->resize(954, 560);
        page->show();
    }
    double wall = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const bool ok = runOperation(session, [&] { history.StartRead(); });
        if (!ok || table.cell(HistoryTable::RecordNo, 1000) != QLatin1String("1000")) {
            state.SkipWithError("the read did not complete");
            break;
        }
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    if (paced)
        state.counters["wire_ratio"] = wall / double(state.iterations()) / ReadWireSeconds;
}

// 1000 events, stamped out of order a few minutes apart, with an event text on each.
void fillTable(HistoryTable &table) {
    for (int r = 1; r <= HistoryTable::RecordCount; ++r) {
        const int minutes = (r * 7919) % 100000;
        const QDateTime at = QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addSecs(minutes * 60);
        table.setCell(HistoryTable::RecordNo, r, QString::number(r));
        table.setCell(HistoryTable::Date, r, at.toString("yyyy-MM-dd"));
        table.setCell(HistoryTable::Time, r, at.toString("HH:mm:ss"));
        table.setCell(HistoryTable::From, r, QStringLiteral("SMS"));
        table.setCell(HistoryTable::Action, r, QStringLiteral("Relay ON"));
        table.setCell(HistoryTable::Executant, r, QStringLiteral("+8613800138000"));
        table.setCell(HistoryTable::Content, r, QStringLiteral("Relay switched on, gate 2"));
    }
}

void FilterRows(benchmark::State &state) {
    HistoryTable full;
    fillTable(full);
    QList<QStringList> rows;
    for (int r = 1; r <= HistoryTable::RecordCount; ++r)
        rows << full.recordTexts(r);
    HistoryTable table;
    const HistoryWindow window{QDate(2015, 3, 3), QTime(0, 0), QDate(2027, 1, 1), QTime(0, 0)};
    for (auto _ : state) {
        state.PauseTiming();
        table.replaceRecords(rows);
        state.ResumeTiming();
        if (!HistoryFilter::apply(table, window).filtered) {
            state.SkipWithError("nothing filtered");
            break;
        }
    }
}

void Export(benchmark::State &state) {
    const bool workbook = state.range(0) != 0;
    SilentOperator op;
    Tprogressbar_ctrl progress(op);
    Tstatusbar_ctrl status(op, progress);
    HistoryTable table;
    fillTable(table);
    HistoryExport files(table, status, progress);
    // In memory when there is a tmpfs: the flush to disk that makes the file's replacement safe
    // is the disk's time, not the export's.
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    QTemporaryDir dir(base + QStringLiteral("/bench_history-XXXXXX"));
    const QString path = dir.filePath(workbook ? "h.xlsx" : "h.cvs");
    for (auto _ : state) {
        const Result<void> written = workbook ? files.writeWorkbook(path) : files.writeCsv(path);
        if (!written) {
            state.SkipWithError(qPrintable(written.reason()));
            break;
        }
    }
}

void repeated(benchmark::internal::Benchmark *b) {
    b->Unit(benchmark::kMillisecond)->Apply(tenRepetitions);
}

} // namespace

BENCHMARK(HistoryRead)
    ->ArgName("paced")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseRealTime()
    ->Apply(repeated);
BENCHMARK(FilterRows)->Apply(repeated);
BENCHMARK(Export)->ArgName("workbook")->Arg(0)->Arg(1)->Apply(repeated);

int main(int argc, char **argv) {
    offscreenUnlessAsked();
    return runBenchmarks<QApplication>(argc, argv);
}
