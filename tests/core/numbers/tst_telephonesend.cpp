#include "EventWait.h"
#include "Hex.h"
#include "ProtocolHarness.h"
#include "RandomNumberList.h"
#include "RecordingOperator.h"
#include "Session.h"
#include "SimulatedDevice.h"
#include "numbers/NumberTable.h"
#include "numbers/TtelephoneSend.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <functional>

namespace {

using H = ProtocolHarness;

struct Fixture {
    H h;
    NumberTable table;
    TtelephoneSend numbers{h.sender, h.op, h.outcome, table};
    Fixture() { h.receive.transfers.numbers = &numbers; }
};

// An Always entry "+1" as the device stores it.
const QByteArray AlwaysPlusOne =
    QByteArray("+1") + QByteArray(20, '\0') + QByteArray::fromHex("63636363636363630063");

// A session on a device whose list the transfer has just read.
struct ReadDevice {
    SimulatedDevice device;
    RecordingOperator op;
    Session session{op};
    NumberTable table;
    TtelephoneSend numbers{session, table};
    QSignalSpy ended{&session, &Session::operationEnded};

    explicit ReadDevice(const QByteArray &list) {
        device.writeMemory(0x1000, list);
        session.cm1().setCommName(device.slavePath());
        session.cm1().OpenPort();
        session.setNumberListTransfer(&numbers);
        run([&] { numbers.StartRead(); });
    }
    // Runs one operation to its end; false when it does not end.
    bool run(const std::function<void()> &start) {
        const qsizetype before = ended.count();
        start();
        return waitUntil([&] { return ended.count() > before; }, 60000);
    }
    void makeAlwaysPlusOne(int row) {
        table.setCell(NumberTable::Number, row, "+1");
        table.setCell(NumberTable::Always, row, "yes");
    }
    // The requests after the first `from`, as (command, page).
    QList<QPair<int, int>> requestsAfter(int from) const {
        QList<QPair<int, int>> out;
        for (const LoggedRequest &r : device.requestLog().mid(from))
            out << qMakePair(int(r.command), (r.address - 0x1000) / 0x100 + 1);
        return out;
    }
};

QList<QStringList> rows(const NumberTable &t) {
    QList<QStringList> out;
    for (int r = 0; r <= NumberTable::EntryCount; ++r)
        out << t.rowTexts(r);
    return out;
}

} // namespace

class TestTelephoneSend : public QObject {
    Q_OBJECT
private slots:
    void readAsksThenTakesEveryPageIntoItsRows() {
        Fixture f;
        f.numbers.ReadList();
        QCOMPARE(f.h.op.confirmations.size(), 1);
        QCOMPARE(f.h.op.confirmations[0].text,
                 QStringLiteral("Read the Authorized number list from GSM device to PC software?"));
        QCOMPARE(f.h.op.confirmations[0].acceptCaption, QStringLiteral("OK(&Y)"));
        QCOMPARE(f.h.op.confirmations[0].rejectCaption, QStringLiteral("Cancel(&N)"));
        QCOMPARE(f.h.op.statusText, QStringLiteral("Reading telephone number information"));
        for (int p = 1; p <= 375; ++p) {
            QByteArray page(256, '\0');
            const QByteArray number = QByteArray::number(p); // record 7 holds the page number
            page.replace(7 * 32, number.size(), number);
            f.h.feed(H::frame(0x83, 0x1000 + 0x100 * (p - 1), page));
        }
        QCOMPARE(f.h.sent.size(), 375);
        QCOMPARE(f.h.sent.first(), hex("23 83 00 00 10 00 00 00 93"));
        QCOMPARE(f.h.sent.last(), hex("23 83 00 01 86 00 00 00 04"));
        QCOMPARE(f.table.cell(NumberTable::Number, 8), QStringLiteral("1"));
        QCOMPARE(f.table.cell(NumberTable::Number, 3000), QStringLiteral("375"));
        QCOMPARE(f.table.cell(NumberTable::Serial, 3000), QStringLiteral("3000"));
        QCOMPARE(f.h.op.messageTexts(),
                 QStringList{"Authorized number list read to PC software success."});
        QCOMPARE(f.h.op.statusText, QStringLiteral("Reading number list:375/375"));
    }

    void cancelledReadSendsNothing() {
        Fixture f;
        f.h.op.confirmAnswers << false;
        f.numbers.ReadList();
        QVERIFY(f.h.sent.isEmpty());
        QVERIFY(f.h.op.messages.isEmpty());
    }

