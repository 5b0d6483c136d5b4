#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

// The validity window cells of the number list (Start Date .. End Time) as the pickers and the
// grid read them: by character positions, so a "2024-05-17" from a device read counts the same
// as the "2024/05/17" the pickers write.
namespace NumberWindowText {

// Year from characters 1-4, month from 6-7, day from the last two; none unless they are digits
// forming a calendar date.
std::optional<QDate> date(const QString &text);
// Hour from characters 1-2, minute from 4-5; none unless they are digits within a day.
std::optional<QTime> time(const QString &text);
// A date cell whose month is above 12 or day above 31, or a time cell whose hour is above 23 or
// minute above 59. A position that does not hold digits is not judged: such a text is no date
// the device can hold, but the grid only marks numbers it can see are too large.
bool outOfRange(int column, const QString &text);

} // namespace NumberWindowText
