#include "RecordOutput.h"

#include <QTest>

namespace {

using RecordOutput::Format;

const QStringList Columns = {"Date", "Content"};
// Fields that break a line format: TAB, CR LF, a backslash, quotes and a comma, a control
// character, characters beyond ASCII (U+0081 is what code page 1252 makes of a byte it leaves
// unassigned).
const QList<QStringList> Records = {
    {"a\tb", "x\r\ny"},
    {"back\\slash", "say \"hi\", ok"},
    {"", QStringLiteral("\u0001caf\u00e9\u0081")},
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
                                               "\t\u0001caf\u00e9\u0081\n");
        QTest::newRow("csv") << int(Format::Csv)
                             << QStringLiteral("a\tb,\"x\r\ny\"\r\n"
                                               "back\\slash,\"say \"\"hi\"\", ok\"\r\n"
                                               ",\u0001caf\u00e9\u0081\r\n");
        QTest::newRow("json") << int(Format::Json)
                              << QStringLiteral(
                                     "[\n"
                                     "{\"Date\": \"a\\tb\", \"Content\": \"x\\r\\ny\"},\n"
                                     "{\"Date\": \"back\\\\slash\", \"Content\": \"say \\\"hi\\\", "
                                     "ok\"},\n"
                                     "{\"Date\": \"\", \"Content\": \"\\u0001caf\u00e9\u0081\"}\n"
                                     "]\n");
    }
    void formats() {
        QFETCH(int, format);
        QFETCH(QString, text);
        QCOMPARE(RecordOutput::text(Format(format), Columns, Records), text);
    }

    // The names --format takes.
    void formatNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("format"); // -1: refused
        QTest::newRow("tsv") << "tsv" << int(Format::Tsv);
        QTest::newRow("csv") << "csv" << int(Format::Csv);
        QTest::newRow("json") << "json" << int(Format::Json);
        QTest::newRow("xml") << "xml" << -1;
    }
    void formatNames() {
        QFETCH(QString, name);
        QFETCH(int, format);
        const std::optional<Format> parsed = RecordOutput::format(name);
        QCOMPARE(parsed ? int(*parsed) : -1, format);
    }
};

QTEST_GUILESS_MAIN(TestRecordOutput)
#include "tst_recordoutput.moc"
