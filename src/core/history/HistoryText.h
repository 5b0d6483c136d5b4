#pragma once

#include <QString>
#include <optional>

// The conversions the history's cell texts go through when records are kept, dropped or sorted
// by their date and time. They read parts of a text the way the grid's own string routines do,
// so a part that is not a whole number is told apart from one that is.
namespace HistoryText {

// Up to `count` characters from the 1-based position `from`; a start before the text begins at
// its first character, one after its end gives nothing.
QString copy(const QString &text, int from, int count);
// A whole number as text: leading blanks, an optional sign, then decimal digits or "$"/"0x"
// and hexadecimal digits, and nothing after them.
std::optional<int> toInt(const QString &text);
// What the operator is told about a text that is not a whole number.
QString notAnInteger(const QString &text);

} // namespace HistoryText
