#pragma once

#include "numbers/NumberWindowText.h"

#include <QString>

#include <optional>

class NumberTable;

// Changing one number's entries as the operator would by hand in the grid: the CLI's `numbers
// add` and `numbers remove`.
namespace NumberListEdit {

// The validity window: its start and end cells.
struct Window {
    NumberWindowText::MomentCells start, end;
};

// Puts `number` into the row that holds it, else into the first row without a number, with
// Delete "no" and valid within `window`, or Always without one. Returns that row, or 0 when the
// list is full (nothing is changed then).
int add(NumberTable &table, const QString &number, const std::optional<Window> &window);
// Marks every row that holds `number` for deletion. Returns how many do.
int remove(NumberTable &table, const QString &number);

} // namespace NumberListEdit
