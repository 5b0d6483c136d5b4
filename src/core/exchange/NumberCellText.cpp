#include "exchange/NumberCellText.h"

#include <QDate>
#include <QLocale>
#include <QTime>

#include <cmath>
#include <optional>

namespace NumberCellText {

namespace {

// Characters the general format fills in a standard-width column.
constexpr int GeneralWidth = 11;

struct DayAndSeconds {
    qint64 day;
    int seconds;
};

// Splits a serial into whole days and the second of the day, rounded to the nearest second.
std::optional<DayAndSeconds> splitSerial(double serial) {
    // 2958465 is 9999-12-31, the last day a spreadsheet shows as a date.
    if (!(serial >= 0 && serial < 2958466.0))
        return std::nullopt;
    qint64 day = qint64(std::floor(serial));
    qint64 seconds = std::llround((serial - double(day)) * 86400.0);
    if (seconds >= 86400) {
        ++day;
        seconds -= 86400;
    }
    if (day > 2958465)
        return std::nullopt;
    return DayAndSeconds{day, int(seconds)};
}

QString dateText(qint64 day, DateSystem system) {
    if (system == DateSystem::From1904)
        return QDate(1904, 1, 1).addDays(day).toString(QStringLiteral("yyyy/MM/dd"));
    // The 1900 system counts 1900-01-01 as day 1 and has a day 60, 1900-02-29, that the
    // calendar has not; day 0 is shown as the 0th of January.
    if (day == 0)
        return QStringLiteral("1900/01/00");
    if (day == 60)
        return QStringLiteral("1900/02/29");
    const QDate base = day < 60 ? QDate(1899, 12, 31) : QDate(1899, 12, 30);
    return base.addDays(day).toString(QStringLiteral("yyyy/MM/dd"));
}

QString timeText(int seconds) {
    return QTime(0, 0).addSecs(seconds).toString(QStringLiteral("HH:mm:ss"));
}

// Removes what cannot tell a date from a number: quoted and escaped literals, fill and padding
// characters, and bracketed colours, conditions and locales. Elapsed-time brackets ([h], [mm],
// [ss]) are kept as their letters.
QString formatLetters(QStringView section) {
    QString letters;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == QLatin1Char('"')) {
            const qsizetype end = section.indexOf(QLatin1Char('"'), i + 1);
            i = end < 0 ? section.size() : end;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i;
        } else if (c == QLatin1Char('[')) {
            const qsizetype end = section.indexOf(QLatin1Char(']'), i + 1);
            const QStringView inside = section.mid(i + 1, (end < 0 ? section.size() : end) - i - 1);
            bool elapsed = !inside.isEmpty();
            for (QChar e : inside)
                elapsed = elapsed && QStringView(u"hHmMsS").contains(e);
            if (elapsed)
                letters += inside.toString().toLower();
            i = end < 0 ? section.size() : end;
        } else {
            letters += c.toLower();
        }
    }
    letters.remove(QLatin1String("am/pm")).remove(QLatin1String("a/p"));
    letters.remove(QLatin1String("e+")).remove(QLatin1String("e-"));
    return letters;
}

} // namespace

FormatKind builtinFormatKind(int formatId) {
    switch (formatId) {
    case 14:
    case 15:
    case 16:
    case 17:
    // East Asian built-in dates.
    case 27:
    case 28:
    case 29:
    case 30:
    case 31:
    case 36:
    case 50:
    case 51:
    case 52:
    case 53:
    case 54:
    case 57:
    case 58:
        return FormatKind::Date;
    case 18:
    case 19:
    case 20:
    case 21:
    case 45:
    case 46:
    case 47:
    case 32:
    case 33:
    case 34:
    case 35:
    case 55:
    case 56:
        return FormatKind::Time;
    case 22:
        return FormatKind::DateTime;
    default:
        return FormatKind::General;
    }
}

FormatKind formatCodeKind(QStringView code) {
    // The first section decides how positive numbers, and so dates, are shown.
    qsizetype end = 0;
    for (bool quoted = false; end < code.size(); ++end) {
        if (code[end] == QLatin1Char('"'))
            quoted = !quoted;
        else if (code[end] == QLatin1Char('\\') && !quoted)
            ++end;
        else if (code[end] == QLatin1Char(';') && !quoted)
            break;
    }
    const QString letters = formatLetters(code.left(std::min(end, code.size())));
    if (letters == QLatin1String("general"))
        return FormatKind::General;
    const bool date = letters.contains(QLatin1Char('d')) || letters.contains(QLatin1Char('y'));
    const bool time = letters.contains(QLatin1Char('h')) || letters.contains(QLatin1Char('s'));
    if (date && time)
        return FormatKind::DateTime;
    if (time)
        return FormatKind::Time;
    // A lone "m" is a month: "mmm" or "mmmm" name the month.
    if (date || letters.contains(QLatin1Char('m')))
        return FormatKind::Date;
    return FormatKind::General;
}

QString generalNumber(double number) {
    if (number == 0)
        return QStringLiteral("0");
    if (std::fabs(number) >= 1e11 || std::fabs(number) < 1e-9) {
        // Exponent form with six significant digits and no trailing zeros: 1.23457E+11, 1E-10.
        QString text = QString::number(number, 'E', 5);
        const qsizetype e = text.indexOf(QLatin1Char('E'));
        qsizetype keep = e;
        while (text.at(keep - 1) == QLatin1Char('0'))
            --keep;
        if (text.at(keep - 1) == QLatin1Char('.'))
            --keep;
        return text.left(keep) + text.mid(e);
    }
    // Fixed form within the eleven characters of a standard column, rounding the decimals.
    const int integerLength = int(QString::number(std::trunc(number), 'f', 0).length());
    const int decimals = std::max(0, GeneralWidth - integerLength - 1);
    QString text = QString::number(number, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString plainNumber(double number) {
    if (number == 0)
        return QStringLiteral("0");
    return QString::number(number, 'f', QLocale::FloatingPointShortest);
}

QString displayed(double number, FormatKind kind, DateSystem system) {
    const auto parts = kind == FormatKind::General ? std::nullopt : splitSerial(number);
    if (!parts)
        return generalNumber(number);
    switch (kind) {
    case FormatKind::Date:
        return dateText(parts->day, system);
    case FormatKind::Time:
        return timeText(parts->seconds);
    default:
        return dateText(parts->day, system) + QLatin1Char(' ') + timeText(parts->seconds);
    }
}

QString value(double number, FormatKind kind, DateSystem system) {
    const auto parts = kind == FormatKind::General ? std::nullopt : splitSerial(number);
    if (!parts)
        return plainNumber(number);
    if (parts->day == 0)
        return timeText(parts->seconds);
    if (parts->seconds == 0)
        return dateText(parts->day, system);
    return dateText(parts->day, system) + QLatin1Char(' ') + timeText(parts->seconds);
}

} // namespace NumberCellText
