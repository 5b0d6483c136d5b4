#include "Openpyxl.h"
#include "ZipBuilder.h"

#include "exchange/WorkbookReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Expected {
    const char *cell;
    const char *displayed;
    const char *value;
};

int columnOf(const char *cell) {
    return cell[0] - 'A' + 1;
}
int rowOf(const char *cell) {
    return QByteArray(cell + 1).toInt();
}

void compareCells(const WorkbookReader &reader, std::initializer_list<Expected> expected) {
    for (const Expected &e : expected) {
        const QByteArray where = QByteArray("cell ") + e.cell;
        QVERIFY2(
            reader.displayedText(rowOf(e.cell), columnOf(e.cell)) == QString::fromUtf8(e.displayed),
            (where + " shows " + reader.displayedText(rowOf(e.cell), columnOf(e.cell)).toUtf8())
                .constData());
        QVERIFY2(reader.valueText(rowOf(e.cell), columnOf(e.cell)) == QString::fromUtf8(e.value),
                 (where + " holds " + reader.valueText(rowOf(e.cell), columnOf(e.cell)).toUtf8())
                     .constData());
    }
}

QByteArray styles(const QByteArray &numFmts, const QByteArray &xfs) {
    return "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
           "<numFmts>" +
           numFmts + "</numFmts><cellXfs>" + xfs + "</cellXfs></styleSheet>";
}

} // namespace

class TestWorkbookForeign : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

    QString write(const QString &name, const QByteArray &bytes) {
        return writeTestFile(dir.filePath(name), bytes);
    }

    QString openpyxlWorkbook(const QString &dateSystem) {
        const QString path = dir.filePath(QStringLiteral("openpyxl-%1.xlsx").arg(dateSystem));
        QByteArray output;
        QString error;
        QFile script(QStringLiteral(VELMORA_TEST_DATA "/workbooks/openpyxl_sample.py"));
        if (!script.open(QIODevice::ReadOnly) ||
            !Openpyxl::run(QString::fromUtf8(script.readAll()), {path, dateSystem}, &output,
                           &error)) {
            qWarning("%s", qPrintable(error));
            return {};
        }
        return path;
    }

