#pragma once

#include "exchange/SheetCells.h"

#include <QString>

// Reads the first worksheet of a legacy binary workbook (.xls, BIFF in a compound document)
// with the same texts as the xlsx reader gives, through the reader program velmora-xls-reader:
// the one named by VELMORA_XLS_READER, else the one beside the running program.
namespace XlsSheetReader {

QString readerProgram();

// On failure `cells` is left empty and `reason` says why, without naming the file.
// Cells beyond `layout` are refused or dropped as it says.
bool read(const QString &path, SheetCells *cells, QString *reason, const SheetLayout &layout = {});

} // namespace XlsSheetReader
