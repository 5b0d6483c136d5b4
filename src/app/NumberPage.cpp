#include "NumberPage.h"

#include "EnabledWatch.h"
#include "GridUndo.h"
#include "NumberFindBar.h"
#include "NumberGridView.h"
#include "PageButtons.h"
#include "numbers/NumberListWarnings.h"
#include "numbers/NumberTable.h"

#include <QHBoxLayout>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

// What the next press of "All Always" and "Delete all" sets goes back with their columns.
GridUndo::SideState buttonFlags(NumberTable &table) {
    GridUndo::SideState side;
    side.read = [&table] { return QList<int>{table.allAlwaysFlag(), table.deleteAllFlag()}; };
    side.write = [&table](const QList<int> &flags) {
        table.setButtonFlags(flags.value(0) != 0, flags.value(1) != 0);
    };
    return side;
}

} // namespace

NumberPage::NumberPage(NumberTable &table, QWidget *parent)
    : QWidget(parent)
    , read(makePageButton(QStringLiteral("Read"), makeButtonPanel(this), 8, 45))
    , save(makePageButton(QStringLiteral("Save"), read->parentWidget(), 8, 101))
    , importXls(makePageButton(QStringLiteral("Import .XLS"), read->parentWidget(), 8, 158))
    , exportXls(makePageButton(QStringLiteral("Export .XLS"), read->parentWidget(), 8, 214))
    , exportCsv(makePageButton(QStringLiteral("Export .CSV"), read->parentWidget(), 8, 271))
    , allAlways(makePageButton(QStringLiteral("All Always"), read->parentWidget(), 8, 330))
    , deleteAll(makePageButton(QStringLiteral("Delete all"), read->parentWidget(), 8, 385))
    , clearGrid(makePageButton(QStringLiteral("清空界面信息"), read->parentWidget(), 8, 539))
    , importCsv(makePageButton(QStringLiteral("Import .CSV"), read->parentWidget(), 8, 441))
    , removeExpired(makePageButton(QStringLiteral("Remove expired"), read->parentWidget(), 8, 497))
    , compareFile(
          makePageButton(QStringLiteral("Compare with file…"), read->parentWidget(), 8, 553))
    , strngrd3(new NumberGridView(table, this))
    , history(new GridUndo(table, *this, buttonFlags(table))) {
    clearGrid->hide();
    // A press whose column already held what it sets changes only the flag.
    connect(allAlways, &QPushButton::clicked, this, [this, &table] {
        table.flipAllAlways();
        history->sideStateTouched();
    });
    connect(deleteAll, &QPushButton::clicked, this, [this, &table] {
        table.flipDeleteAll();
        history->sideStateTouched();
    });
    // All marks of one press are one step: the undo history groups the edits of one event.
    connect(removeExpired, &QPushButton::clicked, this, [&table] {
        const QDateTime now = QDateTime::currentDateTime();
        for (int r = 1; r <= NumberTable::EntryCount; ++r)
            if (NumberListWarnings::isExpired(table, r, now))
                table.toggleMark(NumberTable::Delete, r);
    });
    // An edit of the list, locked while an operation runs as "Delete all" is.
    watchEnabled(deleteAll, [this](bool enabled) { removeExpired->setEnabled(enabled); });
    watchEnabled(read, [this](bool enabled) { compareFile->setEnabled(enabled); });

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(read->parentWidget());
    auto *gridColumn = new QVBoxLayout;
    gridColumn->setSpacing(0);
    finder = new NumberFindBar(table, *strngrd3, this);
    gridColumn->addWidget(finder);
    gridColumn->addWidget(strngrd3, 1);
    layout->addLayout(gridColumn, 1);
    auto *findKey = new QShortcut(QKeySequence::Find, this);
    findKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(findKey, &QShortcut::activated, finder, &NumberFindBar::focusField);
}
