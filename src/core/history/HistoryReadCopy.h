#pragma once

#include <QList>
#include <QStringList>

class HistoryTable;

// The records of the last history read, kept aside so that "Show all" can bring them back once
// the filter has narrowed the table (the filter keeps only what it selects).
class HistoryReadCopy {
public:
    // A read has ended: its rows are the new copy, and the table is no longer narrowed.
    void keep(const HistoryTable &table);
    // The filter has narrowed the table.
    void narrowed() { narrowedSinceKept = kept; }
    bool canShowAll() const { return narrowedSinceKept; }
    // The table as the read left it; nothing when it was not narrowed since.
    void showAll(HistoryTable &table);

private:
    QList<QStringList> records;
    bool kept = false;
    bool narrowedSinceKept = false;
};
