#include "NumberRecord.h"

#include "NumberTable.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t AlwaysMark = 0x63;
constexpr uint8_t Erased = 0xFF;

// Decimal value of text[from, from + count), or -1 unless all of it is digits.
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

struct Date {
    int year, month, day;
};
struct Time {
    int hour, minute;
};

// Year from characters 1-4 (only its last two digits go to the device), month from 6-7, day from
// the last two.
Date dateOf(const QString &text) {
    return {digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, text.size() - 2, 2)};
}

// Hour before the first ':'; minute the last two characters when exactly two follow the ':',
// otherwise the last one ("9:5", "9:05" and "09:05" are all 09:05).
Time timeOf(const QString &text) {
    const qsizetype colon = text.indexOf(u':');
    if (colon < 0)
        return {-1, -1};
    const qsizetype after = text.size() - colon - 1;
    return {digitsAt(text, 0, colon), digitsAt(text, colon + 1,
                                               after == 2   ? 2
                                               : after == 1 ? 1
                                                            : 0)};
}

// "%.2d": at least two digits.
QString twoDigits(uint8_t v) {
    return QString::number(v).rightJustified(2, u'0');
}

void putDate(const QString &text, uint8_t &month, uint8_t &day, uint8_t &year) {
    if (text.isEmpty())
        return;
    const Date d = dateOf(text);
    month = uint8_t(d.month);
    day = uint8_t(d.day);
    year = uint8_t(d.year % 100);
}

void putTime(const QString &text, uint8_t &hour, uint8_t &minute) {
    if (text.isEmpty())
        return;
    const Time t = timeOf(text);
    hour = uint8_t(t.hour);
    minute = uint8_t(t.minute);
}

} // namespace

namespace NumberRecord {

bool isDeviceNumber(const QString &number) {
    if (number.size() > NumberSize)
        return false;
    return std::all_of(number.begin(), number.end(),
                       [](QChar c) { return c == u'+' || (c >= u'0' && c <= u'9'); });
}

bool isDeviceDate(const QString &text) {
    if (text.size() != 10)
        return false;
    const Date d = dateOf(text);
    return d.year >= 2000 && d.year <= 2099 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= 31;
}

bool isDeviceTime(const QString &text) {
    const Time t = timeOf(text);
    const qsizetype colon = text.indexOf(u':');
    return colon >= 1 && colon <= 2 && text.size() - colon - 1 >= 1 &&
           text.size() - colon - 1 <= 2 && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
           t.minute <= 59;
}

bool rowIsWritable(const NumberTable &table, int row) {
    const auto yes = [&](int col) { return table.cell(col, row) == QLatin1String("yes"); };
    const QString number = table.cell(NumberTable::Number, row);
    if (yes(NumberTable::Delete) || number.isEmpty())
        return true;
    if (!isDeviceNumber(number))
        return false;
    if (yes(NumberTable::Always))
        return true;
    for (int col : {NumberTable::StartDate, NumberTable::EndDate}) {
        const QString text = table.cell(col, row);
        if (!text.isEmpty() && !isDeviceDate(text))
            return false;
    }
    for (int col : {NumberTable::StartTime, NumberTable::EndTime}) {
        const QString text = table.cell(col, row);
        if (!text.isEmpty() && !isDeviceTime(text))
            return false;
    }
    return true;
}

void encode(const NumberTable &table, int row, uint8_t *r) {
    std::memset(r, 0, Size);
    if (table.cell(NumberTable::Delete, row) == QLatin1String("yes")) {
        std::memset(r, Erased, Size);
        return;
    }
    const QString number = table.cell(NumberTable::Number, row);
    // A row without a number stays unused, whatever its marks say: an Always record with no
    // number could be taken as "any caller, always".
    if (number.isEmpty())
        return;
    const QByteArray digits = number.left(NumberSize).toLatin1();
    std::memcpy(r, digits.constData(), size_t(digits.size()));
    if (table.cell(NumberTable::Always, row) == QLatin1String("yes")) {
        std::memset(r + 22, AlwaysMark, 8);
        r[30] = 0x00;
        r[31] = AlwaysMark;
        return;
    }
    putDate(table.cell(NumberTable::StartDate, row), r[22], r[23], r[30]);
    putTime(table.cell(NumberTable::StartTime, row), r[24], r[25]);
    putDate(table.cell(NumberTable::EndDate, row), r[26], r[27], r[31]);
    putTime(table.cell(NumberTable::EndTime, row), r[28], r[29]);
}

void decode(const uint8_t *r, NumberTable &table, int row) {
    QString number;
    for (int i = 0; i < NumberSize && (r[i] == '+' || (r[i] >= '0' && r[i] <= '9')); ++i)
        number += QChar(r[i]);
    table.setCell(NumberTable::Number, row, number);
    // A date whose month or day byte is 0 is no date: the cell is emptied rather than keeping
    // what the row held before, which belonged to other data.
    const auto date = [](uint8_t year, uint8_t month, uint8_t day) {
        return month != 0 && day != 0 ? QStringLiteral("20") + twoDigits(year) + u'-' +
                                            twoDigits(month) + u'-' + twoDigits(day)
                                      : QString();
    };
    table.setCell(NumberTable::StartDate, row, date(r[30], r[22], r[23]));
    table.setCell(NumberTable::StartTime, row, twoDigits(r[24]) + u':' + twoDigits(r[25]));
    table.setCell(NumberTable::EndDate, row, date(r[31], r[26], r[27]));
    table.setCell(NumberTable::EndTime, row, twoDigits(r[28]) + u':' + twoDigits(r[29]));
    const bool always = std::all_of(r + 22, r + 30, [](uint8_t b) { return b == AlwaysMark; });
    if (r[22] == Erased || number.isEmpty() || always) {
        for (int c = NumberTable::StartDate; c <= NumberTable::EndTime; ++c)
            table.setCell(c, row, QString());
    }
    table.setCell(NumberTable::Always, row, always ? QStringLiteral("yes") : QStringLiteral("no"));
}

} // namespace NumberRecord
