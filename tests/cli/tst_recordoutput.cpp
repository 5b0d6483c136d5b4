#include "RecordOutput.h"

#include <QTest>

namespace {

using RecordOutput::Format;

const QStringList Columns = {"Date", "Content"};
// Fields that break a line format: TAB, CR LF, a backslash, quotes and a comma, a control
// character, a character beyond ASCII.
const QList<QStringList> Records = {
    {"a\tb", "x\r\ny"},
    {"back\\slash", "say \"hi\", ok"},
    {"", QStringLiteral("\u0001caf\u00e9")},
};

} // namespace

class TestRecordOutput : public QObject {
    Q_OBJECT
private slots:
    void formats_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("text");
        QTest::newRow("tsv") << int(Format::Tsv)
                             << QStringLiteral("a\\tb\tx\\r\\ny\n"
                                               "back\\\\slash\tsay \"hi\", ok\n"
                                               "\t\u0001caf\u00e9\n");
        QTest::newRow("csv") << int(Format::Csv)
                             << QStringLiteral("a\tb,\"x\r\ny\"\r\n"
                                               "back\\slash,\"say \"\"hi\"\", ok\"\r\n"
                                               ",\u0001caf\u00e9\r\n");
        QTest::newRow("json") << int(Format::Json)
                              << QStringLiteral(
                                     "[\n"
                                     "{\"Date\": \"a\\tb\", \"Content\": \"x\\r\\ny\"},\n"
                                     "{\"Date\": \"back\\\\slash\", \"Content\": \"say \\\"hi\\\", "
                                     "ok\"},\n"
                                     "{\"Date\": \"\", \"Content\": \"\\u0001caf\u00e9\"}\n"
                                     "]\n");
    }
    void formats() {
        QFETCH(int, format);
        QFETCH(QString, text);
        QCOMPARE(RecordOutput::text(Format(format), Columns, Records), text);
    }
};

QTEST_GUILESS_MAIN(TestRecordOutput)
#include "tst_recordoutput.moc"
