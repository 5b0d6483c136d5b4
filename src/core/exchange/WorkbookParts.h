#pragma once

#include <QByteArray>

#include <span>

// The parts of a one-sheet workbook that do not depend on its cells. The sheet itself is
// "xl/worksheets/sheet1.xml"; cell style 1 carries the built-in Text format ("@").
namespace WorkbookParts {

extern const char SheetPartName[];
constexpr int TextStyle = 1;

struct Part {
    const char *name;
    QByteArray content;
};
// In the order a spreadsheet application writes them: the content types first.
std::span<const Part> fixedParts();

} // namespace WorkbookParts
