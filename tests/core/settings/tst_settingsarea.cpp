#include "Hex.h"
#include "RandomSettings.h"
#include "settings/SettingsArea.h"
#include "settings/SettingsTable.h"

#include <QTest>
#include <array>

namespace {

using Page = std::array<uint8_t, SettingsArea::PageSize>;

QByteArray bytes(const Page &p, int offset, int count) {
    return QByteArray(reinterpret_cast<const char *>(p.data()) + offset, count);
}

Page erased() {
    Page p;
    p.fill(0xFF);
    return p;
}

void place(Page &p, int offset, const QByteArray &b) {
    std::copy(b.begin(), b.end(), p.begin() + offset);
}

struct Encoded {
    Page page1;
    Page page2;
};

Encoded encode(SettingsTable &t, const CodePage &cp = CodePage(1252)) {
    SettingsArea area(t);
    Encoded e;
    area.encodePage1(e.page1.data(), cp);
    area.encodePage2(e.page2.data(), cp);
    return e;
}

void decode(SettingsTable &t, const Page &p1, const Page &p2, const CodePage &cp = CodePage(1252)) {
    SettingsArea area(t);
    area.decodePage1(p1.data(), cp);
    area.decodePage2(p2.data(), cp);
}

} // namespace

class TestSettingsArea : public QObject {
    Q_OBJECT
private slots:
    void startUpDefaultsWriteTheFactoryPage() {
        SettingsTable t;
        const Encoded e = encode(t);
        Page expected = erased();
        place(expected, 0, "7482");
        place(expected, 26, hex("01 01"));
        place(expected, 28, QByteArray("Unauthorized door opened") + '\0');
        place(expected, 68, QByteArray("DIN2 Alarm") + '\0');
        place(expected, 108, hex("0A 00 01 00 00 00 00 00 03 03"));
        place(expected, 118, QByteArray("Relay ON") + '\0');
        place(expected, 158, QByteArray("Relay OFF") + '\0');
        place(expected, 198, hex("0F 27 E7 03 00 00"));
        QCOMPARE(bytes(e.page1, 0, 256).toHex(' '), bytes(expected, 0, 256).toHex(' '));
        QCOMPARE(bytes(e.page2, 0, 256), QByteArray(256, '\xFF'));
    }

    void erasedAreaReads() {
        SettingsTable t;
        t.setValue(3, QStringLiteral("1:NO"));
        decode(t, erased(), erased());
        for (int row : {1, 2, 18, 20, 21, 22})
            QCOMPARE(t.value(row), QString());
        for (int row : {7, 10, 15, 16, 17, 19})
            QCOMPARE(t.value(row), QStringLiteral("65535"));
        for (int row : SettingsTable::ChoiceRows) {
            QCOMPARE(t.choiceIndex(row), -1);
            QVERIFY(t.isChoiceShown(row));
        }
        // Forty 0xFF bytes and no terminator: forty characters of the code page.
        for (int row : {5, 6, 13, 14})
            QCOMPARE(t.value(row), QString(40, QChar(0xFF)));
        // Reading leaves the text under a choice list alone.
        QCOMPARE(t.value(3), QStringLiteral("1:NO"));
    }

