#include "PageButtons.h"

QPushButton *makePageButton(const QString &caption, QWidget *parent, int left, int top) {
    auto *b = new QPushButton(caption, parent);
    b->setGeometry(left, top, 85, 30);
    return b;
}

QWidget *makeButtonPanel(QWidget *page) {
    auto *panel = new QWidget(page);
    panel->setFixedWidth(100);
    return panel;
}
