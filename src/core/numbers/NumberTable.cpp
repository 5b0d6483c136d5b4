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
    markBaseline();
}

void NumberTable::toggleMark(int col, int row) {
    if (!isYesNoColumn(col) || row < 1 || row > EntryCount)
        return;
    if (cell(col, row) == QLatin1String("yes")) {
        setCell(col, row, QStringLiteral("no"));
        return;
    }
    editRows(row, row, [&] {
        setCell(col, row, QStringLiteral("yes"));
        for (int c = StartDate; c <= EndTime; ++c)
            setCell(c, row, QString());
    });
}

Qt::ItemFlags NumberTable::flags(const QModelIndex &index) const {
    if (!index.isValid() || index.column() == Serial)
        return Qt::NoItemFlags;
    Qt::ItemFlags f = StringGrid::flags(index);
    const int row = index.row();
    const bool typed = index.column() == Number;
    const bool picked = isWindowColumn(index.column()) && cell(Always, row) == QLatin1String("no");
    if (row > 0 && (typed || picked))
        f |= Qt::ItemIsEditable;
    return f;
}

void NumberTable::flipColumn(int col, bool &flag) {
    flag = !flag;
    const QString text = flag ? QStringLiteral("yes") : QStringLiteral("no");
    editRows(1, EntryCount, [&] {
        for (int r = 1; r <= EntryCount; ++r)
            setCell(col, r, text);
    });
}
