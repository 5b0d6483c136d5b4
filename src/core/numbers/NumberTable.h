#pragma once

#include "StringGrid.h"

// The authorized number list as the number page shows it: row 0 holds the headings, rows
// 1..3000 one entry each. Column 0 carries the fixed serial numbers; columns 6 and 7 hold
// exactly "yes" or "no".
class NumberTable : public StringGrid {
    Q_OBJECT
public:
    enum Column {
        Serial,
        Number,
        StartDate,
        StartTime,
        EndDate,
        EndTime,
        Always,
        Delete,
        ColumnCount
    };
    static constexpr int EntryCount = 3000;

    explicit NumberTable(QObject *parent = nullptr);

    static bool isYesNoColumn(int col) { return col == Always || col == Delete; }
    static bool isWindowColumn(int col) { return col >= StartDate && col <= EndTime; }

    // A click on (or Space in) an Always or Delete cell of an entry row: "yes" becomes "no";
    // anything else becomes "yes" and empties the row's validity window. Other cells: nothing.
    void toggleMark(int col, int row);
    // "All Always" and "Delete all": each press flips the button's own flag and sets the whole
    // column to "yes" (flag on) or "no" (flag off), whatever the cells held.
    void flipAllAlways() { flipColumn(Always, allAlways); }
    void flipDeleteAll() { flipColumn(Delete, deleteAll); }
    // The buttons' flags as the last presses left them; undo puts them back with the columns.
    bool allAlwaysFlag() const { return allAlways; }
    bool deleteAllFlag() const { return deleteAll; }
    void setButtonFlags(bool allAlwaysOn, bool deleteAllOn) {
        allAlways = allAlwaysOn;
        deleteAll = deleteAllOn;
    }

    // The serial column is the grid's fixed column: it never becomes the current cell. The
    // number is typed in; a validity window is picked only on a row whose Always is "no".
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void flipColumn(int col, bool &flag);

    bool allAlways = false;
    bool deleteAll = false;
};
