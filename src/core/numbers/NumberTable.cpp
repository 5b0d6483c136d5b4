#include "numbers/NumberTable.h"

NumberTable::NumberTable(QObject *parent)
    : StringGrid(ColumnCount, EntryCount + 1, parent) {
    // "Start Time " keeps its trailing blank: exported workbooks carry the headings as shown.
    const QStringList headings{QStringLiteral("Serial"),     QStringLiteral("Authorized number"),
                               QStringLiteral("Start Date"), QStringLiteral("Start Time "),
                               QStringLiteral("End Date"),   QStringLiteral("End Time"),
                               QStringLiteral("Always(V)"),  QStringLiteral("Delete(V)")};
    for (int c = 0; c < ColumnCount; ++c)
        setCell(c, 0, headings[c]);
    const QString no = QStringLiteral("no");
    for (int r = 1; r <= EntryCount; ++r) {
        setCell(Serial, r, QString::number(r));
        setCell(Always, r, no);
        setCell(Delete, r, no);
    }
}
