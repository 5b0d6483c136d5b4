#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>
#include <functional>

// A grid of cell texts, addressed (column, row) from 0 with row 0 the heading row, like the
// window's string grids. The tables of the pages derive from it; views show it through Qt's
// model/view, so the heading row is an ordinary data row of the model.
class StringGrid : public QAbstractTableModel {
    Q_OBJECT
public:
    StringGrid(int colCount, int rowCount, QObject *parent = nullptr);

    int colCount() const { return cols; }
    int rows() const { return int(cells.size()); }
    void setRowCount(int count);

    QString cell(int col, int row) const;
    // Out-of-range cells are ignored, as a grid ignores them.
    void setCell(int col, int row, const QString &text);
    QStringList rowTexts(int row) const;
    // The cells `edit` sets in rows first..last reach the views as one change of those rows, not
    // one per cell: a page of a transfer, or a whole column, repaints once.
    void editRows(int firstRow, int lastRow, const std::function<void()> &edit);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    int cols;
    bool batching = false;
    QVector<QStringList> cells;
};
