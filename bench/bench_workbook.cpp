// Writing and reading the number list workbook: 3001 rows of 8 text cells, each with the
// Text format, as the number list export writes it and the import reads it back.
#include "exchange/WorkbookReader.h"
#include "exchange/WorkbookWriter.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Rows = 3001;
constexpr int Columns = 8;

QString numberListCell(int row, int column) {
    static const QStringList heading = {"Serial",      "Authorized number", "Start Date",
                                        "Start Time ", "End Date",          "End Time",
                                        "Always(V)",   "Delete(V)"};
    if (row == 1)
        return heading.at(column - 1);
    switch (column) {
    case 1:
        return QString::number(row - 1);
    case 2:
        return QStringLiteral("+49301%1").arg(row, 6, 10, QChar('0'));
    case 3:
        return QStringLiteral("2024/05/17");
    case 4:
        return QStringLiteral("08:00");
    case 5:
        return QStringLiteral("2024/12/31");
    case 6:
        return QStringLiteral("18:00");
    default:
        return row % 7 == 0 ? QStringLiteral("yes") : QStringLiteral("no");
    }
}

bool writeNumberList(const QString &path) {
    WorkbookWriter writer;
    const double widths[] = {4, 20, 16, 16, 16, 16};
    for (int c = 1; c <= 6; ++c)
        writer.setColumnWidth(c, widths[c - 1]);
    for (int r = 1; r <= Rows; ++r) {
        for (int c = 1; c <= Columns; ++c) {
            writer.setTextFormat(r, c);
            writer.setCellText(r, c, numberListCell(r, c));
        }
    }
    return writer.saveAs(path);
}

void BM_WriteNumberListWorkbook(benchmark::State &state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.xlsx"));
    for (auto _ : state) {
        if (!writeNumberList(path))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_WriteNumberListWorkbook)->Unit(benchmark::kMillisecond);

void BM_ReadNumberListWorkbook(benchmark::State &state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.xlsx"));
    if (!writeNumberList(path)) {
        state.SkipWithError("save failed");
        return;
    }
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

BENCHMARK_MAIN();
