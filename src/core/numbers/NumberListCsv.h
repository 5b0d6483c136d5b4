#pragma once

#include <QByteArray>
#include <functional>

class CodePage;
class NumberTable;
class SheetCells;

// The number list as comma-separated text: one line per entry row 1..3000, every row, with ten
// fields (the eight columns and two empty ones), then the closing line "3001" and nine commas.
// No heading line; every line ends with CR LF; texts in the 8-bit code page. A field that holds a
// comma, a double quote, CR or LF is quoted, so that it cannot shift the fields after it.
namespace NumberListCsv {

constexpr int LineCount = 3001;

// `lineDone` is told the number of each line (1..3001) once it is built.
QByteArray build(const NumberTable &table, const CodePage &codePage,
                 const std::function<void(int line)> &lineDone = {});

// Puts the fields of such a text into `sheet` as the number list workbook holds them: line k in
// sheet row k + 1, field j in column j, so that the workbook's row check and loading take it as it
// is. False, with `sheet` untouched, when the text is not a number list: more than 3001 lines, a
// line with fewer than 8 or more than 10 fields, or a quote left open.
bool read(const QByteArray &text, const CodePage &codePage, SheetCells &sheet);

} // namespace NumberListCsv
