#pragma once

#include "StringGrid.h"
#include "history/HistoryTable.h"
#include "numbers/NumberTable.h"

// Puts rows first..last of a grid back as they stand in an untouched grid of the same kind, so
// that one fuzz input cannot change what the next one starts from. Far cheaper than building the
// big tables anew for every input.
inline void restoreRows(StringGrid &grid, const StringGrid &pristine, int first, int last) {
    for (int r = first; r <= last && r < grid.rows(); ++r) {
        // Most rows are untouched: one comparison of the row's texts passes them.
        if (grid.rowTexts(r) == pristine.rowTexts(r))
            continue;
        for (int c = 0; c < grid.colCount(); ++c)
            if (grid.cell(c, r) != pristine.cell(c, r))
                grid.setCell(c, r, pristine.cell(c, r));
    }
}

// The two big tables live for the whole run, each beside an untouched twin; each input puts back
// the rows it changed.
struct Tables {
    NumberTable numbers;
    NumberTable pristineNumbers;
    HistoryTable history;
    HistoryTable pristineHistory;
};

inline Tables &tables() {
    static Tables t;
    return t;
}
