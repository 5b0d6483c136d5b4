#include "Hex.h"
#include "ProtocolHarness.h"
#include "history/HistoryTable.h"
#include "history/THistoryInf.h"

#include <QTest>

namespace {

using H = ProtocolHarness;

struct Fixture {
    H h;
    HistoryTable table;
    THistoryInf history{h.sender, h.op, h.outcome, h.status, table};
    Fixture() { h.receive.transfers.history = &history; }
};

// Record n: an SMS that switched the relay on 2026-01-01 at 00:00:00.
QByteArray event(int n, const char *dateBytes = "1A0101") {
    QByteArray r(128, '\0');
    r[0] = char(n & 0xFF);
    r[1] = char(n >> 8);
    r.replace(4, 3, QByteArray::fromHex(dateBytes));
    r.replace(10, 2, hex("01 02"));
    return r;
}

// Slot 2p - 1 and 2p of page p hold events numbered like their slots, except for slots 5 to 9.
QByteArray page(int p) {
    QByteArray data;
    for (int slot = 2 * p - 1; slot <= 2 * p; ++slot) {
        switch (slot) {
        case 5:
            data += QByteArray(128, '\xFF'); // erased
            break;
        case 6:
            data += event(slot, "FFFFFF"); // a number but no date: kept, its date empty
            break;
        case 7:
            data += event(slot, "550101"); // 2085
            break;
        case 8:
            data += event(slot, "780101"); // 20120: "2012" stays
            break;
        case 9:
            data += event(slot, "000101"); // unused
            break;
        default:
            data += event(slot);
        }
    }
    return data;
}

} // namespace

class TestHistoryInf : public QObject {
    Q_OBJECT
private slots:
    void readsEveryPageThenKeepsTheEvents() {
        Fixture f;
        f.table.setCell(HistoryTable::Content, 1000, QStringLiteral("from before"));
        f.history.StartRead();
        QCOMPARE(f.h.sent.first(), hex("23 83 00 03 00 00 00 00 80"));
        QCOMPARE(f.h.op.statusText, QStringLiteral("Reading historical data"));
        for (int p = 1; p <= 500; ++p) {
            f.h.op.clearHistory();
            f.h.feed(H::frame(0x83, 0x30000 + 0x100 * (p - 1), page(p)));
            if (p == 1 || p == 5 || p == 500) {
                QVERIFY(f.h.op.statusTexts.contains(
                    QStringLiteral("Reading historical data:%1/500").arg(p)));
                QCOMPARE(f.h.op.progressPositions.value(0, -1), p == 1 ? 0 : p == 5 ? 1 : 100);
            }
        }
        QCOMPARE(f.h.sent.size(), 500);
        QCOMPARE(f.h.sent[1], hex("23 83 00 03 01 00 00 00 81"));
        QCOMPARE(f.h.sent.last(), hex("23 83 00 04 F3 00 00 00 74"));
        QVERIFY(!f.h.op.progressVisible);
        QCOMPARE(f.h.outcomes, (QList<QPair<bool, QString>>{{true, QString()}}));
        QVERIFY(f.h.op.messages.isEmpty());

        QStringList numbers;
        for (int r = 1; r <= 1000; ++r)
            numbers << f.table.cell(HistoryTable::RecordNo, r);
        QStringList expected{"1", "2", "3", "4", "6", "8"};
        for (int n = 10; n <= 1000; ++n)
            expected << QString::number(n);
        expected += QStringList(3, QString());
        QCOMPARE(numbers, expected);
        QCOMPARE(f.table.rowTexts(5),
                 (QStringList{"5", "6", "", "00:00:00", "SMS", "Relay ON", "", ""}));
        QCOMPARE(f.table.rowTexts(6),
                 (QStringList{"6", "8", "20120-01-01", "00:00:00", "SMS", "Relay ON", "", ""}));
        QCOMPARE(f.table.rowTexts(1000), (QStringList{"1000", "", "", "", "", "", "", ""}));
    }
};

QTEST_GUILESS_MAIN(TestHistoryInf)
#include "tst_historyinf.moc"
