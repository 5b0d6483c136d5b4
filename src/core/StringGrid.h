#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>
#include <functional>

// One change of a cell's text, as the grid reports it to whoever keeps a history of edits.
struct CellEdit {
    int col;
    int row;
    QString before;
    QString after;
};

// A grid of cell texts, addressed (column, row) from 0 with row 0 the heading row, like the
// window's string grids. The tables of the pages derive from it; views show it through Qt's
// model/view, so the heading row is an ordinary data row of the model.
class StringGrid : public QAbstractTableModel {
    Q_OBJECT
public:
    // What the delegates draw the change markers from (bool): the cell differs from the
    // baseline; the cell's row holds such a cell.
    enum ChangeRole { CellChangedRole = Qt::UserRole + 1, RowChangedRole };

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

    // Whether changes are reported through cellsEdited (only ever to a listener); the window's
    // undo history turns it off during a device read, as nobody goes back through one.
    void setReportingEdits(bool on) { reporting = on; }
    enum class Replay { Backward, Forward };
    // Puts back the texts before `edits` (last first) or after them (first first), as one
    // change of their rows and unreported.
    void replayEdits(const QVector<CellEdit> &edits, Replay direction);

    // The baseline is the content as the device holds it, as far as the tool knows: as last read
    // from it or saved to it; the cells that differ from it are marked (an import is marked
    // too). Until the first read it is the content as built.
    void markBaseline() { markBaselineRows(0, rows() - 1); }
    // Rows first..last as they stand are what the device holds: a page a read has just filled.
    virtual void markBaselineRows(int firstRow, int lastRow);
    QString baselineCell(int col, int row) const;
    virtual bool isCellChanged(int col, int row) const;
    // Constant time: each row counts its changed cells as they change.
    virtual bool isRowChanged(int row) const;
    // Takes over every cell text of a grid of the same shape, as one reset of the model.
    void copyCellsFrom(const StringGrid &other);
    // The baseline becomes the cells of a grid of the same shape; the cells stay as they are.
    void setBaselineFrom(const StringGrid &other);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // Once per setCell outside editRows, once per outermost editRows that changed something.
    void cellsEdited(const QVector<CellEdit> &edits);

private:
    int cols;
    bool batching = false;
    bool reporting = true;
    QVector<CellEdit> batchEdits;
    QVector<QStringList> cells;
    QVector<QStringList> baseline;
    QVector<int> changedInRow;

    void countChanges();
};
