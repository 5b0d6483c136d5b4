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
