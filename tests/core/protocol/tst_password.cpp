#include "ProtocolHarness.h"

#include <QSignalSpy>
#include <QTest>

class TestPassword : public QObject {
    Q_OBJECT
private slots:
    void comparison_data() {
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("match");
        QTest::newRow("default") << QByteArray("7482") << "7482" << true;
        QTest::newRow("one digit off") << QByteArray("7482") << "7483" << false;
        QTest::newRow("three characters") << QByteArray("7482") << "748" << false;
        QTest::newRow("five characters") << QByteArray("7482") << "74820" << false;
        QTest::newRow("empty") << QByteArray("7482") << "" << false;
        QTest::newRow("letters, other case") << QByteArray("AbCd") << "aBcD" << true;
        QTest::newRow("letters, upper") << QByteArray("AbCd") << "ABCD" << true;
        QTest::newRow("letters, different") << QByteArray("AbCd") << "AbCe" << false;
        QTest::newRow("blank padded") << QByteArray("748 ") << "748" << false;
    }
    void comparison() {
        QFETCH(QByteArray, device);
        QFETCH(QString, typed);
        QFETCH(bool, match);
        ProtocolHarness h;
        QSignalSpy unlocked(&h.password, &Tpasswordverify::operationsUnlocked);
        h.password.setTypedPassword(typed);
        h.password.setPending(true);
        QByteArray page = device + QByteArray(252, char(0xFF));
        h.password.PasswordReply(reinterpret_cast<const uint8_t *>(page.constData()));

        QCOMPARE(h.password.DevicePassword(), QString::fromLatin1(device));
        const QString text = match ? "Password confirmed!" : "Password Error!";
        QCOMPARE(h.op.messageTexts(), QStringList{text});
        QCOMPARE(h.op.messages.first().title, QString());
        QCOMPARE(h.outcomes, (QList<QPair<bool, QString>>{{match, text}}));
        QCOMPARE(unlocked.count(), 1);
        QCOMPARE(unlocked.first().first().toBool(), match);
        QVERIFY(!h.password.Pending());
    }

    void goodThenBadLocksAgain() {
        ProtocolHarness h;
        QSignalSpy unlocked(&h.password, &Tpasswordverify::operationsUnlocked);
        const QByteArray page = QByteArray("7482") + QByteArray(252, 0);
        for (const char *typed : {"7482", "7483"}) {
            h.password.setTypedPassword(QString::fromLatin1(typed));
            h.password.setPending(true);
            h.request(0x83, 0);
            h.feed(ProtocolHarness::frame(0x83, 0, page));
        }
        QCOMPARE(unlocked.count(), 2);
        QCOMPARE(unlocked[0].first().toBool(), true);
        QCOMPARE(unlocked[1].first().toBool(), false);
        QCOMPARE(h.op.messageTexts(), (QStringList{"Password confirmed!", "Password Error!"}));
    }
};

QTEST_GUILESS_MAIN(TestPassword)
#include "tst_password.moc"
