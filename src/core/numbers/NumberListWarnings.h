#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

class NumberTable;

// What the review before a number-list save points out without stopping the save: the device
// takes these entries as they stand, but they are seldom what the operator meant. Nothing here
// changes the list.
namespace NumberListWarnings {

// An entry the save writes (it has a number and is not marked Delete) whose validity window
// ended before `now`.
bool isExpired(const NumberTable &table, int row, const QDateTime &now);
// The same for a row given by its cells (a view's row, whatever its order): `cell` answers the
// text of a NumberTable column.
bool isExpired(const std::function<QString(int column)> &cell, const QDateTime &now);
// One line per finding: numbers held by two or more entries, expired entries, and a list that
// writes some numbers with the "+" country code and some without.
QStringList of(const NumberTable &table, const QDateTime &now);
// `details` with the findings added as a group of their own; unchanged when there are none.
QString addTo(const QString &details, const NumberTable &table, const QDateTime &now);

} // namespace NumberListWarnings
