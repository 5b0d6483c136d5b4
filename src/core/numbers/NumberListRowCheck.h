#pragma once

#include <QString>

class SheetCells;

// The check a number list workbook passes, row by row, before anything of it is loaded. A row is
// looked at only when it has a number and neither its Always nor its Delete cell says "yes";
// then its dates must be 10 characters and its times 5, with numbers where the device's record
// takes its values from (year, month and day of a date, hour and minute of a time).
namespace NumberListRowCheck {

// Sheet rows 2..3001 hold the entries 1..3000. Returns the message naming the faulty entries, or
// an empty text when every row passes.
QString problems(const SheetCells &sheet);

} // namespace NumberListRowCheck
