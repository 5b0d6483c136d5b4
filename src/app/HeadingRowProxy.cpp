#include "HeadingRowProxy.h"

HeadingRowProxy::HeadingRowProxy(QObject *parent)
    : QSortFilterProxyModel(parent) {
    // Row 0 never changes its place; unsorted, there is nothing to redo on every change.
    setDynamicSortFilter(false);
}

void HeadingRowProxy::setSourceModel(QAbstractItemModel *source) {
    if (sourceModel())
        disconnect(sourceModel(), nullptr, this, nullptr);
    QSortFilterProxyModel::setSourceModel(source);
    if (source)
        connect(source, &QAbstractItemModel::dataChanged, this, &HeadingRowProxy::sourceChanged);
}

QVariant HeadingRowProxy::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && sourceModel() &&
        (role == Qt::DisplayRole || role == Qt::EditRole))
        return sourceModel()->index(0, section).data(role);
    return {};
}

bool HeadingRowProxy::filterAcceptsRow(int sourceRow, const QModelIndex &) const {
    return sourceRow != 0;
}

void HeadingRowProxy::sourceChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight) {
    if (topLeft.row() == 0)
        emit headerDataChanged(Qt::Horizontal, topLeft.column(), bottomRight.column());
}
