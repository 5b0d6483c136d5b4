#pragma once

#include <QByteArray>
#include <QList>

// Lines of the comma-separated files, in bytes of the 8-bit code page. A field is written as it
// is unless it holds a comma, a double quote, CR or LF: then it stands in double quotes with
// its inner quotes doubled, so that a text with a comma cannot shift the fields after it.
namespace CsvLine {

QByteArray field(const QByteArray &text);
// The fields joined by commas, ending with CR LF.
QByteArray line(const QList<QByteArray> &fields);

// The lines of a whole file, each split into its fields, read the way `line` writes them: a
// quoted field may hold commas, doubled quotes and line breaks. Lines end with CR LF or LF; a
// last line without an ending counts, an empty last line does not. False, with `lines` left
// empty, when a quote is never closed or a closing quote is followed by more than a comma or a
// line ending.
bool parse(const QByteArray &text, QList<QList<QByteArray>> &lines);

} // namespace CsvLine
