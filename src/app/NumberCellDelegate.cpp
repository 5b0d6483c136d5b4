#include "NumberCellDelegate.h"

#include "WindowPicker.h"
#include "numbers/NumberListWarnings.h"
#include "numbers/NumberTable.h"
#include "numbers/NumberWindowText.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>

namespace {

const QColor OutOfRangeFill(192, 220, 192);
const QColor EndedInk(150, 150, 150);

CellDelegate::Look numberLook(const QWidget &view) {
    const QColor face = view.palette().color(QPalette::Button);
    return {face, face, false, {NumberTable::Always, NumberTable::Delete}, true};
}

bool isDateColumn(int column) {
    return column == NumberTable::StartDate || column == NumberTable::EndDate;
}

// 0 for the start columns, 1 for the end columns.
size_t slotOf(int column) {
    return column == NumberTable::StartDate || column == NumberTable::StartTime ? 0 : 1;
}

// Keys that move the grid's current cell while a picker is not opened.
bool movesTheGrid(const QKeyEvent &key) {
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

bool opensThePicker(const QKeyEvent &key) {
    return (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
           (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_F2);
}

} // namespace

NumberCellDelegate::NumberCellDelegate(QWidget *view)
    : CellDelegate(numberLook(*view), view) {
    const QDateTime now = QDateTime::currentDateTime();
    lastDates = {QDate(2015, 3, 6), now.date()};
    lastTimes = {QTime(0, 0), now.time()};
}

void NumberCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const {
    QStyleOptionViewItem cell(option);
    if (index.column() == NumberTable::Serial) {
        // The fixed column is disabled so that it never becomes current; its numbers keep the
        // usual ink all the same.
        cell.palette.setCurrentColorGroup(QPalette::Active);
    } else if (NumberWindowText::outOfRange(index.column(), index.data().toString())) {
        cell.palette.setColor(QPalette::Base, OutOfRangeFill);
    } else if (index.column() == NumberTable::EndDate &&
               NumberListWarnings::isExpired(
                   [&index](int column) { return index.siblingAtColumn(column).data().toString(); },
                   QDateTime::currentDateTime())) {
        // An entry whose window has ended: the save still writes it, the review names it.
        cell.palette.setColor(QPalette::Text, EndedInk);
    }
    CellDelegate::paint(painter, cell, index);
}

QWidget *NumberCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                          const QModelIndex &index) const {
    const int column = index.column();
    if (!NumberTable::isWindowColumn(column))
        return CellDelegate::createEditor(parent, option, index);
    auto *picker = new WindowPicker(isDateColumn(column) ? WindowPicker::Date : WindowPicker::Time,
                                    index, parent);
    if (column == NumberTable::StartDate)
        connect(picker, &WindowPicker::picked, this, &NumberCellDelegate::commitPicked);
    return picker;
}

void NumberCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const {
    auto *picker = qobject_cast<WindowPicker *>(editor);
    if (!picker) {
        CellDelegate::setEditorData(editor, index);
        return;
    }
    const int column = index.column();
    const QString text = index.data(Qt::EditRole).toString();
    if (isDateColumn(column))
        picker->load(
            QDateTime(NumberWindowText::date(text).value_or(lastDates[slotOf(column)]), QTime()));
    else
        picker->load(QDateTime(QDate(2000, 1, 1),
                               NumberWindowText::time(text).value_or(lastTimes[slotOf(column)])));
    remember(column, *picker);
}

void NumberCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                      const QModelIndex &index) const {
    auto *picker = qobject_cast<WindowPicker *>(editor);
    if (!picker) {
        CellDelegate::setModelData(editor, model, index);
        return;
    }
    // A picker the operator only passed over leaves its cell as it was, empty or as the device
    // wrote it.
    if (!picker->changedByOperator())
        return;
    model->setData(index, picker->text());
    remember(index.column(), *picker);
}

bool NumberCellDelegate::eventFilter(QObject *object, QEvent *event) {
    auto *picker = qobject_cast<WindowPicker *>(object);
    auto *view = qobject_cast<QAbstractItemView *>(parent());
    if (picker && view && !picker->isOpened() && event->type() == QEvent::Wheel) {
        // The wheel scrolls the grid over a picker the operator has not opened.
        QApplication::sendEvent(view->viewport(), event);
        return true;
    }
    if (!picker || event->type() != QEvent::KeyPress)
        return CellDelegate::eventFilter(object, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (!picker->isOpened() && opensThePicker(*key)) {
        picker->open();
        return true;
    }
    if (!picker->isOpened() && movesTheGrid(*key)) {
        // The view moves its current cell as it does anywhere else; the picker goes with the
        // cell it leaves.
        if (view)
            QApplication::sendEvent(view, key);
        return true;
    }
    if (key->key() == Qt::Key_Escape && picker->changedByOperator() && picker->cell().isValid())
        // A start date shows in its cell as soon as it is picked; cancelling takes it back.
        const_cast<QAbstractItemModel *>(picker->cell().model())
            ->setData(picker->cell(), picker->cellBefore());
    return CellDelegate::eventFilter(object, event);
}

void NumberCellDelegate::remember(int column, const QDateTimeEdit &picker) const {
    if (isDateColumn(column))
        lastDates[slotOf(column)] = picker.date();
    else
        lastTimes[slotOf(column)] = picker.time();
}

void NumberCellDelegate::commitPicked() {
    emit commitData(qobject_cast<QWidget *>(sender()));
}
