#include "HistoryRecord.h"

#include "HistoryTable.h"
#include "exchange/CodePage.h"

#include <QByteArray>
#include <QString>

namespace {

constexpr uint8_t Erased = 0xFF;
constexpr int ExecutantSize = 22;
constexpr int ContentSize = 41;

QString sourceText(uint8_t code) {
    switch (code) {
    case 0:
        return QStringLiteral("COM Port");
    case 1:
        return QStringLiteral("SMS");
    case 2:
        return QStringLiteral("GPRS");
    case 3:
        return QStringLiteral("Telephone");
    default:
        return {};
    }
}

struct Event {
    const char *action;
    const char *from; // replaces the source's text; null keeps it
};

constexpr Event Events[] = {
    {"Add number", nullptr},
    {"Delete Number", nullptr},
    {"Relay ON", nullptr},
    {"Relay OFF", nullptr},
    {"DIN1 Alarm", "DIN1"},
    {"DIN2 Alarm", "DIN2"},
    {"Power failure", "Power supply"},
    {"Arm", nullptr},
    {"Disarm", nullptr},
    {"Power recovery", "Power supply"},
};

// "%.2d": at least two digits, more when the byte needs them.
QString twoDigits(uint8_t v) {
    return QString::number(v).rightJustified(2, u'0');
}

bool anyErased(const uint8_t *bytes, int count) {
    for (int i = 0; i < count; ++i)
        if (bytes[i] == Erased)
            return true;
    return false;
}

QString recordNumber(const uint8_t *r) {
    if (r[0] == Erased && r[1] == Erased && r[2] == Erased && r[3] == Erased)
        return {};
    const uint32_t n =
        uint32_t(r[0]) | uint32_t(r[1]) << 8 | uint32_t(r[2]) << 16 | uint32_t(r[3]) << 24;
    return QString::number(int32_t(n));
}

QString executant(const uint8_t *r) {
    QString text;
    for (int i = 0; i < ExecutantSize; ++i) {
        const uint8_t c = r[12 + i];
        if (c != '+' && (c < '0' || c > '9'))
            break;
        text += QChar(c);
    }
    return text;
}

QString content(const uint8_t *r, const CodePage &codePage) {
    int length = 0;
    while (length < ContentSize && r[34 + length] != 0)
        ++length;
    return codePage.decode(QByteArray(reinterpret_cast<const char *>(r + 34), length));
}

} // namespace

void HistoryRecord::decode(const uint8_t *r, HistoryTable &table, int row,
                           const CodePage &codePage) {
    if (r[4] == 0) {
        for (int c = HistoryTable::RecordNo; c <= HistoryTable::Content; ++c)
            table.setCell(c, row, QString());
        return;
    }
    table.setCell(HistoryTable::RecordNo, row, recordNumber(r));
    table.setCell(HistoryTable::Date, row,
                  anyErased(r + 4, 3) ? QString()
                                      : QStringLiteral("20") + twoDigits(r[4]) + u'-' +
                                            twoDigits(r[5]) + u'-' + twoDigits(r[6]));
    table.setCell(HistoryTable::Time, row,
                  anyErased(r + 7, 3)
                      ? QString()
                      : twoDigits(r[7]) + u':' + twoDigits(r[8]) + u':' + twoDigits(r[9]));
    QString from = sourceText(r[10]);
    QString action;
    if (r[11] < std::size(Events)) {
        const Event &e = Events[r[11]];
        action = QString::fromLatin1(e.action);
        if (e.from)
            from = QString::fromLatin1(e.from);
    }
    table.setCell(HistoryTable::From, row, from);
    table.setCell(HistoryTable::Action, row, action);
    table.setCell(HistoryTable::Executant, row, executant(r));
    table.setCell(HistoryTable::Content, row, content(r, codePage));
}
