#pragma once

#include "Result.h"

#include <QString>

class HistoryTable;
class Operator;

// A history file exported by this tool, read back into the history table so that a history
// taken on site can be looked at offline: the workbook of "Export.XLS" (headings in row 1, grid
// rows 1..1000 in sheet rows 2..1001, columns A..H) or the comma-separated lines of "Export.CSV"
// (a .cvs or .csv file: ten fields a line, the first the row's serial). The whole file is checked
// first: a file not in that layout leaves the table as it was.
namespace HistoryLoad {

// On success the table holds the file's records; a failure's reason is what the operator is told.
Result<void> load(const QString &path, HistoryTable &table);

// "Load": an open dialog in `folder`, then the file. False when nothing was loaded (cancelled,
// or refused with its reason shown).
bool choose(Operator &op, const QString &folder, HistoryTable &table);

} // namespace HistoryLoad
