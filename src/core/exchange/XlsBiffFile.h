#pragma once

#include "exchange/SheetCells.h"

#include <QByteArray>
#include <QString>

// A legacy workbook's first sheet as the .xls library reads it, and the message that carries it
// from the reader program (velmora-xls-reader) to the tool. The library reads past its buffers
// on some damaged files, so only that program calls readMessage(); the tool decodes.
namespace XlsBiffFile {

// The cells of `path` up to `lastColumn`, ending with the first value past `lastRow`, or why
// they cannot be read.
QByteArray readMessage(const QString &path, int lastRow, int lastColumn);
// The cells within `layout`; false with `reason` for a failed read, a value past the last row
// or a damaged message.
bool decodeMessage(const QByteArray &message, const SheetLayout &layout, SheetCells *cells,
                   QString *reason);

} // namespace XlsBiffFile
