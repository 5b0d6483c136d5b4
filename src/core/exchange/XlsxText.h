#pragma once

#include <QByteArray>
#include <QString>

// Cell text as an xlsx part holds it. XML cannot carry most control characters, so spreadsheets
// write them as _xHHHH_ (UTF-16 code unit in hex); a literal "_xHHHH_" in the text is protected by
// escaping its underscore as _x005F_.
namespace XlsxText {

// UTF-8 for the XML writer, with every character XML cannot hold (controls other than TAB and
// LF, lone surrogates, U+FFFE, U+FFFF) and every literal escape sequence escaped. CR is escaped
// too: XML readers turn a raw CR LF into LF.
QByteArray encode(const QString &text);

// Undoes encode(): `utf8` is the text of an XML element after entity decoding.
QString decode(const char *utf8, qsizetype size);

} // namespace XlsxText
