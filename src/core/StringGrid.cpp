#include "StringGrid.h"

#include <QMetaMethod>
#include <algorithm>
#include <utility>

StringGrid::StringGrid(int colCount, int rowCount, QObject *parent)
    : QAbstractTableModel(parent)
    , cols(colCount) {
    cells.resize(rowCount);
    for (QStringList &r : cells)
        r.resize(cols);
    baseline = cells;
    changedInRow.fill(0, rowCount);
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
        baseline.resize(count);
        for (int r = old; r < count; ++r)
            baseline[r].resize(cols);
        changedInRow.resize(count);
        endInsertRows();
    } else {
        beginRemoveRows({}, count, old - 1);
        cells.resize(count);
        baseline.resize(count);
        changedInRow.resize(count);
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
    const QString &base = baseline[row][col];
    const bool wasChanged = cells[row][col] != base;
    // Nobody listens outside the window's undo history: the CLI and the tests skip the copies.
    static const QMetaMethod edited = QMetaMethod::fromSignal(&StringGrid::cellsEdited);
    if (reporting && isSignalConnected(edited))
        batchEdits.append({col, row, cells[row][col], text});
    cells[row][col] = text;
    const bool nowChanged = text != base;
    const bool rowWasChanged = changedInRow[row] > 0;
    changedInRow[row] += int(nowChanged) - int(wasChanged);
    if (batching)
        return;
    // A row that starts or stops differing repaints from its first cell, where its marker is.
    const int from = rowWasChanged == (changedInRow[row] > 0) ? col : 0;
    emit dataChanged(index(row, from), index(row, col),
                     {Qt::DisplayRole, Qt::EditRole, CellChangedRole, RowChangedRole});
    if (!batchEdits.isEmpty())
        emit cellsEdited(std::exchange(batchEdits, {}));
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
                         {Qt::DisplayRole, Qt::EditRole, CellChangedRole, RowChangedRole});
    if (!batchEdits.isEmpty())
        emit cellsEdited(std::exchange(batchEdits, {}));
}

void StringGrid::replayEdits(const QVector<CellEdit> &edits, Replay direction) {
    if (edits.isEmpty())
        return;
    const auto [first, last] =
        std::minmax_element(edits.begin(), edits.end(),
                            [](const CellEdit &a, const CellEdit &b) { return a.row < b.row; });
    const bool wasReporting = std::exchange(reporting, false);
    editRows(first->row, last->row, [&] {
        if (direction == Replay::Forward) {
            for (const CellEdit &e : edits)
                setCell(e.col, e.row, e.after);
        } else {
            for (auto e = edits.rbegin(); e != edits.rend(); ++e)
                setCell(e->col, e->row, e->before);
        }
    });
    reporting = wasReporting;
}

void StringGrid::markBaselineRows(int firstRow, int lastRow) {
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, rows() - 1);
    if (firstRow > lastRow)
        return;
    for (int r = firstRow; r <= lastRow; ++r) {
        baseline[r] = cells[r];
        changedInRow[r] = 0;
    }
    emit dataChanged(index(firstRow, 0), index(lastRow, cols - 1),
                     {CellChangedRole, RowChangedRole});
}

QString StringGrid::baselineCell(int col, int row) const {
    if (row < 0 || row >= rows() || col < 0 || col >= cols)
        return {};
    return baseline[row][col];
}

bool StringGrid::isCellChanged(int col, int row) const {
    return row >= 0 && row < rows() && col >= 0 && col < cols &&
           cells[row][col] != baseline[row][col];
}

bool StringGrid::isRowChanged(int row) const {
    return row >= 0 && row < rows() && changedInRow[row] > 0;
}

void StringGrid::copyCellsFrom(const StringGrid &other) {
    if (other.cols != cols || other.rows() != rows())
        return;
    beginResetModel();
    cells = other.cells;
    countChanges();
    endResetModel();
}

void StringGrid::setBaselineFrom(const StringGrid &other) {
    if (other.cols != cols || other.rows() != rows())
        return;
    baseline = other.cells;
    countChanges();
    emit dataChanged(index(0, 0), index(rows() - 1, cols - 1), {CellChangedRole, RowChangedRole});
}

void StringGrid::countChanges() {
    for (int r = 0; r < rows(); ++r) {
        int changed = 0;
        for (int c = 0; c < cols; ++c)
            changed += int(cells[r][c] != baseline[r][c]);
        changedInRow[r] = changed;
    }
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
    if (!index.isValid())
        return {};
    if (role == CellChangedRole)
        return isCellChanged(index.column(), index.row());
    if (role == RowChangedRole)
        return isRowChanged(index.row());
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return cell(index.column(), index.row());
}

bool StringGrid::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    setCell(index.column(), index.row(), value.toString());
    return true;
}
