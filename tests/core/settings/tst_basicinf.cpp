#include "Hex.h"
#include "ProtocolHarness.h"
#include "settings/SettingsArea.h"
#include "settings/SettingsTable.h"
#include "settings/TBasicInf.h"

#include <QTest>

namespace {

QByteArray erasedPage() {
    return QByteArray(256, char(0xFF));
}

// What the device answers to a page read and to a page write.
QByteArray readReply(int32_t address, const QByteArray &page) {
    return ProtocolHarness::frame(0x83, address, page);
}
QByteArray writeReply(int32_t address, uint8_t result) {
    return ProtocolHarness::frame(0x82, address, QByteArray(1, char(result)));
}

// The page with bytes replaced at their offsets.
QByteArray patched(QByteArray page, const QList<QPair<int, QByteArray>> &patches) {
    for (const auto &[offset, bytes] : patches)
        page.replace(offset, bytes.size(), bytes);
    return page;
}

struct Fixture {
    ProtocolHarness h;
    SettingsTable table;
    TBasicInf basic{h.sender, h.op, h.outcome, h.status, h.progress, table};
    Fixture() { h.receive.transfers.basic = &basic; }
};

} // namespace

// The settings transfer driven through the real receive path, with the test as the device.
class TestBasicInf : public QObject {
    Q_OBJECT
private slots:
    void init() { CodePage::setOverride(1252); }
    void cleanup() { CodePage::setOverride(0); }

    void readAsksFirstAndReadsBothPages() {
        Fixture f;
        f.basic.ReadSettings();
        QCOMPARE(f.h.op.confirmations.size(), 1);
        const auto &q = f.h.op.confirmations.first();
        QCOMPARE(q.text, QStringLiteral("Read the GSM device basic parameters to PC software?"));
        QCOMPARE(q.title, QString());
        QCOMPARE(q.acceptCaption, QStringLiteral("OK(&Y)"));
        QCOMPARE(q.rejectCaption, QStringLiteral("Cancel(&N)"));
        QCOMPARE(f.h.sent, QList<QByteArray>{hex("23 83 00 00 00 00 00 00 83")});
        QCOMPARE(f.h.op.statusText, QStringLiteral("Read settings"));
        QCOMPARE(f.basic.PageIndex, uint16_t(2));

        QByteArray page1 = erasedPage();
        page1.replace(0, 4, "1234");
        page1[26] = 0;
        page1.replace(254, 2, "ab");
        f.h.op.clearHistory();
        f.h.feed(readReply(0x000, page1));
        QCOMPARE(f.h.sent.size(), 2);
        QCOMPARE(f.h.sent.at(1), hex("23 83 00 00 01 00 00 00 82"));
        QCOMPARE(f.table.value(1), QStringLiteral("1234"));
        QCOMPARE(f.table.choiceIndex(3), 0);
        QCOMPARE(f.table.value(21), QStringLiteral("ab"));
        QVERIFY(f.h.op.log.contains(QStringLiteral("status:The first page")));
        QCOMPARE(f.h.op.progressPositions, (QList<int>{25, 40, 50}));
        QVERIFY(f.h.op.messages.isEmpty());

        QByteArray page2 = erasedPage();
        page2.replace(0, 3, "cde");
        page2.replace(14, 4, "pass");
        f.h.op.clearHistory();
        f.h.feed(readReply(0x100, page2));
        QCOMPARE(f.h.sent.size(), 2);
        QCOMPARE(f.table.value(21), QStringLiteral("abcde"));
        QCOMPARE(f.table.value(22), QStringLiteral("pass"));
        QCOMPARE(f.h.op.progressPositions, (QList<int>{90, 100}));
        QVERIFY(!f.h.op.progressVisible);
        QVERIFY(f.h.op.log.contains(QStringLiteral("status:The second page")));
        QCOMPARE(f.h.op.messageTexts(), QStringList{"Basic settings read to PC software success."});
        QCOMPARE(f.h.outcomes, (QList<QPair<bool, QString>>{
                                   {true, "Basic settings read to PC software success."}}));
        QCOMPARE(f.basic.PageIndex, uint16_t(3));

        // A stray reply after the end changes nothing and reports nothing.
        f.basic.PageIndex = 5;
        f.h.feed(readReply(0x000, erasedPage()));
        QCOMPARE(f.h.sent.size(), 2);
        QCOMPARE(f.h.op.messages.size(), 1);
    }

