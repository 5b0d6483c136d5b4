#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// The worksheet part of a workbook, written in the order the format demands: the used range,
// the column widths, then the cells row by row. Texts are inline strings, so the workbook needs
// no shared string table.
class WorksheetXml {
public:
    // `lastRow` and `lastColumn` bound the cells to come (0 for an empty sheet); `cellCount`
    // only sizes the buffer.
    WorksheetXml(int lastRow, int lastColumn, qsizetype cellCount);

    // Width in character units, as a spreadsheet shows it; all widths come before any cell.
    void addColumnWidth(int column, double width);
    // Rows in ascending order, and columns ascending within a row. An empty text leaves only
    // the format in the cell.
    void addCell(int row, int column, const QString &text, bool textFormat);
    QByteArray finish();

    // The width the file stores for `width` characters: the cell padding added and rounded to
    // whole pixels of the default font, as spreadsheet applications do.
    static double storedWidth(double width);

private:
    void beginSheetData();
    void appendText(const QByteArray &utf8);

    QByteArray xml;
    std::vector<QByteArray> columnNames;
    int openRow = 0;
    QByteArray rowNumber;
    bool columnsOpen = false;
    bool sheetDataOpen = false;
};
