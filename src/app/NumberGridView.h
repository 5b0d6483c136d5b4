#pragma once

#include "GridView.h"

class NumberOrderProxy;
class NumberTable;

// The number list grid `strngrd3`: the headings stay in the header above 3000 entry rows (view
// row r shows entry r + 1) and the serial column is fixed. The number is typed in place, a
// window cell takes a picker as soon as the operator arrives on it (a WindowPicker, which the
// arrow keys pass over until it is opened), and a click or Space marks or clears an Always or
// Delete box; arriving on a box with the arrows or Tab leaves it alone, so that arrowing down
// the Delete column marks nothing. One wheel turn moves one row. A click on a heading sorts the
// view rows (see NumberOrderProxy); the table keeps its slot order.
class NumberGridView : public GridView {
    Q_OBJECT
public:
    explicit NumberGridView(NumberTable &table, QWidget *parent = nullptr);

    NumberOrderProxy *order() const { return entries; }

    using GridView::edit;
    // Keys on a cell that takes no typing do nothing: the grid never jumps to a row whose text
    // starts with them.
    void keyboardSearch(const QString &) override {}

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void toggleMark(const QModelIndex &index);

    NumberTable &numbers;
    NumberOrderProxy *entries;
    bool clicking = false;
};
