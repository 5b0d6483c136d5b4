#include "NumberListCheck.h"

#include "FaultySerials.h"
#include "NumberRecord.h"
#include "NumberTable.h"

#include <functional>

namespace {

// "<lead>" N CR "Wrong serial number:" and the serials of the faulty rows.
QString listFaults(const NumberTable &table, const QString &lead,
                   const std::function<bool(int row)> &faulty) {
    FaultySerials serials;
    for (int r = 1; r <= NumberTable::EntryCount; ++r) {
        if (faulty(r))
            serials.add(table.cell(NumberTable::Serial, r));
    }
    return serials.message(lead, QStringLiteral("Wrong serial number:"));
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
