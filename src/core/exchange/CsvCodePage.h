#pragma once

#include <QString>

class CodePage;
class StringGrid;

namespace CsvCodePage {

// A comma-separated file is written in the 8-bit code page, byte for byte as the grid holds it:
// a cell of rows 1.. with a character the code page cannot hold would be written as another.
// The message naming the first such cell (its row, its column's heading, the character), or
// empty when every cell converts.
QString unheldCell(const StringGrid &grid, const CodePage &codePage);

} // namespace CsvCodePage
