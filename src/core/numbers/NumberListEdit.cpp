#include "numbers/NumberListEdit.h"

#include "numbers/NumberTable.h"

namespace {

// The first entry row whose number cell satisfies `fits`, or 0.
template <typename Fits> int firstRow(const NumberTable &table, Fits fits) {
    for (int r = 1; r <= NumberTable::EntryCount; ++r)
        if (fits(table.cell(NumberTable::Number, r)))
            return r;
    return 0;
}

} // namespace

namespace NumberListEdit {

int add(NumberTable &table, const QString &number, const std::optional<Window> &window) {
    int row = firstRow(table, [&](const QString &held) { return held == number; });
    if (row == 0)
        row = firstRow(table, [](const QString &held) { return held.isEmpty(); });
    if (row == 0)
        return 0;
    table.setCell(NumberTable::Number, row, number);
    table.setCell(NumberTable::Delete, row, QStringLiteral("no"));
    if (window) {
        table.setCell(NumberTable::Always, row, QStringLiteral("no"));
        table.setCell(NumberTable::StartDate, row, window->start.date);
        table.setCell(NumberTable::StartTime, row, window->start.time);
        table.setCell(NumberTable::EndDate, row, window->end.date);
        table.setCell(NumberTable::EndTime, row, window->end.time);
    } else if (table.cell(NumberTable::Always, row) != QLatin1String("yes")) {
        table.toggleMark(NumberTable::Always, row);
    }
    return row;
}

int remove(NumberTable &table, const QString &number) {
    int held = 0;
    for (int r = 1; r <= NumberTable::EntryCount; ++r) {
        if (table.cell(NumberTable::Number, r) != number)
            continue;
        ++held;
        if (table.cell(NumberTable::Delete, r) != QLatin1String("yes"))
            table.toggleMark(NumberTable::Delete, r);
    }
    return held;
}

} // namespace NumberListEdit
