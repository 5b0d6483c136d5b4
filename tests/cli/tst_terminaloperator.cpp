#include "TerminalOperator.h"

#include <QTest>

namespace {

// A terminal operator over strings.
struct Terminal {
    QString out;
    QString err;
    QString in;
    QTextStream outStream{&out};
    QTextStream errStream{&err};
    QTextStream inStream{&in};

    TerminalOperator make(bool errIsTerminal, bool inIsTerminal, bool assumeYes) {
        return TerminalOperator({outStream, errStream, inStream, errIsTerminal, inIsTerminal},
                                assumeYes);
    }
};

} // namespace

class TestTerminalOperator : public QObject {
    Q_OBJECT
private slots:
    void confirmations_data() {
        QTest::addColumn<bool>("inIsTerminal");
        QTest::addColumn<bool>("assumeYes");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("said");
        QTest::newRow("no terminal, no --yes")
            << false << false << "y\n"
            << false << "Refused: no terminal to ask; pass --yes";
        QTest::newRow("no terminal, --yes") << false << true << "" << true << "(--yes)";
        QTest::newRow("terminal, y") << true << false << "y\n" << true << "Read?";
        QTest::newRow("terminal, YES") << true << false << "YES\n" << true << "Read?";
        QTest::newRow("terminal, accept caption") << true << false << " Read \n" << true << "Read?";
        QTest::newRow("terminal, n") << true << false << "n\n" << false << "Read?";
        QTest::newRow("terminal, empty line") << true << false << "\n" << false << "Read?";
        QTest::newRow("terminal, end of input") << true << false << "" << false << "Read?";
    }
    void confirmations() {
        QFETCH(bool, inIsTerminal);
        QFETCH(bool, assumeYes);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(QString, said);
        Terminal t;
        t.in = typed;
        TerminalOperator op = t.make(false, inIsTerminal, assumeYes);
        QCOMPARE(op.confirm("Read?", {}, "Read", "Cancel"), accepted);
        QCOMPARE(op.refusals(), accepted ? 0 : 1);
        t.errStream.flush();
        QVERIFY2(t.err.contains(said), qPrintable(t.err));
        QVERIFY(t.out.isEmpty());
    }

    void warnOkCancelFollowsTheSameRules() {
        Terminal t;
        TerminalOperator refusing = t.make(false, false, false);
        QVERIFY(!refusing.warnOkCancel("Delete all?"));
        TerminalOperator accepting = t.make(false, false, true);
        QVERIFY(accepting.warnOkCancel("Delete all?"));
    }

    void messagesGoToTheErrorStream() {
        Terminal t;
        TerminalOperator op = t.make(false, false, false);
        op.message("COM Port error", {}, Operator::Icon::Error, "No such device");
        op.message("Receive timeout");
        t.errStream.flush();
        t.outStream.flush();
        QCOMPARE(t.err, QStringLiteral("COM Port error\nNo such device\nReceive timeout\n"));
        QCOMPARE(t.out, QString());
    }

    void statusLogWithoutTerminal() {
        // Without a terminal each new text is one line; repeats, clearing and progress are not.
        Terminal t;
        TerminalOperator op = t.make(false, false, false);
        op.setStatusText("Read settings");
        op.setStatusText("Data communication");
        op.setStatusText("Data communication");
        op.setProgressVisible(true);
        op.setProgressPosition(50);
        op.setStatusText("");
        op.setStatusText("Reading basic setting");
        t.errStream.flush();
        QCOMPARE(t.err,
                 QStringLiteral("Read settings\nData communication\nReading basic setting\n"));
    }

    void statusLineOnTerminal() {
        // On a terminal one line is redrawn in place and ended before a message.
        Terminal t;
        TerminalOperator op = t.make(true, false, false);
        op.setStatusText("Reading number list:1/375");
        op.setProgressVisible(true);
        op.setProgressPosition(42);
        op.message("Authorized number list read to PC software success.");
        t.errStream.flush();
        t.outStream.flush();
        QVERIFY2(t.err.endsWith("\rReading number list:1/375 [ 42%]\x1b[K\n"
                                "Authorized number list read to PC software success.\n"),
                 qPrintable(t.err));
        QCOMPARE(t.err.count('\n'), 2);
    }
};

QTEST_GUILESS_MAIN(TestTerminalOperator)
#include "tst_terminaloperator.moc"
