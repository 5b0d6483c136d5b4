// The number list's files, 3001 rows of 8 cells: the workbook export (table to file on disk), the
// import (file through the row check into the table), the CSV export, and the workbook reader's
// own read of the exported file.
#include "BenchMain.h"
#include "SilentOperator.h"
#include "exchange/WorkbookReader.h"
#include "numbers/NumberListExchange.h"
#include "numbers/NumberTable.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

constexpr int Rows = 3001;
constexpr int Columns = 8;

// The displays cost what a window's cost to feed, without a window; a message is a failure.
class FailOnMessage : public bench::SilentOperator {
public:
    void message(const QString &text, const QString &, Icon, const QString &) override {
        qFatal("%s", qPrintable(text));
    }
};

// A full list: every entry with a number and a window, every seventh Always.
void fill(NumberTable &table) {
    for (int r = 1; r < Rows; ++r) {
        const bool always = r % 7 == 0;
        table.setCell(NumberTable::Number, r, QStringLiteral("+49301%1").arg(r, 6, 10, QChar('0')));
        if (!always) {
            table.setCell(NumberTable::StartDate, r, QStringLiteral("2024/05/17"));
            table.setCell(NumberTable::StartTime, r, QStringLiteral("08:00"));
            table.setCell(NumberTable::EndDate, r, QStringLiteral("2024/12/31"));
            table.setCell(NumberTable::EndTime, r, QStringLiteral("18:00"));
        }
        table.setCell(NumberTable::Always, r,
                      always ? QStringLiteral("yes") : QStringLiteral("no"));
    }
}

struct Fixture {
    QTemporaryDir dir;
    FailOnMessage op;
    Tprogressbar_ctrl progress{op};
    Tstatusbar_ctrl status{op, progress};
    NumberTable table;
    Fixture() { fill(table); }
    NumberListExchange exchange(NumberTable &t) {
        return NumberListExchange(t, op, status, progress, dir.path());
    }
    QString workbook() {
        const QString path = dir.filePath(QStringLiteral("list.xlsx"));
        return exchange(table).saveWorkbook(path) ? path : QString();
    }
};

void BM_ExportListWorkbook(benchmark::State &state) {
    Fixture f;
    const QString path = f.dir.filePath(QStringLiteral("out.xlsx"));
    for (auto _ : state)
        benchmark::DoNotOptimize(f.exchange(f.table).saveWorkbook(path));
}
BENCHMARK(BM_ExportListWorkbook)->Unit(benchmark::kMillisecond);

void BM_ImportListWorkbook(benchmark::State &state) {
    Fixture f;
    const QString path = f.workbook();
    for (auto _ : state) {
        state.PauseTiming();
        NumberTable target;
        state.ResumeTiming();
        benchmark::DoNotOptimize(f.exchange(target).loadWorkbook(path));
    }
}
BENCHMARK(BM_ImportListWorkbook)->Unit(benchmark::kMillisecond);

void BM_ExportListCsv(benchmark::State &state) {
    Fixture f;
    const QString path = f.dir.filePath(QStringLiteral("out.cvs"));
    for (auto _ : state)
        benchmark::DoNotOptimize(f.exchange(f.table).saveCsv(path));
}
BENCHMARK(BM_ExportListCsv)->Unit(benchmark::kMillisecond);

void BM_ReadNumberListWorkbook(benchmark::State &state) {
    Fixture f;
    const QString path = f.workbook();
    for (auto _ : state) {
        WorkbookReader reader;
        if (!reader.open(path))
            state.SkipWithError("open failed");
        qsizetype characters = 0;
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= Columns; ++c)
                characters += reader.displayedText(r, c).size() + reader.valueText(r, c).size();
        benchmark::DoNotOptimize(characters);
    }
}
BENCHMARK(BM_ReadNumberListWorkbook)->Unit(benchmark::kMillisecond);

} // namespace

// The status display runs its clearing timer, which needs an application object.
int main(int argc, char **argv) {
    return bench::runBenchmarks<QCoreApplication>(argc, argv);
}
