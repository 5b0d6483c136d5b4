#pragma once

#include "NumberGridView.h"
#include "NumberPage.h"
#include "numbers/NumberTable.h"

#include <QSize>
#include <QTest>

// The number page shown on its own and active, so that clicks and keys reach the grid and its
// pickers as they would for a person.
struct ShownNumberPage {
    NumberTable table;
    NumberPage page{table};
    NumberGridView &grid = *page.grid();

    explicit ShownNumberPage(QSize size) {
        page.resize(size);
        page.show();
        page.activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(&page); }
};