    void numberFields_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("port 65535") << 19 << "65535" << 236 << hex("FF FF");
        QTest::newRow("port 8080") << 19 << "8080" << 236 << hex("90 1F");
        QTest::newRow("port 0") << 19 << "0" << 236 << hex("00 00");
        QTest::newRow("empty port") << 19 << "" << 236 << hex("FF FF");
        QTest::newRow("row 7") << 7 << "999" << 108 << hex("E7 03");
        QTest::newRow("row 17 at 198") << 17 << "1234" << 198 << hex("D2 04");
        QTest::newRow("row 15 at 200") << 15 << "1" << 200 << hex("01 00");
        QTest::newRow("row 16 at 202") << 16 << "256" << 202 << hex("00 01");
        QTest::newRow("row 10 twice") << 10 << "30" << 112 << hex("1E 00 1E 00");
        QTest::newRow("empty row 10") << 10 << "" << 112 << hex("FF FF FF FF");
    }
    void numberFields() {
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(int, offset);
        QFETCH(QByteArray, stored);
        SettingsTable t;
        t.setValue(row, text);
        QVERIFY(SettingsArea(t).checkNumbers().isEmpty());
        const Encoded e = encode(t);
        QCOMPARE(bytes(e.page1, offset, int(stored.size())).toHex(' '), stored.toHex(' '));

        SettingsTable back;
        decode(back, e.page1, e.page2);
        QCOMPARE(back.value(row), text.isEmpty() ? QStringLiteral("65535") : text);
    }

    void rowTenReadsTheSecondCopy() {
        Page p1 = erased();
        place(p1, 112, hex("05 00 07 00"));
        SettingsTable t;
        decode(t, p1, erased());
        QCOMPARE(t.value(10), QStringLiteral("7"));
    }

    void numberCellsThatCannotBeStored_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("letters in the port") << 19 << "80ab"
                                             << "'80ab' is not a valid integer value";
        QTest::newRow("decimal point") << 7 << "1.5"
                                       << "'1.5' is not a valid integer value";
        QTest::newRow("port above 16 bits")
            << 19 << "65536"
            << "Row 19 \"19.Server Port(0-65535)\": 65536 does not fit the device; the allowed "
               "range is 0 to 65535.";
        QTest::newRow("negative port")
            << 19 << "-1"
            << "Row 19 \"19.Server Port(0-65535)\": -1 does not fit the device; the allowed "
               "range is 0 to 65535.";
        QTest::newRow("negative delay")
            << 15 << "-5"
            << "Row 15 \"15.Power source failure alarm delay(0~999,Unit:Min)\": -5 does not fit "
               "the device; the allowed range is 0 to 65535.";
        QTest::newRow("huge row 17") << 17 << "99999999999999999999"
                                     << "'99999999999999999999' is not a valid integer value";
        QTest::newRow("letter in the password")
            << 1 << "7a82"
            << "Row 1 \"1.Password\": 7a82 does not fit the device; the allowed characters are "
               "the digits 0 to 9.";
    }
    void numberCellsThatCannotBeStored() {
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(QString, message);
        SettingsTable t;
        t.setValue(row, text);
        QCOMPARE(SettingsArea(t).checkNumbers(), message);
    }

    void firstBadNumberInPageOrderIsReported() {
        SettingsTable t;
        t.setValue(19, QStringLiteral("x"));
        t.setValue(15, QStringLiteral("y"));
        t.setValue(17, QStringLiteral("z"));
        QCOMPARE(SettingsArea(t).checkNumbers(),
                 QStringLiteral("'z' is not a valid integer value"));
    }

    void choicesAndTheirSwappedOffsets() {
        SettingsTable t;
        t.setChoiceIndex(3, 0);
        t.setChoiceIndex(4, -1);
        t.setChoiceIndex(8, 1);
        t.setChoiceIndex(9, 0);
        t.setChoiceIndex(11, 2);
        t.setChoiceIndex(12, 0);
        const Encoded e = encode(t);
        QCOMPARE(bytes(e.page1, 26, 2).toHex(' '), hex("00 FF").toHex(' '));
        QCOMPARE(bytes(e.page1, 110, 2).toHex(' '), hex("00 01").toHex(' '));
        QCOMPARE(bytes(e.page1, 116, 2).toHex(' '), hex("02 00").toHex(' '));

        Page p1 = erased();
        place(p1, 26, hex("00 07"));
        place(p1, 110, hex("01 00"));
        place(p1, 116, hex("01 04"));
        SettingsTable back;
        decode(back, p1, erased());
        QCOMPARE(back.choiceIndex(3), 0);
        QCOMPARE(back.choiceIndex(4), -1);
        QCOMPARE(back.choiceIndex(9), 1);
        QCOMPARE(back.choiceIndex(8), 0);
        QCOMPARE(back.choiceIndex(11), 1);
        QCOMPARE(back.choiceIndex(12), -1);
    }

    void digitFields() {
        SettingsTable t;
        t.setValue(1, QStringLiteral("12"));
        t.setValue(2, QString(22, u'9'));
        Encoded e = encode(t);
        QCOMPARE(bytes(e.page1, 0, 4).toHex(' '), hex("31 32 00 FF").toHex(' '));
        QCOMPARE(bytes(e.page1, 4, 22), QByteArray(22, '9'));
        QCOMPARE(e.page1[26], uint8_t(0x01));

        t.setValue(1, QString());
        t.setValue(2, QStringLiteral("+8613912345678"));
        e = encode(t);
        QCOMPARE(bytes(e.page1, 0, 4), QByteArray(4, '\xFF'));
        QCOMPARE(bytes(e.page1, 4, 15), QByteArray("+8613912345678") + '\0');
        QCOMPARE(bytes(e.page1, 19, 7), QByteArray(7, '\xFF'));

        SettingsTable back;
        decode(back, e.page1, e.page2);
        QCOMPARE(back.value(2), QStringLiteral("+8613912345678"));

        // Reading stops at the first byte that is neither a digit nor a plus sign.
        Page p1 = erased();
        place(p1, 0, "74a2");
        place(p1, 4, "+86 139");
        decode(back, p1, erased());
        QCOMPARE(back.value(1), QStringLiteral("74"));
        QCOMPARE(back.value(2), QStringLiteral("+86"));
    }

    void textFields() {
        SettingsTable t;
        t.setValue(5, QString());
        t.setValue(6, QString(40, u'A'));
        t.setValue(13, QString(45, u'B'));
        Encoded e = encode(t);
        QCOMPARE(bytes(e.page1, 28, 40), QByteArray(1, '\0') + QByteArray(39, '\xFF'));
        QCOMPARE(bytes(e.page1, 68, 40), QByteArray(40, 'A'));
        QCOMPARE(bytes(e.page1, 118, 40), QByteArray(40, 'B'));
        QCOMPARE(bytes(e.page1, 158, 10), QByteArray("Relay OFF") + '\0');

        SettingsTable back;
        decode(back, e.page1, e.page2);
        QCOMPARE(back.value(5), QString());
        QCOMPARE(back.value(6), QString(40, u'A'));
        QCOMPARE(back.value(13), QString(40, u'B'));
        QCOMPARE(back.value(14), QStringLiteral("Relay OFF"));
    }

    void chineseTextIsCodePageBytes() {
        const CodePage gbk(936);
        SettingsTable t;
        t.setValue(5, QStringLiteral("门被打开"));
        // 39 ASCII bytes then a two-byte character: it would straddle the end of the field.
        t.setValue(6, QString(39, u'x') + QStringLiteral("门"));
        t.setValue(13, QString(20, QChar(0x95E8)));
        const Encoded e = encode(t, gbk);
        QCOMPARE(bytes(e.page1, 28, 9), gbk.encode(QStringLiteral("门被打开")) + '\0');
        QCOMPARE(bytes(e.page1, 68, 40), QByteArray(39, 'x') + '\0');
        QCOMPARE(bytes(e.page1, 118, 40), gbk.encode(QString(20, QChar(0x95E8))));

        SettingsTable back;
        decode(back, e.page1, e.page2, gbk);
        QCOMPARE(back.value(5), QStringLiteral("门被打开"));
        QCOMPARE(back.value(6), QString(39, u'x'));
        QCOMPARE(back.value(13), QString(20, QChar(0x95E8)));
    }

    void paddedFields() {
        SettingsTable t;
        t.setValue(18, QString(40, u'1'));
        t.setValue(20, QStringLiteral("cmnet"));
        t.setValue(22, QString(16, u'p'));
        const Encoded e = encode(t);
        QCOMPARE(bytes(e.page1, 204, 32), QByteArray(32, '1'));
        QCOMPARE(bytes(e.page1, 238, 16), QByteArray("cmnet") + QByteArray(11, '\xFF'));
        QCOMPARE(bytes(e.page2, 14, 16), QByteArray(16, 'p'));
        QCOMPARE(bytes(e.page2, 30, 226), QByteArray(226, '\xFF'));

        SettingsTable back;
        decode(back, e.page1, e.page2);
        QCOMPARE(back.value(18), QString(32, u'1'));
        QCOMPARE(back.value(20), QStringLiteral("cmnet"));
        QCOMPARE(back.value(22), QString(16, u'p'));
    }

    void userNameCrossesThePageBoundary_data() {
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("onPage1");
        QTest::addColumn<QByteArray>("onPage2");
        QTest::newRow("16 characters")
            << 1252 << "gprs-user-16char" << QByteArray("gp") << QByteArray("rs-user-16char");
        QTest::newRow("one character")
            << 1252 << "u" << QByteArray("u\xFF") << QByteArray(14, '\xFF');
        QTest::newRow("two characters")
            << 1252 << "us" << QByteArray("us") << QByteArray(14, '\xFF');
        QTest::newRow("empty") << 1252 << "" << QByteArray(2, '\xFF') << QByteArray(14, '\xFF');
        QTest::newRow("two-byte character split over the pages")
            << 936 << "a门b" << QByteArray("a\xC3")
            << QByteArray("\xC5") + "b" + QByteArray(12, '\xFF');
    }
    void userNameCrossesThePageBoundary() {
        QFETCH(int, codePage);
        QFETCH(QString, name);
        QFETCH(QByteArray, onPage1);
        QFETCH(QByteArray, onPage2);
        const CodePage cp(codePage);
        SettingsTable t;
        t.setValue(21, name);
        const Encoded e = encode(t, cp);
        QCOMPARE(bytes(e.page1, 254, 2).toHex(' '), onPage1.toHex(' '));
        QCOMPARE(bytes(e.page2, 0, 14).toHex(' '), onPage2.toHex(' '));

        SettingsTable back;
        SettingsArea area(back);
        area.decodePage1(e.page1.data(), cp);
        area.decodePage2(e.page2.data(), cp);
        QCOMPARE(back.value(21), name);
    }

    void userNameTailIsReadEvenAfterAShortHead() {
        Page p1 = erased();
        place(p1, 254, "a\xFF");
        Page p2 = erased();
        place(p2, 0, "bc");
        SettingsTable t;
        decode(t, p1, p2);
        QCOMPARE(t.value(21), QStringLiteral("abc"));
    }

    void randomTablesComeBackIdentical_data() {
        QTest::addColumn<int>("codePage");
        QTest::newRow("western") << 1252;
        QTest::newRow("simplified Chinese") << 936;
    }
    void randomTablesComeBackIdentical() {
        QFETCH(int, codePage);
        const CodePage cp(codePage);
        QRandomGenerator rng{quint32(codePage)};
        for (int i = 0; i < 200; ++i) {
            SettingsTable t;
            fillRandomSettings(t, rng, cp);
            const Encoded e = encode(t, cp);
            SettingsTable back;
            decode(back, e.page1, e.page2, cp);
            const QString diff = settingsDifference(t, back);
            QVERIFY2(diff.isEmpty(), qPrintable(QStringLiteral("table %1: %2").arg(i).arg(diff)));
        }
    }

    void decodingPage2AppendsToWhatRow21Holds() {
        Page p2 = erased();
        place(p2, 0, "xy");
        SettingsTable t;
        t.setValue(21, QStringLiteral("ab"));
        SettingsArea(t).decodePage2(p2.data(), CodePage(1252));
        QCOMPARE(t.value(21), QStringLiteral("abxy"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsArea)
#include "tst_settingsarea.moc"
