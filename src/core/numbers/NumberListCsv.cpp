#include "numbers/NumberListCsv.h"

#include "exchange/CodePage.h"
#include "exchange/CsvLine.h"
#include "exchange/SheetCells.h"
#include "numbers/NumberTable.h"

#include <algorithm>

namespace {

// Nearly every cell is ASCII (serials, numbers, dates, "yes"/"no"), which every 8-bit code page
// holds as it is; only the rest goes through the converter, which is slow to set up per cell.
QByteArray bytes(const QString &text, const CodePage &codePage) {
    const bool ascii =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    return ascii ? text.toLatin1() : codePage.encode(text);
}

QString text(const QByteArray &bytes, const CodePage &codePage) {
    const bool ascii = std::all_of(bytes.cbegin(), bytes.cend(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? QString::fromLatin1(bytes) : codePage.decode(bytes);
}

} // namespace

namespace NumberListCsv {

QByteArray build(const NumberTable &table, const CodePage &codePage,
                 const std::function<void(int line)> &lineDone) {
    QByteArray out;
    out.reserve(NumberTable::EntryCount * 64);
    QList<QByteArray> fields(10);
    for (int r = 1; r <= NumberTable::EntryCount; ++r) {
        for (int c = 0; c < NumberTable::ColumnCount; ++c)
            fields[c] = bytes(table.cell(c, r), codePage);
        out += CsvLine::line(fields);
        if (lineDone)
            lineDone(r);
    }
    out += "3001,,,,,,,,,\r\n";
    if (lineDone)
        lineDone(LineCount);
    return out;
}

bool read(const QByteArray &csv, const CodePage &codePage, SheetCells &sheet) {
    QList<QList<QByteArray>> lines;
    if (!CsvLine::parse(csv, lines) || lines.size() > LineCount)
        return false;
    const auto fieldCount = [](const QList<QByteArray> &fields) {
        return fields.size() >= 8 && fields.size() <= 10;
    };
    if (!std::all_of(lines.cbegin(), lines.cend(), fieldCount))
        return false;
    SheetCells cells;
    cells.reserve(lines.size() * 4);
    for (qsizetype k = 0; k < lines.size(); ++k)
        for (qsizetype j = 0; j < lines[k].size(); ++j)
            cells.setText(int(k) + 2, int(j) + 1, text(lines[k][j], codePage));
    sheet.swap(cells);
    return true;
}

} // namespace NumberListCsv