private slots:
    void openpyxlWorkbookInEitherDateSystem_data() {
        QTest::addColumn<QString>("dateSystem");
        QTest::newRow("1900") << "1900";
        QTest::newRow("1904") << "1904";
    }
    void openpyxlWorkbookInEitherDateSystem() {
        QFETCH(QString, dateSystem);
        if (!Openpyxl::available())
            QSKIP("/usr/bin/python3 has no openpyxl; scripts/setup.sh installs it");
        const QString path = openpyxlWorkbook(dateSystem);
        QVERIFY(!path.isEmpty());
        WorkbookReader reader;
        const Result<void> opened = reader.open(path);
        QVERIFY2(opened, qPrintable(opened.reason()));
        compareCells(reader, {
                                 {"A1", "Serial", "Serial"},
                                 {"B1", "42", "42"},
                                 {"C1", "3.5", "3.5"},
                                 {"D1", "1234567.891", "1234567.891"},
                                 {"E1", "-0.25", "-0.25"},
                                 {"F1", "1.23457E+11", "123456789012"},
                                 {"G1", "TRUE", "TRUE"},
                                 {"H1", "  padded  ", "  padded  "},
                                 {"A2", "2024/05/17", "2024/05/17"},
                                 {"B2", "08:00:00", "08:00:00"},
                                 {"C2", "2024/05/17 08:30:15", "2024/05/17 08:30:15"},
                                 {"D2", "2024/12/31", "2024/12/31"},
                                 {"E2", "12:00:00", "12:00:00"},
                                 {"F2", "45000", "45000"},
                                 {"G2", "FALSE", "FALSE"},
                                 {"H2", "0987654321", "0987654321"},
                                 {"A3", "2024/05/17 00:00:00", "2024/05/17"},
                                 {"C5", "after a gap", "after a gap"},
                                 {"A4", "", ""},
                                 {"Z9", "", ""},
                             });
        QCOMPARE(reader.displayedText(3, 2), dateSystem == QLatin1String("1904")
                                                 ? QStringLiteral("1904/01/01")
                                                 : QStringLiteral("1900/01/00"));
    }

    void otherWritersLayouts_data() {
        QTest::addColumn<QByteArray>("workbook");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("displayed");
        QTest::addColumn<QString>("value");

        const QByteArray inlineRows =
            "<row><c t=\"inlineStr\"><is><t>first</t></is></c>"
            "<c t=\"inlineStr\"><is><r><t>rich </t></r><r><rPr><b/></rPr><t>text</t></r></is></c>"
            "<c t=\"inlineStr\"><is><t xml:space=\"preserve\">   </t></is></c></row>"
            "<row><c><v>7</v></c><c t=\"str\"><f>A2&amp;\"x\"</f><v>7x</v></c>"
            "<c t=\"e\"><v>#DIV/0!</v></c><c t=\"b\"><v>1</v></c></row>"
            "<row r=\"5\"><c r=\"D5\" t=\"inlineStr\"><is><t>after gaps</t></is></c>"
            "<c t=\"inlineStr\"><is><t>next to D5</t></is></c></row>";
        const QByteArray inlineBook = minimalXlsx(worksheetXml(inlineRows));
        QTest::newRow("inline string") << inlineBook << "A1"
                                       << "first"
                                       << "first";
        QTest::newRow("inline rich text") << inlineBook << "B1"
                                          << "rich text"
                                          << "rich text";
        QTest::newRow("blanks only") << inlineBook << "C1"
                                     << "   "
                                     << "   ";
        QTest::newRow("row without r") << inlineBook << "A2"
                                       << "7"
                                       << "7";
        QTest::newRow("formula text") << inlineBook << "B2"
                                      << "7x"
                                      << "7x";
        QTest::newRow("error value") << inlineBook << "C2"
                                     << "#DIV/0!"
                                     << "#DIV/0!";
        QTest::newRow("boolean") << inlineBook << "D2"
                                 << "TRUE"
                                 << "TRUE";
        QTest::newRow("numbered cell") << inlineBook << "D5"
                                       << "after gaps"
                                       << "after gaps";
        QTest::newRow("cell after numbered") << inlineBook << "E5"
                                             << "next to D5"
                                             << "next to D5";

        const QByteArray shared =
            "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
            "<si><t>plain</t></si>"
            "<si><r><t>Auth</t></r><r><rPr><i/></rPr><t>orized</t></r>"
            "<rPh sb=\"0\" eb=\"1\"><t>phonetic</t></rPh></si>"
            "<si><t>line_x000D_&#10;break _x005F_x0041_</t></si>"
            "<si><t><![CDATA[<cdata> & ]]>joined</t></si></sst>";
        const QByteArray sharedRows = "<row><c t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c>"
                                      "<c t=\"s\"><v>2</v></c><c t=\"s\"><v>3</v></c></row>";
        const QByteArray sharedBook = minimalXlsx(worksheetXml(sharedRows), shared);
        QTest::newRow("shared string") << sharedBook << "A1"
                                       << "plain"
                                       << "plain";
        QTest::newRow("shared rich text without phonetics") << sharedBook << "B1"
                                                            << "Authorized"
                                                            << "Authorized";
        QTest::newRow("escapes") << sharedBook << "C1"
                                 << "line\r\nbreak _x0041_"
                                 << "line\r\nbreak _x0041_";
        QTest::newRow("CDATA") << sharedBook << "D1"
                               << "<cdata> & joined"
                               << "<cdata> & joined";

        // Prefixed names, as some generators write them.
        const QByteArray prefixed = minimalXlsx(
            "<x:worksheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
            "<x:sheetData><x:row x:r=\"1\"><x:c r=\"B1\" t=\"inlineStr\"><x:is><x:t>prefixed"
            "</x:t></x:is></x:c></x:row></x:sheetData></x:worksheet>");
        QTest::newRow("namespace prefixes") << prefixed << "B1"
                                            << "prefixed"
                                            << "prefixed";

        const QByteArray customStyles =
            styles("<numFmt numFmtId=\"164\" formatCode=\"yyyy/mm/dd;@\"/>"
                   "<numFmt numFmtId=\"165\" formatCode=\"hh&quot;h&quot;mm\"/>"
                   "<numFmt numFmtId=\"14\" formatCode=\"0.0\"/>",
                   "<xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"165\"/>"
                   "<xf numFmtId=\"14\"/><xf numFmtId=\"49\"/><xf numFmtId=\"22\"/>");
        const QByteArray formatted =
            minimalXlsx(worksheetXml("<row><c s=\"1\"><v>45429</v></c><c s=\"2\"><v>0.75</v></c>"
                                     "<c s=\"3\"><v>45429</v></c><c s=\"4\"><v>1E5</v></c>"
                                     "<c s=\"5\"><v>45429.5</v></c><c s=\"0\"><v>0.1</v></c>"
                                     "<c t=\"d\" s=\"1\"><v>2024-05-17T00:00:00</v></c></row>"),
                        {}, customStyles);
        QTest::newRow("custom date") << formatted << "A1"
                                     << "2024/05/17"
                                     << "2024/05/17";
        QTest::newRow("custom time") << formatted << "B1"
                                     << "18:00:00"
                                     << "18:00:00";
        QTest::newRow("built-in id redefined") << formatted << "C1"
                                               << "45429"
                                               << "45429";
        QTest::newRow("number in a text cell") << formatted << "D1"
                                               << "100000"
                                               << "100000";
        QTest::newRow("built-in date and time") << formatted << "E1"
                                                << "2024/05/17 12:00:00"
                                                << "2024/05/17 12:00:00";
        QTest::newRow("general") << formatted << "F1"
                                 << "0.1"
                                 << "0.1";
        QTest::newRow("ISO date cell") << formatted << "G1"
                                       << "2024/05/17"
                                       << "2024/05/17";

        // The first sheet listed is a chart; the first worksheet is found through its
        // relationship, with a target given from the package root.
        const QByteArray rel =
            "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
        ZipBuilder zip;
        zip.add(QStringLiteral("_rels/.rels"),
                "<Relationships><Relationship Id=\"a\" Type=\"" + rel +
                    "/officeDocument\" Target=\"/book/main.xml\"/></Relationships>");
        zip.add(QStringLiteral("book/main.xml"),
                "<workbook xmlns:rel=\"" + rel +
                    "\"><workbookPr date1904=\"true\"/><sheets>"
                    "<sheet name=\"Chart\" sheetId=\"2\" rel:id=\"c\"/>"
                    "<sheet name=\"Data\" sheetId=\"1\" rel:id=\"w\"/></sheets></workbook>");
        zip.add(QStringLiteral("book/_rels/main.xml.rels"),
                "<Relationships><Relationship Id=\"w\" Type=\"" + rel +
                    "/worksheet\" Target=\"/data/../sheets/data.xml\"/>"
                    "<Relationship Id=\"c\" Type=\"" +
                    rel +
                    "/chartsheet\" Target=\"chart.xml\"/>"
                    "<Relationship Id=\"s\" Type=\"" +
                    rel + "/styles\" Target=\"Styles.XML\"/></Relationships>");
        zip.add(QStringLiteral("book/chart.xml"), "<chartsheet/>");
        zip.add(QStringLiteral("book/styles.xml"), styles({}, "<xf/><xf numFmtId=\"14\"/>"));
        zip.add(QStringLiteral("sheets/data.xml"),
                worksheetXml("<row><c s=\"1\"><v>43967</v></c></row>"));
        QTest::newRow("first worksheet, 1904 dates") << zip.build() << "A1"
                                                     << "2024/05/17"
                                                     << "2024/05/17";
    }
    void otherWritersLayouts() {
        QFETCH(QByteArray, workbook);
        QFETCH(QString, cell);
        QFETCH(QString, displayed);
        QFETCH(QString, value);
        const QString path = write(QStringLiteral("other.xlsx"), workbook);
        WorkbookReader reader;
        const Result<void> opened = reader.open(path);
        QVERIFY2(opened, qPrintable(opened.reason()));
        const QByteArray name = cell.toLatin1();
        QCOMPARE(reader.displayedText(rowOf(name), columnOf(name)), displayed);
        QCOMPARE(reader.valueText(rowOf(name), columnOf(name)), value);
    }

    void legacyXlsFixture() {
        // sample.xls is written by make_xls.py beside it.
        WorkbookReader reader;
        const Result<void> opened =
            reader.open(QStringLiteral(VELMORA_TEST_DATA "/workbooks/sample.xls"));
        QVERIFY2(opened, qPrintable(opened.reason()));
        compareCells(reader, {
                                 {"A1", "Serial", "Serial"},
                                 {"B1", "Authorized number", "Authorized number"},
                                 {"A2", "1", "1"},
                                 {"B2", "0987654321", "0987654321"},
                                 {"C2", "2024/05/17", "2024/05/17"},
                                 {"D2", "18:00:00", "18:00:00"},
                                 {"E2", "3.5", "3.5"},
                                 {"F2", "中文号码", "中文号码"},
                                 {"A3", "  spaced  ", "  spaced  "},
                                 {"B3", "+4930", "+4930"},
                                 {"C3", "2024/12/31", "2024/12/31"},
                                 {"D3", "1.23457E+11", "123456789012"},
                                 {"E3", "", ""},
                                 {"A4", "", ""},
                             });
    }

    void contentDecidesNotTheName() {
        const QString path =
            write(QStringLiteral("named-like-old.xls"),
                  minimalXlsx(worksheetXml("<row><c t=\"inlineStr\"><is><t>Items</t></is></c>"
                                           "</row>")));
        WorkbookReader reader;
        const Result<void> opened = reader.open(path);
        QVERIFY2(opened, qPrintable(opened.reason()));
        QCOMPARE(reader.displayedText(1, 1), QStringLiteral("Items"));
    }
};

QTEST_GUILESS_MAIN(TestWorkbookForeign)
#include "tst_workbook_foreign.moc"
