#pragma once

#include "exchange/SheetCells.h"

#include <QString>

// Reads the first worksheet of a legacy binary workbook (.xls, BIFF in a compound document)
// with the same texts as the xlsx reader gives.
namespace XlsSheetReader {

// On failure `cells` is left empty and `reason` says why, without naming the file.
// Cells beyond `layout` are refused or dropped as it says.
bool read(const QString &path, SheetCells *cells, QString *reason, const SheetLayout &layout = {});

} // namespace XlsSheetReader
