#include "numbers/NumberWindowText.h"

#include "numbers/NumberTable.h"

#include <QRegularExpression>

namespace {

// The number in `count` characters from `from`, or -1 when they are not all there and digits.
int digitsAt(const QString &text, qsizetype from, qsizetype count) {
    if (from < 0 || count <= 0 || from + count > text.size())
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

// The grid's reading of a time: fixed positions, whatever the separator.
NumberWindowText::TimeFields gridTimeFields(const QString &text) {
    return {digitsAt(text, 0, 2), digitsAt(text, 3, 2)};
}

// As the conversion the import check stands for reads integers: leading blanks, an optional
// sign, then decimal digits to the end.
bool isInteger(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i)
        if (text[i] < u'0' || text[i] > u'9')
            return false;
    return true;
}

} // namespace

namespace NumberWindowText {

DateFields dateFields(const QString &text) {
    return {digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, text.size() - 2, 2)};
}

TimeFields deviceTimeFields(const QString &text) {
    const qsizetype colon = text.indexOf(u':');
    if (colon < 0)
        return {-1, -1};
    const qsizetype after = text.size() - colon - 1;
    return {digitsAt(text, 0, colon), digitsAt(text, colon + 1,
                                               after == 2   ? 2
                                               : after == 1 ? 1
                                                            : 0)};
}

bool isDeviceDate(const QString &text) {
    if (text.size() != 10)
        return false;
    const DateFields d = dateFields(text);
    return d.year >= 2000 && d.year <= 2099 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= 31;
}

bool isDeviceTime(const QString &text) {
    const TimeFields t = deviceTimeFields(text);
    const qsizetype colon = text.indexOf(u':');
    return colon >= 1 && colon <= 2 && text.size() - colon - 1 >= 1 &&
           text.size() - colon - 1 <= 2 && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
           t.minute <= 59;
}

std::optional<QDateTime> deviceMoment(const QString &date, const QString &time) {
    if (!isDeviceDate(date) || !isDeviceTime(time))
        return std::nullopt;
    const DateFields d = dateFields(date);
    const TimeFields t = deviceTimeFields(time);
    const QDate day(d.year, d.month, d.day);
    if (!day.isValid())
        return std::nullopt;
    return QDateTime(day, QTime(t.hour, t.minute));
}

std::optional<MomentCells> typedMoment(const QString &text) {
    static const QRegularExpression form(QStringLiteral(R"(^(\d{4}/\d{2}/\d{2}) (\d{2}:\d{2})$)"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch() || !deviceMoment(m.captured(1), m.captured(2)))
        return std::nullopt;
    return MomentCells{m.captured(1), m.captured(2)};
}

std::optional<QDate> date(const QString &text) {
    const DateFields d = dateFields(text);
    if (d.year < 0 || d.month < 0 || d.day < 0 || !QDate::isValid(d.year, d.month, d.day))
        return std::nullopt;
    return QDate(d.year, d.month, d.day);
}

std::optional<QTime> time(const QString &text) {
    const TimeFields t = gridTimeFields(text);
    if (t.hour < 0 || t.minute < 0 || !QTime::isValid(t.hour, t.minute, 0))
        return std::nullopt;
    return QTime(t.hour, t.minute);
}

bool outOfRange(int column, const QString &text) {
    switch (column) {
    case NumberTable::StartDate:
    case NumberTable::EndDate: {
        const DateFields d = dateFields(text);
        return d.month > 12 || d.day > 31;
    }
    case NumberTable::StartTime:
    case NumberTable::EndTime: {
        const TimeFields t = gridTimeFields(text);
        return t.hour > 23 || t.minute > 59;
    }
    default:
        return false;
    }
}

bool isImportDate(QStringView text) {
    return text.size() == 10 && isInteger(text.mid(5, 2)) && isInteger(text.right(2)) &&
           isInteger(text.mid(2, 2));
}

bool isImportTime(QStringView text) {
    return text.size() == 5 && isInteger(text.left(2)) && isInteger(text.right(2));
}

} // namespace NumberWindowText
