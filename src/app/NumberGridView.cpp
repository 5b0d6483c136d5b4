#include "NumberGridView.h"

#include "HeadingHeader.h"
#include "NumberMatchDelegate.h"
#include "NumberOrderProxy.h"
#include "WindowPicker.h"
#include "numbers/NumberTable.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>

NumberGridView::NumberGridView(NumberTable &table, QWidget *parent)
    : GridView({45, 145, 83, 91, 89, 86, 78, 76}, 24, parent)
    , numbers(table)
    , entries(new NumberOrderProxy(this)) {
    setObjectName(QStringLiteral("strngrd3"));
    setHorizontalHeader(new HeadingHeader(palette().color(QPalette::Button), this));
    entries->setSourceModel(&numbers);
    setModel(entries);
    applyColumnWidths();
    horizontalHeader()->setFixedHeight(24);
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, entries,
            &NumberOrderProxy::headingClicked);
    // Entry 20 is a little lower than the others, as the device tool has always shown it.
    verticalHeader()->resizeSection(19, 21);
    // A wheel turn's single step is then one row.
    setVerticalScrollMode(ScrollPerItem);
    setItemDelegate(new NumberMatchDelegate(this));
    setEditTriggers(CurrentChanged | SelectedClicked | DoubleClicked | EditKeyPressed |
                    AnyKeyPressed);
    connect(this, &QAbstractItemView::clicked, this, &NumberGridView::toggleMark);
}

bool NumberGridView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) {
    // Arriving on a window cell puts its picker over it, but only while the operator is in the
    // grid: a cell made current from elsewhere opens nothing. The number opens its editor only
    // when typed into or clicked again.
    if (trigger == CurrentChanged && (!hasFocus() || !NumberTable::isWindowColumn(index.column())))
        return false;
    if (!GridView::edit(index, trigger, event))
        return false;
    // A picker the keyboard arrived on lets the arrow keys move on; one the operator clicked or
    // asked for (Enter, F2, a typed key) takes them.
    if (trigger != CurrentChanged || clicking)
        if (auto *picker = qobject_cast<WindowPicker *>(indexWidget(index)))
            picker->open();
    return true;
}

void NumberGridView::mousePressEvent(QMouseEvent *event) {
    clicking = true;
    GridView::mousePressEvent(event);
    clicking = false;
}

void NumberGridView::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier &&
        NumberTable::isYesNoColumn(currentIndex().column())) {
        toggleMark(currentIndex());
        return;
    }
    GridView::keyPressEvent(event);
}

void NumberGridView::wheelEvent(QWheelEvent *event) {
    const int delta = event->angleDelta().y();
    // A sideways wheel scrolls sideways as usual.
    if (delta == 0) {
        GridView::wheelEvent(event);
        return;
    }
    verticalScrollBar()->triggerAction(delta < 0 ? QAbstractSlider::SliderSingleStepAdd
                                                 : QAbstractSlider::SliderSingleStepSub);
    event->accept();
}

void NumberGridView::toggleMark(const QModelIndex &index) {
    const QModelIndex entry = entries->mapToSource(index);
    numbers.toggleMark(entry.column(), entry.row());
}
