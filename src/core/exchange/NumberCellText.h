#pragma once

#include <QString>
#include <QStringView>

// How a workbook's numeric cells become text. A spreadsheet stores dates and times as serial day
// numbers and only the cell's number format says which they are.
namespace NumberCellText {

enum class FormatKind { General, Date, Time, DateTime };
// Day 0 of the serial numbers: 1900 (with the spreadsheet's fictitious 1900-02-29) or 1904.
enum class DateSystem { From1900, From1904 };

FormatKind builtinFormatKind(int formatId);
// Classifies a format code such as "yyyy-mm-dd", "[h]:mm", "0.00" or "[Red]#,##0;-#,##0".
FormatKind formatCodeKind(QStringView code);

// What a spreadsheet displays: numbers in the general format of a standard-width column
// (rounded to eleven characters, exponent form from 1E+11 and below 1E-09), dates as
// yyyy/MM/dd, times as HH:mm:ss, both for date-and-time formats. A serial outside the calendar is
// shown as a number.
QString displayed(double number, FormatKind kind, DateSystem system);
// The value as the program converts it: a number in plain decimal without exponent; for a
// date or time format the date yyyy/MM/dd, the time HH:mm:ss when the serial has no day part,
// and both when it has both.
QString value(double number, FormatKind kind, DateSystem system);

QString generalNumber(double number);
QString plainNumber(double number);

} // namespace NumberCellText
