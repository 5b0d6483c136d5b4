#include "ZipBuilder.h"

#include "exchange/WorksheetStream.h"
#include "exchange/XlsSheetReader.h"
#include "exchange/XlsxSheetReader.h"

#include <QTest>

namespace {

const SheetLayout listOfTwo{3, 2, QStringLiteral("the list holds more than 2 entries")};

} // namespace

class TestSheetLayout : public QObject {
    Q_OBJECT
private slots:
    // The first value past the last row ends the read, whatever follows it (here a damaged cell).
    void valuePastTheLastRowRefusesTheSheet() {
        const QByteArray book = minimalXlsx(
            worksheetXml("<row r=\"3\"><c r=\"A3\" t=\"str\"><v>x</v></c></row>"
                         "<row r=\"4\"><c r=\"B4\" s=\"0\"/></row>" // formatted, empty: no entry
                         "<row r=\"5\"><c r=\"A5\" t=\"str\"><v>y</v></c></row>"
                         "<row r=\"6\"><c r=\"A6\" t=\"str\"><v>12abc</v></c></row>"));
        const Result<SheetCells> refused = XlsxSheetReader::read(book, listOfTwo);
        QVERIFY(!refused);
        QCOMPARE(refused.reason(),
                 QStringLiteral("the list holds more than 2 entries (cell A5 holds a value)"));
        // Without a reason to refuse, the rows before it are the sheet.
        const Result<SheetCells> cells = XlsxSheetReader::read(book, {3, 2, {}});
        QVERIFY2(cells, qPrintable(cells.reason()));
        QCOMPARE(cells.value().value(3, 1), QStringLiteral("x"));
        QCOMPARE(cells.value().value(5, 1), QString());
    }

    void cellsPastTheLastColumnAreLeftOut() {
        const QByteArray book =
            minimalXlsx(worksheetXml("<row><c t=\"str\"><v>a</v></c><c t=\"str\"><v>b</v></c>"
                                     "<c t=\"str\"><v>note</v></c></row>"));
        const Result<SheetCells> cells = XlsxSheetReader::read(book, listOfTwo);
        QVERIFY2(cells, qPrintable(cells.reason()));
        QCOMPARE(cells.value().value(1, 2), QStringLiteral("b"));
        QCOMPARE(cells.value().value(1, 3), QString());
    }

    // A part arrives in pieces of any size: a name, a text or a reference split between two
    // pieces reads as if it came whole.
    void piecesOfAnySizeReadAlike() {
        const QByteArray xml = "<x:worksheet xmlns:x=\"urn:x\"><x:sheetData><x:row r=\"2\">"
                               "<x:c r=\"C2\" t=\"inlineStr\"><x:is><x:r><x:t>ab</x:t></x:r>"
                               "<x:r><x:t>&amp;c</x:t></x:r></x:is></x:c><x:c><x:v>4<![CDATA[2]]>"
                               "</x:v></x:c></x:row></x:sheetData></x:worksheet>";
        QString reason;
        QList<QByteArray> seen;
        WorksheetStream stream(
            QStringLiteral("sheet"),
            [&seen](const CellXml &c) {
                seen << QByteArray::number(c.row) + ',' + QByteArray::number(c.column) + ',' +
                            c.value + c.inlineText;
                return true;
            },
            &reason);
        for (char byte : xml)
            QVERIFY2(stream.feed(&byte, 1), qPrintable(reason));
        QVERIFY2(stream.finish(), qPrintable(reason));
        QCOMPARE(seen, (QList<QByteArray>{"2,3,ab&c", "2,4,42"}));
    }

    void partThatEndsEarlyIsDamaged() {
        QString reason;
        WorksheetStream stream(
            QStringLiteral("xl/worksheets/sheet1.xml"), [](const CellXml &) { return true; },
            &reason);
        const QByteArray xml = "<worksheet><sheetData><row>";
        QVERIFY(stream.feed(xml.constData(), xml.size()));
        QVERIFY(!stream.finish());
        QVERIFY2(reason.startsWith("the part xl/worksheets/sheet1.xml is not well-formed XML"),
                 qPrintable(reason));
    }

    // The legacy reader runs as a program of its own, which stops at the same first value past
    // the last row.
    void legacyWorkbookHasTheSameBounds() {
        const QString sample = QStringLiteral(VELMORA_TEST_DATA "/workbooks/sample.xls");
        const Result<SheetCells> tooLong =
            XlsSheetReader::read(sample, {2, 8, QStringLiteral("too long")});
        QVERIFY(!tooLong);
        QCOMPARE(tooLong.reason(), QStringLiteral("too long (cell A3 holds a value)"));

        const QByteArray saved = qgetenv("VELMORA_XLS_READER");
        qputenv("VELMORA_XLS_READER", "/nonexistent/velmora-xls-reader");
        const Result<SheetCells> noReader = XlsSheetReader::read(sample);
        qputenv("VELMORA_XLS_READER", saved);
        QVERIFY(!noReader);
        QCOMPARE(noReader.reason(), QStringLiteral("the program that reads .xls workbooks, "
                                                   "/nonexistent/velmora-xls-reader, is missing"));
    }
};

QTEST_GUILESS_MAIN(TestSheetLayout)
#include "tst_sheetlayout.moc"
