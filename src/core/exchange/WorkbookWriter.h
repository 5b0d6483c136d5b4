#pragma once

#include "Result.h"

#include <QString>

#include <map>
#include <vector>

// Builds a one-sheet xlsx workbook in memory and writes it in one go. Cells are addressed
// (row, column) from 1, as a spreadsheet numbers them. Every cell value is stored as a string,
// so nothing is turned into a number or a date on the way; a cell may also carry the built-in
// Text format ("@"), which keeps a spreadsheet from converting what is typed there later.
class WorkbookWriter {
public:
    static constexpr int MaxRows = 1048576;
    static constexpr int MaxColumns = 16384;
    static constexpr int MaxCellLength = 32767;

    // Width in the spreadsheet's character units. Columns without a width keep the default one.
    // A refused width or cell returns false here and fails saveAs() with the reason.
    bool setColumnWidth(int column, double width);
    bool setTextFormat(int row, int column);
    bool setCellText(int row, int column, const QString &text);

    // Writes the workbook to `path`; a file name without a dot gets ".xlsx", one ending ".xls"
    // becomes ".xlsx" (the format written is xlsx). The file appears
    // complete or not at all. A cell addressed outside the sheet or holding more text than a
    // cell can take fails here, so that such a workbook is never saved with the cell missing.
    // The reason names the file.
    Result<void> saveAs(const QString &path);
    // The path saveAs() writes to.
    static QString withDefaultExtension(const QString &path);

private:
    struct Cell {
        QString text;
        bool textFormat = false;
    };
    bool addressCell(int row, int column, const char *what);
    QByteArray sheetXml() const;

    std::map<int, double> widths;
    std::vector<std::vector<Cell>> rows;
    QString rejected;
};
