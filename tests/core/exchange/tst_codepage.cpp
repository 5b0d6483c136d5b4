#include "exchange/CodePage.h"

#include <QTest>

class TestCodePage : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CodePage::setOverride(0); }

    void localeMapping_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("number");
        QTest::newRow("simplified Chinese") << "zh_CN" << 936;
        QTest::newRow("Taiwan") << "zh_TW" << 950;
        QTest::newRow("Hong Kong") << "zh_HK" << 950;
        QTest::newRow("Japanese") << "ja_JP" << 932;
        QTest::newRow("Korean") << "ko_KR" << 949;
        QTest::newRow("Russian") << "ru_RU" << 1251;
        QTest::newRow("Ukrainian") << "uk_UA" << 1251;
        QTest::newRow("Polish") << "pl_PL" << 1250;
        QTest::newRow("Greek") << "el_GR" << 1253;
        QTest::newRow("Turkish") << "tr_TR" << 1254;
        QTest::newRow("Hebrew") << "he_IL" << 1255;
        QTest::newRow("Persian") << "fa_IR" << 1256;
        QTest::newRow("Latvian") << "lv_LV" << 1257;
        QTest::newRow("Vietnamese") << "vi_VN" << 1258;
        QTest::newRow("Thai") << "th_TH" << 874;
        QTest::newRow("German") << "de_DE" << 1252;
        QTest::newRow("C locale") << "C" << 1252;
    }
    void localeMapping() {
        QFETCH(QString, locale);
        QFETCH(int, number);
        QCOMPARE(CodePage::numberForLocale(QLocale(locale)), number);
    }

    // Every page a locale can map to must have a working converter on this machine.
    void everyMappedPageConverts_data() {
        QTest::addColumn<int>("number");
        for (int n :
             {874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258})
            QTest::newRow(qPrintable(QString::number(n))) << n;
    }
    void everyMappedPageConverts() {
        QFETCH(int, number);
        const CodePage cp(number);
        QCOMPARE(cp.number(), number);
        QVERIFY(cp.converts());
        QCOMPARE(cp.encode(QStringLiteral("Relay ON 123")), QByteArray("Relay ON 123"));
        QCOMPARE(cp.decode("Relay ON 123"), QStringLiteral("Relay ON 123"));
    }

    void unknownNumberFallsBackToWestern() { QCOMPARE(CodePage(12345).number(), 1252); }

    void overrideWinsOverLocale() {
        CodePage::setOverride(936);
        QCOMPARE(CodePage::current().number(), 936);
        CodePage::setOverride(1251);
        QCOMPARE(CodePage::current().number(), 1251);
        CodePage::setOverride(0);
        QCOMPARE(CodePage::current().number(), CodePage::numberForLocale(QLocale::system()));
    }

    // A Qt build without the page's converter: the page and its converter are named.
    void missingConverterIsReported() {
        QVERIFY(CodePage::current().conversionProblem().isEmpty());
        CodePage::setOverride(936, "no-such-converter");
        const CodePage cp = CodePage::current();
        QVERIFY(!cp.converts());
        QCOMPARE(cp.name(), QByteArray("no-such-converter"));
        QCOMPARE(cp.conversionProblem(),
                 QStringLiteral("Texts cannot be converted: this program has no converter for "
                                "code page 936 (no-such-converter), the code page of the system's "
                                "language. The settings' texts, the password included, would be "
                                "read and saved empty."));
    }

    void chineseIsTwoBytesAndComesBack() {
        const CodePage cp(936);
        const QString text = QStringLiteral("门被打开了 door");
        const QByteArray bytes = cp.encode(text);
        QCOMPARE(bytes.left(4), QByteArray("\xC3\xC5\xB1\xBB"));
        QCOMPARE(bytes.size(), 5 * 2 + 5);
        QCOMPARE(cp.byteLength(text), 15);
        QCOMPARE(cp.decode(bytes), text);
    }

    void westernPageMakesEveryByteACharacter() {
        const CodePage cp(1252);
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            all.append(char(b));
        const QString text = cp.decode(all);
        QCOMPARE(text.size(), 255);
        QCOMPARE(cp.encode(text), all);
        QCOMPARE(cp.decode("\xE9\x80"), QStringLiteral("é€"));
    }

    void cutNeverSplitsATwoByteCharacter_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxBytes");
        QTest::addColumn<QString>("expected");
        const QString mixed = QStringLiteral("a中文b");
        QTest::newRow("fits whole") << 936 << mixed << 6 << mixed;
        QTest::newRow("cut after a pair") << 936 << mixed << 5 << QStringLiteral("a中文");
        QTest::newRow("cut before a split pair") << 936 << mixed << 4 << QStringLiteral("a中");
        QTest::newRow("cut at the lead byte") << 936 << mixed << 2 << QStringLiteral("a");
        QTest::newRow("nothing fits") << 936 << QStringLiteral("中") << 1 << QString();
        QTest::newRow("zero bytes") << 936 << mixed << 0 << QString();
        QTest::newRow("single-byte page")
            << 1252 << QStringLiteral("éèêë") << 3 << QStringLiteral("éèê");
        // 39 ASCII bytes, then a Chinese character that would need bytes 40 and 41.
        QTest::newRow("40-byte field")
            << 936 << QString(39, u'x') + QStringLiteral("中") << 40 << QString(39, u'x');
    }
    void cutNeverSplitsATwoByteCharacter() {
        QFETCH(int, number);
        QFETCH(QString, text);
        QFETCH(int, maxBytes);
        QFETCH(QString, expected);
        const CodePage cp(number);
        QCOMPARE(cp.cut(text, maxBytes), expected);
        QCOMPARE(cp.encodeCut(text, maxBytes), cp.encode(expected));
        QVERIFY(cp.encodeCut(text, maxBytes).size() <= qMax(maxBytes, 0));
    }

    void characterOutsideThePageTakesOneSubstituteByte() {
        const CodePage cp(1252);
        const QByteArray bytes = cp.encode(QStringLiteral("a中b"));
        QCOMPARE(bytes.size(), 3);
        QCOMPARE(bytes.at(0), 'a');
        QCOMPARE(bytes.at(2), 'b');
        QCOMPARE(cp.byteLength(QStringLiteral("a中b")), 3);
    }

    void firstCharacterThePageCannotHold_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("at");
        QTest::newRow("western letters and dash") << 1252 << "Tür offen – ok" << -1;
        QTest::newRow("chinese in western") << 1252 << "Tür 中文" << 4;
        QTest::newRow("chinese in 936") << 936 << "门 中文" << -1;
        QTest::newRow("pair outside the basic plane") << 936 << "a\U0001F600" << 1;
        // A read turns bytes that are no character into U+FFFD; they cannot go back.
        QTest::newRow("replacement character") << 936 << "ab\uFFFD" << 2;
    }
    void firstCharacterThePageCannotHold() {
        QFETCH(int, page);
        QFETCH(QString, text);
        QFETCH(int, at);
        QCOMPARE(CodePage(page).firstUnheld(text), qsizetype(at));
    }
};

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
