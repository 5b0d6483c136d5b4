#pragma once

#include <QString>

class NumberTable;

// The checks a number list passes before its save sends anything. Each gives the message to
// show, or an empty text when the list passes.
namespace NumberListCheck {

// Every entry with a number, neither deleted nor Always, needs all four window cells.
QString windows(const NumberTable &table);
// Every row that is written must be one the device holds as typed: a number of "+" and digits
// (at most 22), real dates and times. Anything else would authorize another number or stop the
// save half-way with a mixed list on the device.
QString deviceValues(const NumberTable &table);

} // namespace NumberListCheck