    void saveSendsEveryPageAndStopsAtARefusal() {
        Fixture f;
        f.table.setCell(NumberTable::Number, 1, "+1");
        f.table.setCell(NumberTable::Always, 1, "yes");
        f.numbers.SaveList();
        QCOMPARE(f.h.sent.size(), 1);
        QCOMPARE(f.h.op.statusText, QStringLiteral("Save list"));
        const QByteArray first = f.h.sent.first();
        QCOMPARE(first.left(8), hex("23 82 00 00 10 00 01 00"));
        QCOMPARE(first.mid(8, 32),
                 QByteArray("+1") + QByteArray(20, '\0') + hex("63 63 63 63 63 63 63 63 00 63"));
        QCOMPARE(first.mid(40, 224), QByteArray(224, '\0'));
        for (int p = 1; p < 200; ++p)
            f.h.feed(H::frame(0x82, 0x1000 + 0x100 * (p - 1), hex("01")));
        QCOMPARE(f.h.sent.size(), 200);
        f.h.feed(H::frame(0x82, 0x1000 + 0x100 * 199, hex("00")));
        QCOMPARE(f.h.sent.size(), 200);
        QCOMPARE(f.h.op.messageTexts(), QStringList{"Number list data error"});
    }

    void refusedListSendsNothing_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("startDate");
        QTest::addColumn<QString>("lead");
        QTest::newRow("window missing") << "123"
                                        << ""
                                        << "Wrong operation:";
        QTest::newRow("dash in the number") << "123-456"
                                            << "2024/05/17"
                                            << "Wrong data:";
        QTest::newRow("month 13") << "123"
                                  << "2024/13/17"
                                  << "Wrong data:";
    }
    void refusedListSendsNothing() {
        QFETCH(QString, number);
        QFETCH(QString, startDate);
        QFETCH(QString, lead);
        Fixture f;
        f.table.setCell(NumberTable::Number, 3, number);
        f.table.setCell(NumberTable::StartDate, 3, startDate);
        f.table.setCell(NumberTable::StartTime, 3, "08:00");
        f.table.setCell(NumberTable::EndDate, 3, "2024/12/31");
        f.table.setCell(NumberTable::EndTime, 3, "18:00");
        f.numbers.SaveList();
        QVERIFY(f.h.sent.isEmpty());
        // The operator is not asked about a list that cannot be saved.
        QVERIFY(f.h.op.confirmations.isEmpty());
        QCOMPARE(f.h.op.messages.size(), 1);
        QVERIFY2(f.h.op.messages[0].text.startsWith(lead), qPrintable(f.h.op.messages[0].text));
        QCOMPARE(f.h.outcomes.size(), 1);
        QVERIFY(!f.h.outcomes[0].first);
    }

    // A refusal at page 200 stops the save there: the device holds the first 199 new pages and
    // its old ones from page 200 on; a list that fails its check changes nothing at all.
    void deviceRefusalAndCheckLeaveTheRestAlone() {
        SimulatedDevice device;
        const QByteArray old(375 * 256, '\x5A');
        QVERIFY(device.writeMemory(0x1000, old));
        RecordingOperator op;
        Session session(op);
        session.cm1().setCommName(device.slavePath());
        session.cm1().OpenPort();
        NumberTable table;
        TtelephoneSend numbers(session, table);
        session.setNumberListTransfer(&numbers);
        QSignalSpy ended(&session, &Session::operationEnded);

        table.setCell(NumberTable::Number, 1, "12-34");
        table.setCell(NumberTable::Always, 1, "yes");
        numbers.SaveList();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(device.requestCount(), 0);

        table.setCell(NumberTable::Number, 1, QString());
        device.setFaults({.nakFrom = 200});
        numbers.SaveList();
        QVERIFY(waitUntil([&] { return ended.count() == 2; }, 60000));
        QCOMPARE(ended.last().at(1).toString(), QStringLiteral("Number list data error"));
        QTest::qWait(200);
        QCOMPARE(device.requestCount(), 200);
        QCOMPARE(device.memoryRange(0x1000, 199 * 256), QByteArray(199 * 256, '\0'));
        QCOMPARE(device.memoryRange(0x1000 + 199 * 256, 176 * 256), old.mid(199 * 256));
    }

    // Rows 1, 9 and 2999 lie on pages 1, 2 and 375: only those are written, then read back.
    void saveWritesOnlyChangedPagesAndReadsThemBack() {
        ReadDevice d(QByteArray(375 * 256, '\0'));
        for (int row : {1, 9, 2999})
            d.makeAlwaysPlusOne(row);
        QVERIFY(d.run([&] { d.numbers.SaveList(); }));
        QCOMPARE(d.ended.last().at(1).toString(),
                 QStringLiteral("Authorized number list saved success"));
        const QList<QPair<int, int>> expected{{0x82, 1}, {0x82, 2}, {0x82, 375},
                                              {0x83, 1}, {0x83, 2}, {0x83, 375}};
        QCOMPARE(d.requestsAfter(375), expected);
        QByteArray list(375 * 256, '\0');
        for (int row : {1, 9, 2999})
            list.replace((row - 1) * 32, 32, AlwaysPlusOne);
        QCOMPARE(d.device.memoryRange(0x1000, 375 * 256), list);

        // Nothing differs now: nothing is sent, and the operator is told.
        QVERIFY(d.run([&] { d.numbers.SaveList(); }));
        QVERIFY(d.requestsAfter(381).isEmpty());
        QCOMPARE(d.ended.last().at(1).toString(),
                 QStringLiteral("The device already holds this list: nothing was written."));
    }

    void deviceThatForgetsWritesFailsTheSave() {
        ReadDevice d(QByteArray(375 * 256, '\0'));
        d.device.setFaults({.forgetWritesFrom = 1});
        d.makeAlwaysPlusOne(2999);
        QVERIFY(d.run([&] { d.numbers.SaveList(); }));
        QCOMPARE(d.ended.last().at(0).toBool(), false);
        QCOMPARE(d.op.messages.last().text, QStringLiteral("Number list data error"));
        QCOMPARE(d.op.messages.last().detail,
                 QStringLiteral("Pages that read back otherwise than written: 375"));
    }

    // Sent again, the last plan writes every page anew, and a page that read back wrong the first
    // time is forgotten. Before any plan there is nothing to send.
    void plannedSaveSentAgainStartsOver() {
        Fixture f;
        f.numbers.sendPlannedSave();
        QVERIFY(f.h.sent.isEmpty());
        QVERIFY(f.h.op.messages.isEmpty());
        f.table.setCell(NumberTable::Number, 1, "+1");
        f.table.setCell(NumberTable::Always, 1, "yes");
        const auto device = [&f](const QByteArray &firstPage) {
            for (int p = 1; p <= 375; ++p)
                f.h.feed(H::frame(0x82, 0x1000 + 0x100 * (p - 1), hex("01")));
            for (int p = 1; p <= 375; ++p)
                f.h.feed(H::frame(0x83, 0x1000 + 0x100 * (p - 1),
                                  p == 1 ? firstPage : QByteArray(256, '\0')));
        };
        f.numbers.SaveList();
        device(QByteArray(256, '\0'));
        QCOMPARE(f.h.op.messages.last().detail,
                 QStringLiteral("Pages that read back otherwise than written: 1"));
        f.numbers.sendPlannedSave();
        device(AlwaysPlusOne + QByteArray(224, '\0'));
        QCOMPARE(f.h.sent.size(), 1500);
        QCOMPARE(f.h.sent.at(750), f.h.sent.at(0));
        QCOMPARE(f.h.op.messageTexts(),
                 (QStringList{"Number list data error", "Authorized number list saved success"}));
    }

    // Without knowing what the device holds now, or asked to, the save writes every page.
    void fullSaveWhenAskedOrWhenTheDeviceIsNotKnown_data() {
        QTest::addColumn<int>("why");
        QTest::newRow("port reopened") << 0;
        QTest::newRow("Write all pages in the review") << 1;
        QTest::newRow("every page asked for") << 2;
    }
    void fullSaveWhenAskedOrWhenTheDeviceIsNotKnown() {
        QFETCH(int, why);
        ReadDevice d(QByteArray(375 * 256, '\0'));
        if (why == 0) {
            d.session.cm1().ClosePort();
            d.session.cm1().OpenPort();
        }
        if (why == 1)
            d.op.optionAnswer = true;
        d.numbers.setWriteAllPages(why == 2);
        d.makeAlwaysPlusOne(1);
        QVERIFY(d.run([&] { d.numbers.SaveList(); }));
        QVERIFY(d.ended.last().at(0).toBool());
        // The read before the reopening may have been of another device: no backup of it.
        QCOMPARE(d.op.confirmations.last().text.endsWith(
                     "\nNo backup: this list was not read from the device."),
                 why == 0);
        const QList<LoggedRequest> log = d.device.requestLog().mid(375);
        QCOMPARE(log.size(), 750);
        QCOMPARE(log.at(374), (LoggedRequest{0x82, 0x18600}));
        QCOMPARE(log.at(749), (LoggedRequest{0x83, 0x18600}));
    }

    // Random lists through the simulated device: what is saved reads back cell for cell.
    void randomListsRoundTripThroughTheDevice() {
        SimulatedDevice device;
        RecordingOperator op;
        Session session(op);
        session.cm1().setCommName(device.slavePath());
        session.cm1().OpenPort();
        NumberTable saved, read;
        TtelephoneSend saver(session, saved), reader(session, read);
        QSignalSpy ended(&session, &Session::operationEnded);
        QRandomGenerator random(20261208);
        for (int round = 0; round < 100; ++round) {
            fillRandomNumberList(saved, random);
            session.setNumberListTransfer(&saver);
            saver.SaveList();
            QVERIFY(waitUntil([&] { return ended.count() == 2 * round + 1; }, 60000));
            QCOMPARE(ended.last().at(1).toString(),
                     QStringLiteral("Authorized number list saved success"));
            session.setNumberListTransfer(&reader);
            reader.StartRead();
            QVERIFY(waitUntil([&] { return ended.count() == 2 * round + 2; }, 60000));
            QVERIFY(ended.last().at(0).toBool());
            QCOMPARE(rows(read), rows(saved));
        }
    }
};

QTEST_GUILESS_MAIN(TestTelephoneSend)
#include "tst_telephonesend.moc"
