#include "ZipBuilder.h"

#include "exchange/WorkbookReader.h"
#include "exchange/WorkbookWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray oneCell = worksheetXml("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Serial</t>"
                                        "</is></c></row>");

QByteArray compoundDocumentHeader() {
    QByteArray header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header.append(QByteArray(512 - 8, '\0'));
    return header;
}

QByteArray nested(int depth) {
    return worksheetXml(QByteArray("<x>").repeated(depth) + QByteArray("</x>").repeated(depth));
}

} // namespace

class TestWorkbookDamaged : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

    QString write(const QString &name, const QByteArray &bytes) {
        return writeTestFile(dir.filePath(name), bytes);
    }

    QByteArray ownWorkbook() {
        WorkbookWriter writer;
        for (int r = 1; r <= 200; ++r)
            writer.setCellText(r, 1, QStringLiteral("row %1").arg(r));
        const QString path = dir.filePath(QStringLiteral("own.xlsx"));
        if (!writer.saveAs(path))
            return {};
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void eachDamageHasItsReason_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");

        QTest::newRow("empty file") << QByteArray() << "it is empty";
        QTest::newRow("plain text")
            << QByteArray("Serial,Authorized number\r\n1,0987\r\n") << "it is not a workbook";
        {
            ZipBuilder zip;
            zip.add(QStringLiteral("readme.txt"), "just a zip");
            QTest::newRow("zip without workbook") << zip.build() << "it has no workbook part";
        }
        {
            ZipBuilder zip;
            zip.add(QStringLiteral("_rels/.rels"),
                    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                    "relationships\"><Relationship Id=\"rId1\" Type=\"http://schemas."
                    "openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
                    "Target=\"word/document.xml\"/></Relationships>");
            zip.add(QStringLiteral("word/document.xml"), "<w:document xmlns:w=\"urn:w\"/>");
            QTest::newRow("word processor document")
                << zip.build() << "the part word/document.xml is not a workbook part";
        }
        const QByteArray good = ownWorkbook();
        QTest::newRow("truncated")
            << good.left(good.size() / 2) << "the zip container is damaged or incomplete";
        QTest::newRow("malformed XML")
            << minimalXlsx(worksheetXml("<row><c><v>1</v></row>"))
            << "the part xl/worksheets/sheet1.xml is not well-formed XML";
        {
            // 70 MiB of blanks pack into well under 1 MiB.
            const QByteArray bomb = minimalXlsx(worksheetXml(QByteArray(70 * 1024 * 1024, ' ')));
            QVERIFY(bomb.size() < 1024 * 1024);
            QTest::newRow("zip bomb") << bomb << "its parts would unpack to more than 64 MiB";
        }
        {
            ZipBuilder zip;
            zip.add(QStringLiteral("xl/workbook.xml"), "<workbook><sheets/></workbook>", true, 10);
            QTest::newRow("size that lies") << zip.build() << "the part xl/workbook.xml is damaged";
        }
        {
            ZipBuilder zip;
            zip.add(QStringLiteral("xl/workbook.xml"), "<workbook><sheets/></workbook>");
            zip.markEncrypted();
            QTest::newRow("encrypted zip entries") << zip.build() << "it is encrypted";
        }
        {
            ZipBuilder zip;
            for (int i = 0; i <= 10000; ++i)
                zip.add(QStringLiteral("p%1").arg(i), QByteArray(), false);
            QTest::newRow("too many parts") << zip.build() << "more than the 10000";
        }
        {
            ZipBuilder zip;
            zip.add(
                QStringLiteral("xl/workbook.xml"),
                "<workbook xmlns:r=\"urn:r\"><sheets><sheet r:id=\"rId1\"/></sheets></workbook>");
            zip.add(QStringLiteral("xl/_rels/workbook.xml.rels"),
                    "<Relationships><Relationship Id=\"rId1\" Type=\"urn:x/worksheet\" "
                    "Target=\"worksheets/sheet1.xml\"/></Relationships>");
            QTest::newRow("missing sheet")
                << zip.build() << "its first worksheet xl/worksheets/sheet1.xml is missing";
        }
        QTest::newRow("no sheet") << minimalXlsx(oneCell, {}, {}, "<workbook><sheets/></workbook>")
                                  << "it has no worksheet";
        // Parsed into a tree, a styles part of millions of empty elements would cost a GB.
        QTest::newRow("styles part too large")
            << minimalXlsx(oneCell, {},
                           "<styleSheet>" + QByteArray(5 * 1024 * 1024, ' ') + "</styleSheet>")
            << "the part xl/styles.xml is larger than 4 MiB";
        QTest::newRow("deep nesting")
            << minimalXlsx(nested(100000)) << "nests deeper than 64 levels";
        QTest::newRow("shared string out of range")
            << minimalXlsx(worksheetXml("<row><c t=\"s\"><v>1</v></c></row>"),
                           "<sst><si><t>only one</t></si></sst>")
            << "cell A1 refers to shared string \"1\", which does not exist";
        QTest::newRow("number that is not one")
            << minimalXlsx(worksheetXml("<row r=\"2\"><c r=\"C2\"><v>12abc</v></c></row>"))
            << "cell C2 holds \"12abc\", which is not a number";
        QTest::newRow("column beyond the sheet")
            << minimalXlsx(worksheetXml("<row><c r=\"XFE1\" t=\"str\"><v>x</v></c></row>"))
            << "a cell named \"XFE1\"";
        QTest::newRow("row zero") << minimalXlsx(worksheetXml(
                                         "<row r=\"0\"><c t=\"str\"><v>x</v></c></row>"))
                                  << "a row numbered \"0\"";
        QTest::newRow("missing style")
            << minimalXlsx(worksheetXml("<row><c s=\"3\"><v>1</v></c></row>"))
            << "cell A1 refers to style \"3\", which does not exist";
        {
            QByteArray encrypted = compoundDocumentHeader();
            encrypted += QByteArray("E\0n\0c\0r\0y\0p\0t\0i\0o\0n\0I\0n\0f\0o\0", 28);
            encrypted += QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
            encrypted += QByteArray(2048, '\0');
            QTest::newRow("password-protected xlsx") << encrypted << "it is encrypted";
        }
        {
            QFile xls(QStringLiteral(VELMORA_TEST_DATA "/workbooks/sample.xls"));
            QVERIFY(xls.open(QIODevice::ReadOnly));
            const QByteArray whole = xls.readAll();
            QTest::newRow("truncated xls") << whole.left(whole.size() / 2) << "damaged";
            QFile encrypted(QStringLiteral(VELMORA_TEST_DATA "/workbooks/sample-encrypted.xls"));
            QVERIFY(encrypted.open(QIODevice::ReadOnly));
            QTest::newRow("password-protected xls") << encrypted.readAll() << "it is encrypted";
            // The .xls library reads past its buffers on this file (found by fuzzing); the
            // crash stays in the child process that reads it.
            QFile overread(QStringLiteral(VELMORA_TEST_DATA "/workbooks/damaged-overread.xls"));
            QVERIFY(overread.open(QIODevice::ReadOnly));
            QTest::newRow("xls the library cannot read safely") << overread.readAll() << "damaged";
        }
        QTest::newRow("compound document that is no workbook")
            << compoundDocumentHeader() + QByteArray(4096, '\x5A') << "workbook";
    }
    void eachDamageHasItsReason() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString path = write(QStringLiteral("damaged.xlsx"), bytes);
        QVERIFY(!path.isEmpty());

        WorkbookReader reader;
        const Result<void> opened = reader.open(path);
        QVERIFY(!opened);
        QVERIFY2(opened.reason().startsWith(
                     QStringLiteral("Cannot read the workbook \"%1\": ").arg(path)),
                 qPrintable(opened.reason()));
        QVERIFY2(opened.reason().contains(reason), qPrintable(opened.reason()));
    }

    void failedOpenForgetsTheEarlierWorkbook() {
        const QString good = write(QStringLiteral("good.xlsx"), minimalXlsx(oneCell));
        const QString bad = write(QStringLiteral("bad.xlsx"),
                                  minimalXlsx(worksheetXml("<row><c t=\"inlineStr\"><is><t>Serial"
                                                           "</t></is></c><c><v>x</v></c></row>")));
        WorkbookReader reader;
        const Result<void> opened = reader.open(good);
        QVERIFY2(opened, qPrintable(opened.reason()));
        QCOMPARE(reader.displayedText(1, 1), QStringLiteral("Serial"));
        // The bad sheet's first cell is fine; it must not be handed out as if the sheet were.
        QVERIFY(!reader.open(bad));
        QCOMPARE(reader.displayedText(1, 1), QString());
        QCOMPARE(reader.valueText(1, 1), QString());
    }

    void missingAndOversizedFiles() {
        WorkbookReader reader;
        const QString missing = dir.filePath(QStringLiteral("none.xlsx"));
        const Result<void> none = reader.open(missing);
        QVERIFY(!none);
        QVERIFY(none.reason().contains(missing));
        const Result<void> folder = reader.open(dir.path());
        QVERIFY(!folder);
        QVERIFY(folder.reason().contains(dir.path()));

        const QString huge = dir.filePath(QStringLiteral("huge.xlsx"));
        QFile file(huge);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(WorkbookReader::MaxFileBytes + 1));
        file.close();
        const Result<void> tooLarge = reader.open(huge);
        QVERIFY(!tooLarge);
        QVERIFY2(tooLarge.reason().contains(QStringLiteral("larger than 64 MiB")),
                 qPrintable(tooLarge.reason()));
    }
};

QTEST_GUILESS_MAIN(TestWorkbookDamaged)
#include "tst_workbook_damaged.moc"
