// Finding numbers in a full number list, as every keystroke in the number page's find field
// does: 3000 entries, each with a 13-digit number, searched for one to six typed digits.
// The field must keep up with typing: one search well under 5 ms.
#include "numbers/NumberFind.h"
#include "numbers/NumberTable.h"

#include <benchmark/benchmark.h>

namespace {

void FindNumber(benchmark::State &state) {
    NumberTable table;
    for (int r = 1; r <= NumberTable::EntryCount; ++r)
        table.setCell(NumberTable::Number, r,
                      QStringLiteral("+86138%1").arg(r * 7919 % 10000000, 7, 10, QChar(u'0')));
    const QString typed = QStringLiteral("138001").left(int(state.range(0)));
    qsizetype found = 0;
    for (auto _ : state) {
        const QList<int> rows = NumberFind::matchingRows(table, typed);
        found = rows.size();
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["matches"] = double(found);
}
BENCHMARK(FindNumber)->Arg(1)->Arg(3)->Arg(6)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
