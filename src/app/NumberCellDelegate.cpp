#include "NumberCellDelegate.h"

#include "NumberWindowText.h"
#include "numbers/NumberListWarnings.h"
#include "numbers/NumberTable.h"

#include <QDateTime>
#include <QTimeEdit>

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
    QDateTimeEdit *picker = nullptr;
    if (isDateColumn(column)) {
        picker = new QDateEdit(parent);
        picker->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        picker->setCalendarPopup(true);
    } else {
        picker = new QTimeEdit(parent);
        picker->setDisplayFormat(QStringLiteral("HH:mm"));
    }
    // The view takes nothing from an editor it has not placed yet, so loading the cell's date
    // into a new picker writes nothing back.
    if (column == NumberTable::StartDate)
        connect(picker, &QDateTimeEdit::dateChanged, this, &NumberCellDelegate::commitPicked);
    return picker;
}

void NumberCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const {
    auto *picker = qobject_cast<QDateTimeEdit *>(editor);
    if (!picker) {
        CellDelegate::setEditorData(editor, index);
        return;
    }
    const int column = index.column();
    const QString text = index.data(Qt::EditRole).toString();
    if (isDateColumn(column))
        picker->setDate(NumberWindowText::date(text).value_or(lastDates[slotOf(column)]));
    else
        picker->setTime(NumberWindowText::time(text).value_or(lastTimes[slotOf(column)]));
    remember(column, *picker);
}

void NumberCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                      const QModelIndex &index) const {
    auto *picker = qobject_cast<QDateTimeEdit *>(editor);
    if (!picker) {
        CellDelegate::setModelData(editor, model, index);
        return;
    }
    const QString text = isDateColumn(index.column())
                             ? picker->date().toString(QStringLiteral("yyyy/MM/dd"))
                             : picker->time().toString(QStringLiteral("HH:mm"));
    model->setData(index, text);
    remember(index.column(), *picker);
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
