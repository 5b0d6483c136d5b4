#include "exchange/NumberCellText.h"
#include "exchange/XlsxText.h"

#include <QTest>

using namespace NumberCellText;
Q_DECLARE_METATYPE(NumberCellText::FormatKind)
Q_DECLARE_METATYPE(NumberCellText::DateSystem)

class TestNumberCellText : public QObject {
    Q_OBJECT
private slots:
    void formatCodes_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<FormatKind>("kind");
        QTest::newRow("general") << "General" << FormatKind::General;
        QTest::newRow("decimals") << "0.00" << FormatKind::General;
        QTest::newRow("thousands") << "#,##0;[Red]-#,##0" << FormatKind::General;
        QTest::newRow("scientific") << "0.00E+00" << FormatKind::General;
        QTest::newRow("text") << "@" << FormatKind::General;
        QTest::newRow("quoted letters") << "0 \"days\"" << FormatKind::General;
        QTest::newRow("escaped letter") << "0\\h" << FormatKind::General;
        QTest::newRow("colour and condition") << "[Blue][>=100]0;0" << FormatKind::General;
        QTest::newRow("iso date") << "yyyy-mm-dd" << FormatKind::Date;
        QTest::newRow("own date") << "yyyy/mm/dd" << FormatKind::Date;
        QTest::newRow("month name") << "mmm" << FormatKind::Date;
        QTest::newRow("date with text section") << "d-mmm-yy;@" << FormatKind::Date;
        QTest::newRow("chinese date") << "yyyy\"年\"m\"月\"d\"日\"" << FormatKind::Date;
        QTest::newRow("hours and minutes") << "h:mm" << FormatKind::Time;
        QTest::newRow("minutes and seconds") << "mm:ss" << FormatKind::Time;
        QTest::newRow("elapsed hours") << "[h]:mm:ss" << FormatKind::Time;
        QTest::newRow("twelve-hour clock") << "h:mm AM/PM" << FormatKind::Time;
        QTest::newRow("locale and both") << "[$-409]m/d/yy h:mm AM/PM" << FormatKind::DateTime;
        QTest::newRow("date and time") << "yyyy-mm-dd hh:mm:ss" << FormatKind::DateTime;
    }
    void formatCodes() {
        QFETCH(QString, code);
        QFETCH(FormatKind, kind);
        QCOMPARE(formatCodeKind(code), kind);
    }

    void builtinFormats() {
        QCOMPARE(builtinFormatKind(0), FormatKind::General);
        QCOMPARE(builtinFormatKind(2), FormatKind::General);
        QCOMPARE(builtinFormatKind(49), FormatKind::General);
        QCOMPARE(builtinFormatKind(14), FormatKind::Date);
        QCOMPARE(builtinFormatKind(57), FormatKind::Date);
        QCOMPARE(builtinFormatKind(21), FormatKind::Time);
        QCOMPARE(builtinFormatKind(46), FormatKind::Time);
        QCOMPARE(builtinFormatKind(22), FormatKind::DateTime);
    }

    void texts_data() {
        QTest::addColumn<double>("number");
        QTest::addColumn<FormatKind>("kind");
        QTest::addColumn<DateSystem>("system");
        QTest::addColumn<QString>("displayed");
        QTest::addColumn<QString>("value");
        const auto g = FormatKind::General;
        const auto d = FormatKind::Date;
        const auto t = FormatKind::Time;
        const auto dt = FormatKind::DateTime;
        const auto y1900 = DateSystem::From1900;
        const auto y1904 = DateSystem::From1904;
        QTest::newRow("integer") << 42.0 << g << y1900 << "42"
                                 << "42";
        QTest::newRow("negative fraction") << -1234.5 << g << y1900 << "-1234.5"
                                           << "-1234.5";
        QTest::newRow("third") << 1.0 / 3 << g << y1900 << "0.333333333"
                               << "0.3333333333333333";
        QTest::newRow("eleven digits rounded") << 12345678901.5 << g << y1900 << "12345678902"
                                               << "12345678901.5";
        QTest::newRow("large") << 123456789012.0 << g << y1900 << "1.23457E+11"
                               << "123456789012";
        QTest::newRow("huge") << 1e20 << g << y1900 << "1E+20"
                              << "100000000000000000000";
        QTest::newRow("tiny") << 1.5e-10 << g << y1900 << "1.5E-10"
                              << "0.00000000015";
        QTest::newRow("zero") << 0.0 << g << y1900 << "0"
                              << "0";
        QTest::newRow("date") << 45429.0 << d << y1900 << "2024/05/17"
                              << "2024/05/17";
        QTest::newRow("date with time of day") << 45429.75 << d << y1900 << "2024/05/17"
                                               << "2024/05/17 18:00:00";
        QTest::newRow("time") << 0.3333333333 << t << y1900 << "08:00:00"
                              << "08:00:00";
        QTest::newRow("time rounding to midnight") << 0.999999999 << t << y1900 << "00:00:00"
                                                   << "1900/01/01";
        QTest::newRow("date and time") << 45429.5 << dt << y1900 << "2024/05/17 12:00:00"
                                       << "2024/05/17 12:00:00";
        QTest::newRow("date and time at midnight")
            << 45429.0 << dt << y1900 << "2024/05/17 00:00:00"
            << "2024/05/17";
        QTest::newRow("first day") << 1.0 << d << y1900 << "1900/01/01"
                                   << "1900/01/01";
        QTest::newRow("last day before the false leap day") << 59.0 << d << y1900 << "1900/02/28"
                                                            << "1900/02/28";
        QTest::newRow("false leap day") << 60.0 << d << y1900 << "1900/02/29"
                                        << "1900/02/29";
        QTest::newRow("after the false leap day") << 61.0 << d << y1900 << "1900/03/01"
                                                  << "1900/03/01";
        QTest::newRow("1904 day 0") << 0.0 << d << y1904 << "1904/01/01"
                                    << "00:00:00";
        QTest::newRow("1904 date") << 43967.0 << d << y1904 << "2024/05/17"
                                   << "2024/05/17";
        QTest::newRow("negative is no date") << -1.0 << d << y1900 << "-1"
                                             << "-1";
        QTest::newRow("beyond 9999 is no date") << 2958466.0 << d << y1900 << "2958466"
                                                << "2958466";
    }
    void texts() {
        QFETCH(double, number);
        QFETCH(FormatKind, kind);
        QFETCH(DateSystem, system);
        QFETCH(QString, displayed);
        QFETCH(QString, value);
        QCOMPARE(NumberCellText::displayed(number, kind, system), displayed);
        QCOMPARE(NumberCellText::value(number, kind, system), value);
    }

    void escapes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("plain") << "a b" << QByteArray("a b");
        QTest::newRow("tab and line feed stay") << "a\tb\nc" << QByteArray("a\tb\nc");
        QTest::newRow("carriage return") << "a\r\nb" << QByteArray("a_x000D_\nb");
        QTest::newRow("control") << "\x01" << QByteArray("_x0001_");
        QTest::newRow("literal escape") << "_x0041_" << QByteArray("_x005F_x0041_");
        QTest::newRow("lower-case literal escape") << "_x00ff_" << QByteArray("_x005F_x00ff_");
        QTest::newRow("underscore alone") << "_x_ __x00" << QByteArray("_x_ __x00");
        QTest::newRow("non-ASCII") << "号码" << QString("号码").toUtf8();
    }
    void escapes() {
        QFETCH(QString, text);
        QFETCH(QByteArray, stored);
        QCOMPARE(XlsxText::encode(text), stored);
        QCOMPARE(XlsxText::decode(stored.constData(), stored.size()), text);
    }

    void decodingOtherWriters() {
        const QByteArray lower("_x000d__x000a_");
        QCOMPARE(XlsxText::decode(lower.constData(), lower.size()), QStringLiteral("\r\n"));
        const QByteArray broken("_x00G1_ _x0041 x0041_");
        QCOMPARE(XlsxText::decode(broken.constData(), broken.size()), QString::fromUtf8(broken));
    }
};

QTEST_GUILESS_MAIN(TestNumberCellText)
#include "tst_numbercelltext.moc"
