#include "exchange/CsvLine.h"

#include <QTest>

class TestCsvLine : public QObject {
    Q_OBJECT
private slots:
    void line_data() {
        QTest::addColumn<QList<QByteArray>>("fields");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("plain, empty fields kept")
            << QList<QByteArray>{"1", "12", "2015-03-07", "", ""}
            << QByteArray("1,12,2015-03-07,,\r\n");
        QTest::newRow("comma") << QList<QByteArray>{"a,b", "c"} << QByteArray("\"a,b\",c\r\n");
        QTest::newRow("quote") << QList<QByteArray>{"say \"hi\""}
                               << QByteArray("\"say \"\"hi\"\"\"\r\n");
        QTest::newRow("line breaks")
            << QList<QByteArray>{"a\r\nb", "x\ny"} << QByteArray("\"a\r\nb\",\"x\ny\"\r\n");
        QTest::newRow("8-bit bytes untouched")
            << QList<QByteArray>{"\xC4\xE3\xBA\xC3"} << QByteArray("\xC4\xE3\xBA\xC3\r\n");
    }
    void line() {
        QFETCH(QList<QByteArray>, fields);
        QFETCH(QByteArray, bytes);
        QCOMPARE(CsvLine::line(fields), bytes);
    }

    void parse_data() {
        using Lines = QList<QList<QByteArray>>;
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<Lines>("lines");
        QTest::newRow("CR LF, empty fields kept") << QByteArray("1,12,,\r\n2,,x,\r\n") << true
                                                  << Lines{{"1", "12", "", ""}, {"2", "", "x", ""}};
        QTest::newRow("LF, last line without ending")
            << QByteArray("a,b\nc,d") << true << Lines{{"a", "b"}, {"c", "d"}};
        QTest::newRow("quoted comma and doubled quotes")
            << QByteArray("3,\"12,\"\"3\"\"\",no\r\n") << true << Lines{{"3", "12,\"3\"", "no"}};
        QTest::newRow("line breaks inside quotes")
            << QByteArray("\"a\r\nb\",\"x\ny\"\r\n") << true << Lines{{"a\r\nb", "x\ny"}};
        QTest::newRow("quote never closed") << QByteArray("1,\"ab\r\n2,3\r\n") << false << Lines{};
        QTest::newRow("text after a closing quote")
            << QByteArray("\"ab\"c,1\r\n") << false << Lines{};
    }
    void parse() {
        using Lines = QList<QList<QByteArray>>;
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(Lines, lines);
        Lines parsed{{"left over"}};
        QCOMPARE(CsvLine::parse(bytes, parsed), ok);
        QCOMPARE(parsed, lines);
    }
};

QTEST_GUILESS_MAIN(TestCsvLine)
#include "tst_csvline.moc"
