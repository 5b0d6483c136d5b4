#include "GridView.h"

#include <QHeaderView>

GridView::GridView(std::initializer_list<int> columnWidths, int rowHeight, QWidget *parent)
    : QTableView(parent)
    , widths(columnWidths) {
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setTabKeyNavigation(true);
    setFocusPolicy(Qt::ClickFocus);
}

void GridView::applyColumnWidths() {
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(0);
    for (int c = 0; c < widths.size(); ++c)
        setColumnWidth(c, widths[c]);
}
