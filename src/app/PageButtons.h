#pragma once

#include <QPushButton>
#include <QString>

// A page button of the usual 85 x 30 size at its place on the page.
QPushButton *makePageButton(const QString &caption, QWidget *parent, int left, int top);

// The 100-pixel strip at the left of a page that holds its buttons.
QWidget *makeButtonPanel(QWidget *page);
