#include "NumberOrderProxy.h"

#include "numbers/NumberTable.h"

#include <QColor>

namespace {

const QColor MatchFill(255, 236, 140);

bool isSortable(int column) {
    return column == NumberTable::Number || column == NumberTable::StartDate ||
           column == NumberTable::EndDate;
}

} // namespace

NumberOrderProxy::NumberOrderProxy(QObject *parent)
    : HeadingRowProxy(parent) {}

void NumberOrderProxy::headingClicked(int column) {
    if (column != NumberTable::Serial && !isSortable(column))
        return;
    if (column == NumberTable::Serial ||
        (sortColumn() == column && sortOrder() == Qt::DescendingOrder))
        sort(-1);
    else
        sort(column, sortColumn() == column ? Qt::DescendingOrder : Qt::AscendingOrder);
    // While sorted, an edit, a read or an import puts its rows in their place at once.
    setDynamicSortFilter(sortColumn() >= 0);
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void NumberOrderProxy::setMatches(const QList<int> &tableRows) {
    matches = QSet<int>(tableRows.cbegin(), tableRows.cend());
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole});
}

QVariant NumberOrderProxy::data(const QModelIndex &index, int role) const {
    if (role == Qt::BackgroundRole)
        return matches.contains(mapToSource(index).row()) ? QVariant(MatchFill) : QVariant();
    return HeadingRowProxy::data(index, role);
}

QVariant NumberOrderProxy::headerData(int section, Qt::Orientation orientation, int role) const {
    const QVariant heading = HeadingRowProxy::headerData(section, orientation, role);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section != sortColumn())
        return heading;
    const QChar arrow = sortOrder() == Qt::AscendingOrder ? QChar(0x25B2) : QChar(0x25BC);
    return heading.toString().trimmed() + u' ' + arrow;
}

QString NumberOrderProxy::sortKey(int tableRow, int column) const {
    const QAbstractItemModel *table = sourceModel();
    QString key = table->index(tableRow, column).data().toString();
    if (column == NumberTable::Number)
        return key;
    // A date the device wrote as 2024-05-17 sorts with 2024/05/17; the time decides within a day.
    key.replace(u'-', u'/');
    return key.isEmpty() ? key : key + u' ' + table->index(tableRow, column + 1).data().toString();
}

bool NumberOrderProxy::lessThan(const QModelIndex &left, const QModelIndex &right) const {
    const QString a = sortKey(left.row(), left.column());
    const QString b = sortKey(right.row(), right.column());
    // Empty slots stay below the entries whichever way the order goes; the sort compares the other
    // way round when descending.
    if (a.isEmpty() != b.isEmpty())
        return sortOrder() == Qt::AscendingOrder ? b.isEmpty() : a.isEmpty();
    return a < b;
}
