#pragma once

#include <QTableView>
#include <initializer_list>

// A page grid: fixed column widths and row heights, no sizing by the operator, cell by cell
// selection, live scrolling.
class GridView : public QTableView {
    Q_OBJECT
public:
    GridView(std::initializer_list<int> columnWidths, int rowHeight, QWidget *parent = nullptr);

    // Applies the column widths; call after the model is set.
    void applyColumnWidths();

private:
    QList<int> widths;
};
