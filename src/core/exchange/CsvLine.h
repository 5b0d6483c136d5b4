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

} // namespace CsvLine
