#pragma once

#include "CellDelegate.h"

#include <QDate>
#include <QTime>

#include <array>

class QDateTimeEdit;

// Draws the number grid (the serial column as its fixed column, window cells whose date or time
// is out of range on a green fill, the end date of an entry whose window has ended in grey, the
// Always and Delete columns as check boxes) and hosts its in-place editors: a text editor for
// the number, a picker for each window cell.
//
// A picker opens on its cell's date or time when the cell holds one it can take, otherwise on
// the value its column's picker had last: the start pickers begin at 2015/03/06 00:00, the end
// pickers at the moment the window starts. Only a value the operator changes reaches the cell:
// a start date as soon as it is picked, the others when the picker is left; Escape puts the
// cell back as it was.
class NumberCellDelegate : public CellDelegate {
    Q_OBJECT
public:
    explicit NumberCellDelegate(QWidget *view);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    void commitPicked();
    void remember(int column, const QDateTimeEdit &picker) const;

    // Start, then end: the last value of each column's picker.
    mutable std::array<QDate, 2> lastDates;
    mutable std::array<QTime, 2> lastTimes;
};
