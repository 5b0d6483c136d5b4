#pragma once

#include "StringGrid.h"

// The device's event history as the history page shows it: row 0 holds the headings, rows
// 1..1000 one record each. Column 0 carries the fixed serial numbers; the record number in
// column 1 is kept and exported but the view does not show it.
class HistoryTable : public StringGrid {
    Q_OBJECT
public:
    enum Column { Serial, RecordNo, Date, Time, From, Action, Executant, Content, ColumnCount };
    static constexpr int RecordCount = 1000;

    explicit HistoryTable(QObject *parent = nullptr);

    // Columns 1..7 of a record row, and the same texts put back: `records` fill rows 1 on, the
    // rows after them are emptied. The serial column stays as it is.
    QStringList recordTexts(int row) const { return rowTexts(row).mid(RecordNo); }
    void replaceRecords(const QList<QStringList> &records);
};
