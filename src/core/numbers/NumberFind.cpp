#include "numbers/NumberFind.h"

#include "numbers/NumberTable.h"

#include <algorithm>

namespace NumberFind {

QList<int> matchingRows(const NumberTable &table, const QString &digits) {
    QList<int> rows;
    const QString wanted = digits.trimmed();
    if (wanted.isEmpty())
        return rows;
    for (int r = 1; r <= NumberTable::EntryCount; ++r)
        if (table.cell(NumberTable::Number, r).contains(wanted))
            rows << r;
    return rows;
}

int nextAfter(const QList<int> &rows, int current) {
    if (rows.isEmpty())
        return -1;
    const auto next = std::upper_bound(rows.cbegin(), rows.cend(), current);
    return next == rows.cend() ? rows.first() : *next;
}

} // namespace NumberFind
