// Hostile workbooks against the number list's import: some 3 million cells packed into a few MB.
// "long" has a million rows of three cells, "wide" 3001 rows of a thousand cells, "sharedStrings"
// 3.5 million shared strings. The long one must be refused at the first row past the list, the
// wide one read without keeping the cells past the list's columns, the strings kept compactly.
// peak_rss_MiB is the peak resident size while reading.
#include "exchange/WorkbookReader.h"
#include "exchange/ZipWriter.h"
#include "numbers/NumberTable.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Every cell a different number, so that the part packs no better than a real one.
QByteArray sheetXml(int rows, int cellsPerRow) {
    QByteArray xml = "<worksheet><sheetData>";
    quint32 next = 12345;
    for (int r = 0; r < rows; ++r) {
        xml += "<row>";
        for (int c = 0; c < cellsPerRow; ++c) {
            next = next * 1103515245u + 12345u;
            xml += "<c><v>" + QByteArray::number(next % 10000) + "</v></c>";
        }
        xml += "</row>";
    }
    return xml + "</sheetData></worksheet>";
}

// The peak resident size since the last reset: the generator's own memory is not counted.
void resetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double peakMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

// With `strings`, a shared strings part of that many one-letter strings and a one-cell sheet.
QString hostileWorkbook(const QTemporaryDir &dir, int rows, int cellsPerRow, int strings = 0) {
    const QByteArray types = "<Types/>";
    const QByteArray rels = "<Relationships><Relationship Id=\"r1\" Type=\"x/officeDocument\" "
                            "Target=\"xl/workbook.xml\"/></Relationships>";
    const QByteArray workbook = "<workbook><sheets><sheet id=\"s1\"/></sheets></workbook>";
    const QByteArray workbookRels =
        "<Relationships><Relationship Id=\"s1\" Type=\"x/worksheet\" "
        "Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"s2\" Type=\"x/sharedStrings\" "
        "Target=\"sharedStrings.xml\"/></Relationships>";
    const QByteArray sheet = sheetXml(rows, cellsPerRow);
    const QByteArray sharedStrings =
        "<sst>" + QByteArray("<si><t>a</t></si>").repeated(strings) + "</sst>";
    ZipWriter zip;
    zip.add("[Content_Types].xml", types);
    zip.add("_rels/.rels", rels);
    zip.add("xl/workbook.xml", workbook);
    zip.add("xl/_rels/workbook.xml.rels", workbookRels);
    zip.add("xl/worksheets/sheet1.xml", sheet);
    zip.add("xl/sharedStrings.xml", sharedStrings);
    const Result<QByteArray> container = zip.finish();
    const QString path = dir.filePath(QStringLiteral("hostile.xlsx"));
    QFile file(path);
    if (!container || !file.open(QIODevice::WriteOnly) ||
        file.write(container.value()) != container.value().size())
        return {};
    return path;
}

// `refusal` is what the reader must say, empty when it must accept the file.
void readWithTheListLayout(benchmark::State &state, int rows, int cellsPerRow,
                           const QString &refusal, int strings = 0) {
    QTemporaryDir dir;
    const QString path = hostileWorkbook(dir, rows, cellsPerRow, strings);
    if (path.isEmpty())
        state.SkipWithError("cannot write the workbook");
    resetPeak();
    for (auto _ : state) {
        WorkbookReader reader({NumberTable::EntryCount + 1, NumberTable::ColumnCount,
                               QStringLiteral("the list holds more than 3000 entries")});
        const Result<void> opened = reader.open(path);
        if (opened.ok() != refusal.isEmpty() || !opened.reason().contains(refusal))
            state.SkipWithError(qPrintable(opened.reason()));
    }
    state.counters["file_MiB"] = double(QFile(path).size()) / (1024 * 1024);
    state.counters["peak_rss_MiB"] = peakMiB();
}

void BM_HostileWorkbook_long(benchmark::State &state) {
    readWithTheListLayout(state, 1000000, 3,
                          QStringLiteral("the list holds more than 3000 entries (cell A3002"));
}
BENCHMARK(BM_HostileWorkbook_long)->Unit(benchmark::kMillisecond);

void BM_HostileWorkbook_wide(benchmark::State &state) {
    readWithTheListLayout(state, 3001, 1000, QString());
}
BENCHMARK(BM_HostileWorkbook_wide)->Unit(benchmark::kMillisecond);

void BM_HostileWorkbook_sharedStrings(benchmark::State &state) {
    readWithTheListLayout(state, 1, 1, QString(), 3500000);
}
BENCHMARK(BM_HostileWorkbook_sharedStrings)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
