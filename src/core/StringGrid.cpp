#include "StringGrid.h"

#include <algorithm>

StringGrid::StringGrid(int colCount, int rowCount, QObject *parent)
    : QAbstractTableModel(parent)
    , cols(colCount) {
    cells.resize(rowCount);
    for (QStringList &r : cells)
        r.resize(cols);
}

void StringGrid::setRowCount(int count) {
    const int old = rows();
    if (count == old || count < 0)
        return;
    if (count > old) {
        beginInsertRows({}, old, count - 1);
        cells.resize(count);
        for (int r = old; r < count; ++r)
            cells[r].resize(cols);
        endInsertRows();
    } else {
        beginRemoveRows({}, count, old - 1);
        cells.resize(count);
        endRemoveRows();
    }
}

QString StringGrid::cell(int col, int row) const {
    if (row < 0 || row >= rows() || col < 0 || col >= cols)
        return {};
    return cells[row][col];
}

void StringGrid::setCell(int col, int row, const QString &text) {
    if (row < 0 || row >= rows() || col < 0 || col >= cols || cells[row][col] == text)
        return;
    cells[row][col] = text;
    if (batching)
        return;
    const QModelIndex i = index(row, col);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

void StringGrid::editRows(int firstRow, int lastRow, const std::function<void()> &edit) {
    const bool outer = !batching;
    batching = true;
    edit();
    if (!outer)
        return;
    batching = false;
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, rows() - 1);
    if (firstRow <= lastRow)
        emit dataChanged(index(firstRow, 0), index(lastRow, cols - 1),
                         {Qt::DisplayRole, Qt::EditRole});
}

QStringList StringGrid::rowTexts(int row) const {
    return row >= 0 && row < rows() ? cells[row] : QStringList{};
}

int StringGrid::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : rows();
}

int StringGrid::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : cols;
}

QVariant StringGrid::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return cell(index.column(), index.row());
}

bool StringGrid::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    setCell(index.column(), index.row(), value.toString());
    return true;
}
