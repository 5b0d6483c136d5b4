#include "RandomNumberList.h"

#include "numbers/NumberTable.h"

#include <QRandomGenerator>
#include <QString>

void fillRandomNumberList(NumberTable &t, QRandomGenerator &random) {
    const auto two = [&](int low, int high) {
        return QString::number(random.bounded(low, high + 1)).rightJustified(2, u'0');
    };
    // Days up to the 28th: every date is a real one.
    const auto date = [&] { return "20" + two(0, 99) + '-' + two(1, 12) + '-' + two(1, 28); };
    const auto time = [&] { return two(0, 23) + ':' + two(0, 59); };
    for (int r = 1; r <= NumberTable::EntryCount; ++r) {
        const int kind = random.bounded(4); // unused, Always, two kinds with a window
        QString number;
        if (kind != 0) {
            number = random.bounded(2) ? QStringLiteral("+") : QString();
            const int digits = random.bounded(1, 22 - int(number.size()) + 1);
            for (int i = 0; i < digits; ++i)
                number += QChar(u'0' + random.bounded(10));
        }
        const bool window = kind >= 2;
        t.setCell(NumberTable::Number, r, number);
        t.setCell(NumberTable::StartDate, r, window ? date() : QString());
        t.setCell(NumberTable::StartTime, r, window ? time() : QString());
        t.setCell(NumberTable::EndDate, r, window ? date() : QString());
        t.setCell(NumberTable::EndTime, r, window ? time() : QString());
        t.setCell(NumberTable::Always, r, kind == 1 ? "yes" : "no");
        t.setCell(NumberTable::Delete, r, "no");
    }
}
