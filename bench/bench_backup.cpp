// What the backup adds to a save: the whole area as last read, written as the export writes it,
// and the pruning of the folder. The number list is full (3000 entries), the worst case; the
// budget is 50 ms per save.
#include "BenchMain.h"
#include "numbers/NumberSaveGuard.h"
#include "operator/QuietOperator.h"
#include "protocol/OperationOutcome.h"
#include "settings/SettingsSaveGuard.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

void fullList(NumberTable &table) {
    for (int r = 1; r <= NumberTable::EntryCount; ++r) {
        table.setCell(NumberTable::Number, r,
                      QStringLiteral("+86139%1").arg(r, 8, 10, QChar(u'0')));
        table.setCell(NumberTable::StartDate, r, QStringLiteral("2024/05/17"));
        table.setCell(NumberTable::StartTime, r, QStringLiteral("08:00"));
        table.setCell(NumberTable::EndDate, r, QStringLiteral("2025/05/17"));
        table.setCell(NumberTable::EndTime, r, QStringLiteral("18:00"));
    }
}

template <typename Guard, typename Table> void backup(benchmark::State &state, Table &table) {
    QTemporaryDir dir;
    QuietOperator op;
    OperationOutcome outcome(op);
    Guard guard(op, table);
    guard.setBackupFolder(dir.path());
    guard.deviceMatchesTable();
    for (auto _ : state) {
        if (!guard.backupBeforeSave(outcome))
            state.SkipWithError("the backup failed");
    }
}

void NumberListBackup(benchmark::State &state) {
    NumberTable table;
    fullList(table);
    backup<NumberSaveGuard>(state, table);
}

void SettingsBackup(benchmark::State &state) {
    SettingsTable table;
    backup<SettingsSaveGuard>(state, table);
}

} // namespace

BENCHMARK(NumberListBackup)->Unit(benchmark::kMillisecond);
BENCHMARK(SettingsBackup)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
    return bench::runBenchmarks<QCoreApplication>(argc, argv);
}
