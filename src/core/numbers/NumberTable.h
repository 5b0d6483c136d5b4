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
};
