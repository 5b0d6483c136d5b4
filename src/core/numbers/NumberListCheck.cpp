#include "NumberListCheck.h"

#include "NumberRecord.h"
#include "NumberTable.h"

#include <QStringList>
#include <functional>

namespace {

// "<lead>" N CR "Wrong serial number:" and the first three serials, then ",...." when there are
// more.
QString listFaults(const NumberTable &table, const QString &lead,
                   const std::function<bool(int row)> &faulty) {
    QStringList serials;
    int count = 0;
    for (int r = 1; r <= NumberTable::EntryCount; ++r) {
        if (!faulty(r))
            continue;
        if (++count <= 3)
            serials << table.cell(NumberTable::Serial, r);
    }
    if (count == 0)
        return {};
    QString text = lead + QString::number(count) + u'\r' + QStringLiteral("Wrong serial number:") +
                   serials.join(u',');
    if (count > 3)
        text += QStringLiteral(",....");
    return text;
}

} // namespace

namespace NumberListCheck {

QString windows(const NumberTable &table) {
    return listFaults(
        table,
        QStringLiteral("Wrong operation:please select \"Always\" or setting the Start-End date "
                       "and time.Total:"),
        [&](int r) {
            if (table.cell(NumberTable::Number, r).isEmpty() ||
                table.cell(NumberTable::Delete, r) != QLatin1String("no") ||
                table.cell(NumberTable::Always, r) != QLatin1String("no"))
                return false;
            for (int c = NumberTable::StartDate; c <= NumberTable::EndTime; ++c)
                if (table.cell(c, r).isEmpty())
                    return true;
            return false;
        });
}

QString deviceValues(const NumberTable &table) {
    return listFaults(table,
                      QStringLiteral("Wrong data:numbers take + and digits (at most 22), dates "
                                     "and times must be real.Total:"),
                      [&](int r) { return !NumberRecord::rowIsWritable(table, r); });
}

} // namespace NumberListCheck
