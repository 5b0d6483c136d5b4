#include "history/HistoryReadCopy.h"

#include "history/HistoryTable.h"

void HistoryReadCopy::keep(const HistoryTable &table) {
    records.clear();
    for (int r = 1; r <= HistoryTable::RecordCount; ++r)
        records << table.recordTexts(r);
    kept = true;
    narrowedSinceKept = false;
}

void HistoryReadCopy::showAll(HistoryTable &table) {
    if (!narrowedSinceKept)
        return;
    table.replaceRecords(records);
    narrowedSinceKept = false;
}
