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
};

QTEST_GUILESS_MAIN(TestCsvLine)
#include "tst_CsvLine.moc"
