#pragma once

#include <QList>
#include <QString>

class NumberTable;

// Finding entries of the number list by a piece of their number, as the operator types it into the
// number page's find field.
namespace NumberFind {

// The entry rows (1..3000) whose number contains `digits` (blanks around them aside), in slot
// order; none for an empty text.
QList<int> matchingRows(const NumberTable &table, const QString &digits);

// The first of the ascending `rows` after `current`, or the first of them when none is (the search
// wraps round); -1 when there are none.
int nextAfter(const QList<int> &rows, int current);

} // namespace NumberFind
