#include "numbers/NumberListWarnings.h"

#include "numbers/NumberTable.h"
#include "numbers/NumberWindowText.h"

#include <QMap>

namespace {

bool isWritten(const std::function<QString(int column)> &cell) {
    return !cell(NumberTable::Number).isEmpty() &&
           cell(NumberTable::Delete) != QLatin1String("yes");
}

std::function<QString(int column)> cellsOf(const NumberTable &table, int row) {
    return [&table, row](int column) { return table.cell(column, row); };
}

// The serials of a finding; a long list names the first ten and counts the rest, so that one
// finding stays one line.
QString serialList(const QStringList &serials) {
    constexpr int shown = 10;
    if (serials.size() <= shown)
        return serials.join(QStringLiteral(", "));
    return serials.first(shown).join(QStringLiteral(", ")) +
           QStringLiteral(" and %1 more").arg(serials.size() - shown);
}

} // namespace

namespace NumberListWarnings {

bool isExpired(const NumberTable &table, int row, const QDateTime &now) {
    return isExpired(cellsOf(table, row), now);
}

bool isExpired(const std::function<QString(int column)> &cell, const QDateTime &now) {
    if (!isWritten(cell) || cell(NumberTable::Always) == QLatin1String("yes"))
        return false;
    // A day the calendar lacks (31 April) is no moment; the device never reaches it either.
    const auto end =
        NumberWindowText::deviceMoment(cell(NumberTable::EndDate), cell(NumberTable::EndTime));
    return end && *end < now;
}

QStringList of(const NumberTable &table, const QDateTime &now) {
    QMap<QString, QStringList> serialsOf;
    QStringList expired, withPlus, withoutPlus;
    for (int r = 1; r <= NumberTable::EntryCount; ++r) {
        if (!isWritten(cellsOf(table, r)))
            continue;
        const QString serial = table.cell(NumberTable::Serial, r);
        const QString number = table.cell(NumberTable::Number, r);
        serialsOf[number] << serial;
        (number.startsWith(u'+') ? withPlus : withoutPlus) << serial;
        if (isExpired(table, r, now))
            expired << serial;
    }
    QStringList lines;
    for (auto it = serialsOf.cbegin(); it != serialsOf.cend(); ++it)
        if (it->size() > 1)
            lines << QStringLiteral("Number %1 is in serials %2").arg(it.key(), serialList(*it));
    if (!expired.isEmpty())
        lines << QStringLiteral("Validity ended before now: serials %1").arg(serialList(expired));
    if (!withPlus.isEmpty() && !withoutPlus.isEmpty())
        lines << QStringLiteral("Numbers in two styles: with \"+\" country code in serials %1; "
                                "without in serials %2")
                     .arg(serialList(withPlus), serialList(withoutPlus));
    return lines;
}

QString addTo(const QString &details, const NumberTable &table, const QDateTime &now) {
    const QStringList lines = of(table, now);
    if (lines.isEmpty())
        return details;
    const QString group = QStringLiteral("Warnings:\n") + lines.join(u'\n');
    return details.isEmpty() ? group : details + QStringLiteral("\n\n") + group;
}

} // namespace NumberListWarnings
