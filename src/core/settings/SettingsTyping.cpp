#include "SettingsTyping.h"

#include "SettingsTable.h"

#include <algorithm>

namespace SettingsTyping {

namespace {

// What entered the cell: the part of `after` that ends at the cursor and begins where `before`
// stops matching. Only a text put over a selection that starts the same way ("7482" selected,
// "7a82" pasted) leaves the boundary unsure, and either reading keeps the same characters. A
// character of two UTF-16 units is never split.
struct Entered {
    qsizetype at = 0;
    qsizetype size = 0;
};

Entered enteredText(const QString &before, const QString &after, qsizetype cursor) {
    const qsizetype shorter = std::min(before.size(), after.size());
    const qsizetype afterCursor = after.size() - std::clamp<qsizetype>(cursor, 0, after.size());
    qsizetype tail = 0;
    while (tail < std::min(shorter, afterCursor) &&
           before.at(before.size() - 1 - tail) == after.at(after.size() - 1 - tail))
        ++tail;
    if (tail > 0 && after.at(after.size() - tail).isLowSurrogate())
        --tail;
    qsizetype head = 0;
    while (head < shorter - tail && before.at(head) == after.at(head))
        ++head;
    if (head > 0 && after.at(head - 1).isHighSurrogate())
        --head;
    return {head, after.size() - head - tail};
}

} // namespace

Rule ruleFor(int row) {
    if (SettingsTable::isChoiceRow(row))
        return {true, false, 0, row + 1};
    switch (row) {
    case 1:
        return {false, true, 4, 2};
    case 2:
        return {false, true, 22, 3};
    case 5:
    case 6:
    case 13:
    case 14:
        return {false, false, 40, row + 1};
    case 7:
    case 10:
    case 15:
    case 16:
        return {false, true, 3, row + 1};
    case 17:
        return {false, true, 4, 18};
    case 18:
        return {false, false, 32, 19};
    case 19:
        return {false, false, 5, 20};
    case 20:
    case 21:
        return {false, false, 16, row + 1};
    case 22:
        // The last row has no next one: the limit sends the selection back up.
        return {false, false, 16, 21};
    default:
        return {};
    }
}

Outcome textEdited(int row, const QString &before, const QString &after, qsizetype cursor,
                   const CodePage &codePage) {
    const Rule rule = ruleFor(row);
    Outcome out{after, -1, false, {}};
    if (rule.choice) {
        out.text.clear();
        out.selectRow = rule.rowOnLimit;
    } else {
        const Entered entered = enteredText(before, after, cursor);
        const QStringView added = QStringView(after).mid(entered.at, entered.size);
        QString kept;
        for (qsizetype i = 0; i < added.size();) {
            const QString one = CodePage::characterAt(added, i);
            i += one.size();
            if (rule.digitsOnly && !(one.size() == 1 && one[0] >= u'0' && one[0] <= u'9'))
                continue;
            if (codePage.firstUnheld(one) < 0)
                kept += one;
            else if (out.refusal.isEmpty())
                out.refusal = codePage.unheldText(one, 0) +
                              QStringLiteral(": the device cannot hold it, so it was left out.");
        }
        out.text = after.left(entered.at) + kept + after.mid(entered.at + entered.size);
        // A typed character counts against the limit even when it goes: "12a" in a three-digit
        // row keeps "12" and still moves on. A pasted text counts with what it keeps.
        const bool typed =
            added.size() == 1 || (added.size() == 2 && added.front().isHighSurrogate());
        if (rule.byteLimit > 0 && codePage.byteLength(typed ? after : out.text) >= rule.byteLimit) {
            out.text = codePage.cut(out.text, rule.byteLimit);
            out.selectRow = rule.rowOnLimit;
        }
    }
    out.changed = out.text != after;
    return out;
}

Outcome textChanged(int row, const QString &typed, const CodePage &codePage) {
    const qsizetype last = typed.size() > 1 && typed.back().isLowSurrogate() ? 2 : 1;
    return textEdited(row, typed.chopped(std::min(last, typed.size())), typed, typed.size(),
                      codePage);
}

QString typeIntoEmptyCell(int row, const QString &value, const CodePage &codePage) {
    QString text;
    qsizetype i = 0;
    while (i < value.size()) {
        const qsizetype units = value.at(i).isHighSurrogate() && i + 1 < value.size() ? 2 : 1;
        const Outcome out = textChanged(row, text + value.mid(i, units), codePage);
        text = out.text;
        if (out.selectRow >= 0)
            break;
        i += units;
    }
    return text;
}

} // namespace SettingsTyping
