#pragma once

#include <QDate>
#include <QString>
#include <QTime>

class HistoryTable;

// The date-time window of the history filter, as the four pickers hold it.
struct HistoryWindow {
    QDate startDate;
    QTime startTime;
    QDate endDate;
    QTime endTime;
};

// Narrows the history table to the records stamped strictly inside a window, sorted by date
// and time. The table itself is the only store: what the filter drops is gone until the next
// read.
namespace HistoryFilter {

struct Result {
    bool filtered = false;
    QString message; // what the operator is told when nothing was written
    // The status text the filter's last phase leaves showing; empty when it stopped before
    // looking at the rows.
    QString status;
};

// A window is valid when its end lies after its start.
bool isValid(const HistoryWindow &window);

// Rows stamped on the same date and time keep their order. Nothing is written unless the
// window is valid, some row is a candidate and some candidate lies inside the window.
Result apply(HistoryTable &table, const HistoryWindow &window);

} // namespace HistoryFilter
