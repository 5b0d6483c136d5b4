#include "RandomSettings.h"

#include "settings/SettingsTable.h"

namespace {

QString digits(QRandomGenerator &rng, int count) {
    QString s;
    for (int i = 0; i < count; ++i)
        s += QChar(u'0' + rng.bounded(10));
    return s;
}

// Characters that survive the trip: no 0 byte (it ends a text) and no 0xFF byte (it ends a
// padded field).
QString pool(const CodePage &cp) {
    QString chars;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        chars += QChar(c);
    if (cp.number() == 936)
        chars += QStringLiteral("门被打开了报警继电器短信用户密码服务器");
    else
        chars += QStringLiteral("éèüßñ€ŒÄÖ");
    return chars;
}

QString text(QRandomGenerator &rng, const CodePage &cp, int maxBytes) {
    const QString chars = pool(cp);
    const int target = rng.bounded(maxBytes + 1);
    QString s;
    for (;;) {
        const QString next = s + chars.at(rng.bounded(int(chars.size())));
        if (cp.byteLength(next) > target)
            return s;
        s = next;
    }
}

} // namespace

void fillRandomSettings(SettingsTable &t, QRandomGenerator &rng, const CodePage &cp) {
    t.setValue(1, digits(rng, rng.bounded(5)));
    const bool plus = rng.bounded(2);
    t.setValue(2, (plus ? QStringLiteral("+") : QString()) + digits(rng, rng.bounded(22 - plus)));
    for (int row : SettingsTable::ChoiceRows) {
        const int items = int(SettingsTable::choiceItems(row).size());
        t.setChoiceIndex(row, rng.bounded(-1, items));
    }
    for (int row : {5, 6, 13, 14})
        t.setValue(row, text(rng, cp, 40));
    for (int row : {7, 10, 15, 16})
        t.setValue(row, QString::number(rng.bounded(1000)));
    t.setValue(17, QString::number(rng.bounded(10000)));
    t.setValue(18, text(rng, cp, 32));
    t.setValue(19, QString::number(rng.bounded(65536)));
    for (int row : {20, 21, 22})
        t.setValue(row, text(rng, cp, 16));
}

QString settingsDifference(const SettingsTable &expected, const SettingsTable &actual) {
    for (int row = 1; row <= SettingsTable::ParameterCount; ++row) {
        if (SettingsTable::isChoiceRow(row)) {
            if (expected.choiceIndex(row) != actual.choiceIndex(row))
                return QStringLiteral("row %1: item %2, read back %3")
                    .arg(row)
                    .arg(expected.choiceIndex(row))
                    .arg(actual.choiceIndex(row));
        } else if (expected.value(row) != actual.value(row)) {
            return QStringLiteral("row %1: \"%2\", read back \"%3\"")
                .arg(row)
                .arg(expected.value(row), actual.value(row));
        }
    }
    return {};
}
