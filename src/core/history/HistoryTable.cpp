#include "history/HistoryTable.h"

HistoryTable::HistoryTable(QObject *parent)
    : StringGrid(ColumnCount, RecordCount + 1, parent) {
    const QStringList headings{QStringLiteral("Serial"),    QStringLiteral("No."),
                               QStringLiteral("Date"),      QStringLiteral("Time"),
                               QStringLiteral("From"),      QStringLiteral("Action"),
                               QStringLiteral("Executant"), QStringLiteral("Content")};
    for (int c = 0; c < ColumnCount; ++c)
        setCell(c, 0, headings[c]);
    for (int r = 1; r <= RecordCount; ++r)
        setCell(Serial, r, QString::number(r));
}

void HistoryTable::replaceRecords(const QList<QStringList> &records) {
    editRows(1, RecordCount, [&] {
        for (int r = 1; r <= RecordCount; ++r) {
            const QStringList *texts = r <= records.size() ? &records[r - 1] : nullptr;
            for (int c = RecordNo; c < ColumnCount; ++c)
                setCell(c, r, texts ? texts->value(c - RecordNo) : QString());
        }
    });
}
