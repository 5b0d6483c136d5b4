#include "NumberWindowText.h"

#include "numbers/NumberTable.h"

namespace {

// The number in `count` characters from `from`, or -1 when they are not all there and digits.
int digitsAt(const QString &text, qsizetype from, qsizetype count) {
    if (from < 0 || from + count > text.size())
        return -1;
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const QChar c = text[i];
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

int month(const QString &text) {
    return digitsAt(text, 5, 2);
}
int day(const QString &text) {
    return digitsAt(text, text.size() - 2, 2);
}
int hour(const QString &text) {
    return digitsAt(text, 0, 2);
}
int minute(const QString &text) {
    return digitsAt(text, 3, 2);
}

} // namespace

namespace NumberWindowText {

std::optional<QDate> date(const QString &text) {
    const int y = digitsAt(text, 0, 4);
    const int m = month(text);
    const int d = day(text);
    if (y < 0 || m < 0 || d < 0 || !QDate::isValid(y, m, d))
        return std::nullopt;
    return QDate(y, m, d);
}

std::optional<QTime> time(const QString &text) {
    const int h = hour(text);
    const int m = minute(text);
    if (h < 0 || m < 0 || !QTime::isValid(h, m, 0))
        return std::nullopt;
    return QTime(h, m);
}

bool outOfRange(int column, const QString &text) {
    switch (column) {
    case NumberTable::StartDate:
    case NumberTable::EndDate:
        return month(text) > 12 || day(text) > 31;
    case NumberTable::StartTime:
    case NumberTable::EndTime:
        return hour(text) > 23 || minute(text) > 59;
    default:
        return false;
    }
}

} // namespace NumberWindowText
