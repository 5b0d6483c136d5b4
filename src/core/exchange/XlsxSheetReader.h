#pragma once

#include "Result.h"
#include "exchange/CellReference.h"
#include "exchange/SheetCells.h"

#include <QByteArray>
#include <QString>

// Reads the first worksheet of an xlsx workbook held in memory: finds it through the package
// relationships and workbook.xml, and turns every cell into its displayed text and its value as
// text (shared and inline strings, numbers, dates and times by their number format in either
// date system, booleans, errors, formula results). Any damage fails the whole read.
namespace XlsxSheetReader {

constexpr int MaxRows = CellReference::MaxRows;
constexpr int MaxColumns = CellReference::MaxColumns;
// The largest relationships, workbook or styles part; real ones are a few kB. Each is parsed
// into a tree of up to some 25 times its bytes (about 100 MiB at this bound), one at a time.
constexpr qsizetype MaxTreePartBytes = 4 * 1024 * 1024;

// The sheet's cells; the reason of a failure does not name the file.
// Cells beyond `layout` are refused or dropped as it says.
Result<SheetCells> read(const QByteArray &file, const SheetLayout &layout = {});

} // namespace XlsxSheetReader
