#include "NumberFindBar.h"

#include "NumberGridView.h"
#include "NumberOrderProxy.h"
#include "numbers/NumberFind.h"
#include "numbers/NumberTable.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

NumberFindBar::NumberFindBar(NumberTable &table, NumberGridView &grid, QWidget *parent)
    : QWidget(parent)
    , table(table)
    , grid(grid)
    , edit(new QLineEdit(this))
    , count(new QLabel(this)) {
    edit->setPlaceholderText(QStringLiteral("Find number"));
    edit->setClearButtonEnabled(true);
    edit->setFixedWidth(160);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(edit);
    layout->addWidget(count);
    layout->addStretch(1);
    // While typing, the current row stays as long as it still matches.
    connect(edit, &QLineEdit::textChanged, this, [this] {
        search();
        goToMatch(true);
    });
    connect(edit, &QLineEdit::returnPressed, this, [this] { goToMatch(false); });
    // A read, an import or typing in the grid changes the numbers: the marks follow, the current
    // row stays.
    connect(&table, &NumberTable::dataChanged, this, [this] {
        if (!edit->text().isEmpty())
            search();
    });
}

void NumberFindBar::focusField() {
    edit->setFocus(Qt::ShortcutFocusReason);
    edit->selectAll();
}

void NumberFindBar::search() {
    matches = NumberFind::matchingRows(table, edit->text());
    grid.order()->setMatches(matches);
    if (edit->text().trimmed().isEmpty())
        count->clear();
    else if (matches.size() == 1)
        count->setText(QStringLiteral("1 match"));
    else
        count->setText(QStringLiteral("%1 matches").arg(matches.size()));
}

void NumberFindBar::goToMatch(bool fromCurrent) {
    const QModelIndex current = grid.currentIndex();
    const int from = current.isValid() ? current.row() - (fromCurrent ? 1 : 0) : -1;
    const int row = NumberFind::nextAfter(matchedViewRows(), from);
    if (row < 0)
        return;
    const QModelIndex target = grid.model()->index(row, NumberTable::Number);
    grid.setCurrentIndex(target);
    grid.scrollTo(target, QAbstractItemView::PositionAtCenter);
}

QList<int> NumberFindBar::matchedViewRows() const {
    QList<int> rows;
    rows.reserve(matches.size());
    for (int r : matches)
        rows << grid.order()->mapFromSource(table.index(r, NumberTable::Number)).row();
    std::sort(rows.begin(), rows.end());
    return rows;
}
