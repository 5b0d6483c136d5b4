#include "HistoryFilter.h"

#include "HistoryTable.h"
#include "HistoryText.h"

#include <QStringList>
#include <algorithm>
#include <optional>
#include <vector>

namespace {

struct Entry {
    QStringList texts; // columns 1..7
    int date = 0;      // YYMMDD, two-digit year
    int time = 0;      // HHMMSS
};

// A whole number from part of a text, or the reason it is none in `failure`.
int part(const QString &text, int from, int count, QString &failure) {
    const QString piece = HistoryText::copy(text, from, count);
    const std::optional<int> value = HistoryText::toInt(piece);
    if (!value && failure.isEmpty())
        failure = HistoryText::notAnInteger(piece);
    return value.value_or(0);
}

// Characters 3-4, 6-7 and the last two of "2015-03-07": 150307. Only two digits of the year
// count, so the window's bounds drop their century too.
int dateNumber(const QString &text, QString &failure) {
    if (text == QLatin1String("null"))
        return 0;
    return part(text, 3, 2, failure) * 10000 + part(text, 6, 2, failure) * 100 +
           part(text, int(text.size()) - 1, 2, failure);
}

int timeNumber(const QString &text, QString &failure) {
    if (text == QLatin1String("null"))
        return 0;
    return part(text, 1, 2, failure) * 10000 + part(text, 4, 2, failure) * 100 +
           part(text, int(text.size()) - 1, 2, failure);
}

int hms(const QTime &t) {
    return t.hour() * 10000 + t.minute() * 100 + t.second();
}

int dayNumber(int year, const QDate &d) {
    return year * 10000 + d.month() * 100 + d.day();
}

bool isStamp(const QString &text) {
    return !text.isEmpty() && text != QLatin1String("Invalid");
}

} // namespace

bool HistoryFilter::isValid(const HistoryWindow &w) {
    const int fullStart = dayNumber(w.startDate.year(), w.startDate);
    const int fullEnd = dayNumber(w.endDate.year(), w.endDate);
    return fullEnd > fullStart || (fullEnd == fullStart && hms(w.startTime) < hms(w.endTime));
}

HistoryFilter::Result HistoryFilter::apply(HistoryTable &table, const HistoryWindow &w) {
    Result result;
    const int ts = hms(w.startTime);
    const int te = hms(w.endTime);
    if (!isValid(w)) {
        result.message = QStringLiteral("Time selection error");
        return result;
    }

    std::vector<Entry> candidates;
    QString failure;
    for (int r = 1; r <= HistoryTable::RecordCount; ++r) {
        const QString date = table.cell(HistoryTable::Date, r);
        const QString time = table.cell(HistoryTable::Time, r);
        if (!isStamp(table.cell(HistoryTable::RecordNo, r)) || !isStamp(date) || !isStamp(time))
            continue;
        candidates.push_back(
            {table.recordTexts(r), dateNumber(date, failure), timeNumber(time, failure)});
        if (!failure.isEmpty()) {
            result.status = QStringLiteral("Records:%1").arg(candidates.size() - 1);
            result.message = failure;
            return result;
        }
    }
    if (candidates.empty()) {
        result.status = QStringLiteral("Records:0");
        result.message = QStringLiteral("No correct records");
        return result;
    }

    const int low = dayNumber(w.startDate.year() % 100, w.startDate);
    const int high = dayNumber(w.endDate.year() % 100, w.endDate);
    std::vector<Entry> selected;
    for (const Entry &e : candidates) {
        const auto stamp = std::make_pair(e.date, e.time);
        if (std::make_pair(low, ts) < stamp && stamp < std::make_pair(high, te))
            selected.push_back(e);
    }
    if (selected.empty()) {
        result.status = QStringLiteral("Search");
        result.message = QStringLiteral("No records");
        return result;
    }
    std::stable_sort(selected.begin(), selected.end(), [](const Entry &a, const Entry &b) {
        return std::make_pair(a.date, a.time) < std::make_pair(b.date, b.time);
    });

    QList<QStringList> rows;
    for (const Entry &e : selected)
        rows << e.texts;
    table.replaceRecords(rows);
    result.status = QStringLiteral("Records");
    result.filtered = true;
    return result;
}