    void cancellingTheReadSendsNothing() {
        Fixture f;
        f.h.op.confirmAnswers << false;
        f.basic.ReadSettings();
        QVERIFY(f.h.sent.isEmpty());
        QVERIFY(f.h.op.messages.isEmpty());
        QCOMPARE(f.basic.PageIndex, uint16_t(0));
    }

    void replyForAnotherAddressIsIgnored() {
        Fixture f;
        f.basic.ReadSettings();
        f.h.feed(readReply(0x200, QByteArray(256, '\0')));
        QCOMPARE(f.h.sent.size(), 1);
        QCOMPARE(f.h.op.statusText, QStringLiteral("Undefined data"));
        QCOMPARE(f.table.value(1), QStringLiteral("7482"));
        QCOMPARE(f.table.value(5), QStringLiteral("Unauthorized door opened"));
    }

    void saveSendsBothPagesOneAfterTheOther() {
        Fixture f;
        f.basic.SaveSettings();
        QCOMPARE(f.h.sent.size(), 1);
        QCOMPARE(f.h.sent.at(0).size(), 265);
        QCOMPARE(f.h.sent.at(0).left(8), hex("23 82 00 00 00 00 01 00"));
        // The start-up table: texts end with a 0 byte, numbers are low byte first.
        const QByteArray page1 =
            patched(erasedPage(), {{0, "7482"},
                                   {26, hex("01 01")},
                                   {28, QByteArray("Unauthorized door opened", 25)},
                                   {68, QByteArray("DIN2 Alarm", 11)},
                                   {108, hex("0A 00 01 00 00 00 00 00 03 03")},
                                   {118, QByteArray("Relay ON", 9)},
                                   {158, QByteArray("Relay OFF", 10)},
                                   {198, hex("0F 27 E7 03 00 00")}});
        QCOMPARE(f.h.sent.at(0).mid(8, 256).toHex(' '), page1.toHex(' '));
        QCOMPARE(f.h.op.progressPositions, QList<int>{50});
        QCOMPARE(f.h.op.statusText, QStringLiteral("Save settings"));

        // Both pages are built when the save starts: an edit meanwhile is not part of it.
        f.table.setValue(22, QStringLiteral("later"));
        f.h.feed(writeReply(0x000, 1));
        QCOMPARE(f.h.sent.size(), 2);
        QCOMPARE(f.h.sent.at(1).left(8), hex("23 82 00 00 01 00 01 00"));
        QCOMPARE(f.h.sent.at(1).mid(8, 256), erasedPage());
        QCOMPARE(f.h.op.progressPositions, (QList<int>{50, 100}));
        QVERIFY(f.h.op.messages.isEmpty());

        // Then both pages are read back and must hold what was written.
        f.h.feed(writeReply(0x100, 1));
        QCOMPARE(f.h.sent.at(2), hex("23 83 00 00 00 00 00 00 83"));
        f.h.feed(readReply(0x000, page1));
        QCOMPARE(f.h.sent.at(3), hex("23 83 00 00 01 00 00 00 82"));
        QVERIFY(f.h.op.messages.isEmpty());
        f.h.feed(readReply(0x100, erasedPage()));
        QCOMPARE(f.h.sent.size(), 4);
        QCOMPARE(f.h.op.messageTexts(), QStringList{"Basic setting saved success"});
        QCOMPARE(f.h.outcomes.size(), 1);
        QVERIFY(f.h.outcomes.first().first);
    }

    void pageReadBackOtherwiseFailsTheSave() {
        Fixture f;
        f.basic.SaveSettings();
        f.h.feed(writeReply(0x000, 1));
        f.h.feed(writeReply(0x100, 1));
        f.h.feed(readReply(0x000, f.h.sent.at(0).mid(8, 256)));
        f.h.feed(readReply(0x100, QByteArray(256, '\0')));
        QCOMPARE(f.h.op.messageTexts(), QStringList{"Basic setting error"});
        QCOMPARE(f.h.op.messages[0].detail,
                 QStringLiteral("Pages that read back otherwise than written: 2"));
        QVERIFY(!f.h.outcomes.first().first);
    }

