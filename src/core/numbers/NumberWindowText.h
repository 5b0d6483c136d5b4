#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QTime>

#include <optional>

// The validity window cells of the number list (Start Date .. End Time), read by character
// positions: a date's year is characters 1-4, its month 6-7, its day the last two, whatever
// separates them, so a "2024-05-17" from a device read counts the same as the "2024/05/17" the
// pickers write. Each reader keeps the rule it has always had, and they differ on purpose: the
// device takes only what it can hold, the grid marks only what it can see is too large, and the
// workbook import lets through what its integer conversion took.
namespace NumberWindowText {

// Year, month and day of a date cell; each -1 where its characters are missing or not digits.
struct DateFields {
    int year, month, day;
};
DateFields dateFields(const QString &text);

// What the device holds. Its record takes a time's hour from before the first ':' and its
// minute from one or two characters after it, so "9:5", "9:05" and "09:05" are all 09:05.
struct TimeFields {
    int hour, minute;
};
TimeFields deviceTimeFields(const QString &text);
// 10 characters, a year 2000..2099, month 1..12, day 1..31 (the calendar is not asked: the
// device stores a 31 April as it is given).
bool isDeviceDate(const QString &text);
// Hour 0..23 of one or two digits, ':', minute 0..59 of one or two digits.
bool isDeviceTime(const QString &text);
// The moment a device date and time stand for, when the calendar has that day.
std::optional<QDateTime> deviceMoment(const QString &date, const QString &time);

// A moment typed as the pickers write the cells, "YYYY/MM/DD HH:MM" (blanks around it aside),
// that the device holds and the calendar has ("2026/02/30 08:00" is none).
struct MomentCells {
    QString date, time;
};
std::optional<MomentCells> typedMoment(const QString &text);

// The grid and its pickers: a date by its positions, a time's hour from characters 1-2 and its
// minute from 4-5; none unless they are digits forming a calendar date or a time of day.
std::optional<QDate> date(const QString &text);
std::optional<QTime> time(const QString &text);
// A date cell whose month is above 12 or day above 31, or a time cell whose hour is above 23 or
// minute above 59. A position that does not hold digits is not judged: such a text is no date
// the device can hold, but the grid only marks numbers it can see are too large.
bool outOfRange(int column, const QString &text);

// The check of a workbook's rows before an import: a date of 10 characters whose two-digit year
// (characters 3-4), month and day, and a time of 5 characters whose hour (the first two) and
// minute (the last two) each read as an integer: blanks before it and a sign are allowed, a
// value out of range is not judged. The save's check refuses what the device cannot hold.
bool isImportDate(QStringView text);
bool isImportTime(QStringView text);

} // namespace NumberWindowText
