#include "SettingsTyping.h"

#include "SettingsTable.h"

namespace SettingsTyping {

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

Outcome textChanged(int row, const QString &typed, const CodePage &codePage) {
    const Rule rule = ruleFor(row);
    Outcome out{typed, -1, false};
    if (rule.choice) {
        out.text.clear();
        out.selectRow = rule.rowOnLimit;
    } else {
        if (rule.digitsOnly && !typed.isEmpty()) {
            const QChar last = typed.back();
            if (last < u'0' || last > u'9')
                out.text.chop(last.isLowSurrogate() && typed.size() > 1 ? 2 : 1);
        }
        // The limit is measured on the typed text, before a dropped character: "12a" in a
        // three-digit row keeps "12" and still moves on.
        if (rule.byteLimit > 0 && codePage.byteLength(typed) >= rule.byteLimit) {
            out.text = codePage.cut(out.text, rule.byteLimit);
            out.selectRow = rule.rowOnLimit;
        }
    }
    out.changed = out.text != typed;
    return out;
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
