#include "NumberRecord.h"

#include "NumberTable.h"
#include "NumberWindowText.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t AlwaysMark = 0x63;
constexpr uint8_t Erased = 0xFF;

// "%.2d": at least two digits.
QString twoDigits(uint8_t v) {
    return QString::number(v).rightJustified(2, u'0');
}

void putDate(const QString &text, uint8_t &month, uint8_t &day, uint8_t &year) {
    if (text.isEmpty())
        return;
    const NumberWindowText::DateFields d = NumberWindowText::dateFields(text);
    month = uint8_t(d.month);
    day = uint8_t(d.day);
    year = uint8_t(d.year % 100);
}

void putTime(const QString &text, uint8_t &hour, uint8_t &minute) {
    if (text.isEmpty())
        return;
    const NumberWindowText::TimeFields t = NumberWindowText::deviceTimeFields(text);
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
        if (!text.isEmpty() && !NumberWindowText::isDeviceDate(text))
            return false;
    }
    for (int col : {NumberTable::StartTime, NumberTable::EndTime}) {
        const QString text = table.cell(col, row);
        if (!text.isEmpty() && !NumberWindowText::isDeviceTime(text))
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
