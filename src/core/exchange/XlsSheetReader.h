#pragma once

#include "Result.h"
#include "exchange/SheetCells.h"

#include <QString>

// Reads the first worksheet of a legacy binary workbook (.xls, BIFF in a compound document)
// with the same texts as the xlsx reader gives, through the reader program velmora-xls-reader:
// the one named by VELMORA_XLS_READER, else the one beside the running program.
namespace XlsSheetReader {

QString readerProgram();

// The sheet's cells; the reason of a failure does not name the file.
// Cells beyond `layout` are refused or dropped as it says.
Result<SheetCells> read(const QString &path, const SheetLayout &layout = {});

} // namespace XlsSheetReader
