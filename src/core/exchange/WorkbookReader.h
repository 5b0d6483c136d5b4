#pragma once

#include "Result.h"
#include "exchange/SheetCells.h"

#include <QString>

// Opens a workbook, xlsx or legacy xls (told apart by content, not by the file name), and
// gives the cells of its first worksheet, addressed (row, column) from 1, in two ways:
// - displayedText: what a spreadsheet shows (dates yyyy/MM/dd, times HH:mm:ss, numbers in the
//   general format, booleans TRUE and FALSE);
// - valueText: the value as text (the same for text cells; dates yyyy/MM/dd, times with
//   seconds, numbers in plain decimal).
// An empty or missing cell is the empty string. Texts are never trimmed. The whole sheet is
// checked and read at open(); a damaged file leaves the reader empty.
class WorkbookReader {
public:
    static constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

    // The table the sheet fills (see SheetLayout); the default takes any sheet.
    explicit WorkbookReader(SheetLayout layout = {})
        : layout(std::move(layout)) {}

    // The reason of a failure names the file.
    Result<void> open(const QString &path);

    QString displayedText(int row, int column) const { return cells.displayed(row, column); }
    QString valueText(int row, int column) const { return cells.value(row, column); }
    const SheetCells &sheet() const { return cells; }

private:
    SheetLayout layout;
    SheetCells cells;
};
