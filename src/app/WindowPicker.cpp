#include "WindowPicker.h"

#include <utility>

WindowPicker::WindowPicker(Kind kind, const QModelIndex &cell, QWidget *parent)
    : QDateTimeEdit(kind == Date ? QVariant(QDate(2000, 1, 1)) : QVariant(QTime(0, 0)),
                    kind == Date ? QMetaType::QDate : QMetaType::QTime, parent)
    , pickerKind(kind)
    , where(cell)
    , before(cell.data(Qt::EditRole).toString()) {
    loading = true;
    if (kind == Date) {
        setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        setCalendarPopup(true);
    } else {
        setDisplayFormat(QStringLiteral("HH:mm"));
    }
    loading = false;
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] {
        // A picker the view has let go of is hidden; what it still does is no pick.
        if (loading || !isVisible())
            return;
        changed = true;
        emit picked();
    });
}

void WindowPicker::load(const QDateTime &value) {
    const bool was = std::exchange(loading, true);
    if (pickerKind == Date)
        setDate(value.date());
    else
        setTime(value.time());
    loading = was;
}

QString WindowPicker::text() const {
    return pickerKind == Date ? date().toString(QStringLiteral("yyyy/MM/dd"))
                              : time().toString(QStringLiteral("HH:mm"));
}