    void refusedPageOneEndsTheSave() {
        Fixture f;
        f.basic.SaveSettings();
        f.h.feed(writeReply(0x000, 0));
        QCOMPARE(f.h.sent.size(), 1);
        QCOMPARE(f.h.op.messageTexts(), QStringList{"Basic setting error"});
        QCOMPARE(f.h.outcomes.size(), 1);
        QVERIFY(!f.h.outcomes.first().first);
    }

    void numberCellTheDeviceCannotHoldSendsNothing_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        // Which texts are refused, and with which message, is the settings area's; here: that a
        // refused one sends nothing.
        QTest::newRow("port above 65535")
            << 19 << "70000"
            << "Row 19 \"19.Server Port(0-65535)\": 70000 does not fit the device; the allowed "
               "range is 0 to 65535.";
        QTest::newRow("text outside the code page")
            << 5 << "Tür 中文"
            << "Row 5 \"5.DIN1 Alarm Content\": \"中\" (U+4E2D) is not in code page 1252, so the "
               "device cannot hold this text. Nothing was sent.";
    }
    void numberCellTheDeviceCannotHoldSendsNothing() {
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Fixture f;
        f.table.setValue(row, text);
        f.basic.SaveSettings();
        QVERIFY(f.h.sent.isEmpty());
        QCOMPARE(f.h.op.messageTexts(), QStringList{message});
        QCOMPARE(f.basic.PageIndex, uint16_t(0));
        QVERIFY(f.h.op.progressPositions.isEmpty());
        // Refused before the review: the operator is not asked about a table that cannot go.
        QVERIFY(f.h.op.confirmations.isEmpty());
        QCOMPARE(f.h.outcomes.size(), 1);
        QVERIFY(!f.h.outcomes.first().first);
    }

    // Rows a read has filled are what the device holds: no marks while it runs; a read that
    // stops half-way leaves the other rows' marks, and says so.
    void readMarksNothingItFillsAndSaysWhenItStopsEarly() {
        Fixture f;
        f.table.setValue(5, QStringLiteral("edited"));
        f.table.setValue(22, QStringLiteral("edited"));
        f.basic.StartRead();
        f.h.feed(readReply(0x000, patched(erasedPage(), {{28, QByteArray("Gate", 5)}})));
        QCOMPARE(f.table.value(5), QStringLiteral("Gate"));
        for (int row = 1; row <= 21; ++row)
            QVERIFY2(!f.table.isRowChanged(row), qPrintable(QString::number(row)));
        QVERIFY(f.table.isRowChanged(22));
        f.h.outcome.failed(QStringLiteral("Receive timeout"));
        f.h.status.clearDirect(); // as the timeout does after its message
        QTRY_COMPARE(
            f.h.op.statusText,
            QStringLiteral("Partly read: 1 of 2 pages of the settings came from the device; "
                           "the other rows are as they were."));
        QVERIFY(f.table.isRowChanged(22));
    }

    void pressingAgainWhileRunningChangesNothing() {
        // A double click: one chain, one success message; afterwards a read starts over.
        Fixture f;
        f.basic.SaveSettings();
        f.basic.SaveSettings();
        f.basic.ReadSettings();
        QCOMPARE(f.h.sent.size(), 1);
        QCOMPARE(f.h.op.confirmations.size(), 1); // the first press's review alone
        QCOMPARE(f.basic.PageIndex, uint16_t(2));
        f.h.feed(writeReply(0x000, 1));
        f.h.feed(writeReply(0x100, 1));
        f.h.feed(readReply(0x000, f.h.sent.at(0).mid(8, 256)));
        f.h.feed(readReply(0x100, f.h.sent.at(1).mid(8, 256)));
        QCOMPARE(f.h.sent.size(), 4);
        QCOMPARE(f.h.op.messageTexts(), QStringList{"Basic setting saved success"});

        f.basic.ReadSettings();
        QCOMPARE(f.h.sent.size(), 5);
        QCOMPARE(f.h.sent.at(4), hex("23 83 00 00 00 00 00 00 83"));
        QCOMPARE(f.basic.PageIndex, uint16_t(2));
    }
};

QTEST_GUILESS_MAIN(TestBasicInf)
#include "tst_basicinf.moc"
