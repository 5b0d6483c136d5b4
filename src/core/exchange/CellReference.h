#pragma once

#include <QByteArray>
#include <QString>

// A cell's address as a sheet writes it: column letters then the row, "B3" for (3, 2).
namespace CellReference {

// 1 → "A", 26 → "Z", 27 → "AA".
QByteArray columnLetters(int column);
QString name(int row, int column);

// The largest sheet a workbook may have.
constexpr int MaxRows = 1048576;
constexpr int MaxColumns = 16384;

// A row number in plain decimal digits, 1 to MaxRows.
bool parseRow(const QByteArray &text, int *row);
// "B3" into row 3, column 2; false for anything else and for a cell outside the largest sheet.
bool parse(const QByteArray &text, int *row, int *column);

} // namespace CellReference
