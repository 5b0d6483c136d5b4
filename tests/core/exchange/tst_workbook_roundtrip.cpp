#include "FileSizeLimit.h"
#include "Openpyxl.h"

#include "exchange/WorkbookReader.h"
#include "exchange/WorkbookWriter.h"
#include "exchange/WorksheetXml.h"
#include "exchange/ZipPackage.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <unistd.h>

namespace {

constexpr int Rows = 3001;
constexpr int Columns = 8;

// Texts that a careless writer or reader turns into something else.
const QStringList awkward = {
    QStringLiteral("0987654321"),
    QStringLiteral("+998877665544"),
    QStringLiteral("中文号码 電話"),
    QStringLiteral("1E5"),
    QStringLiteral("  spaces at both ends  "),
    QStringLiteral("<&>\"'"),
    QStringLiteral("a,b,,c,"),
    QStringLiteral("line one\r\nline two\rthree\nfour"),
    QStringLiteral("2024/05/17"),
    QStringLiteral("08:00"),
    QStringLiteral("=SUM(A1:A2)"),
    QStringLiteral("TRUE"),
    QStringLiteral("\ttab first"),
    QStringLiteral(" "),
    QStringLiteral("0.50"),
    QStringLiteral("1,234"),
    QStringLiteral("-0"),
    QStringLiteral("😀 outside the basic plane"),
    QString(),
};

QString cellText(int row, int column) {
    const QString &base = awkward.at((row * 3 + column) % awkward.size());
    // Every tenth row adds its own number, so that rows cannot be swapped unnoticed.
    return row % 10 == 0 && !base.isEmpty() ? base + QString::number(row) : base;
}

void fillNumberListLayout(WorkbookWriter &writer) {
    const double widths[] = {4, 20, 16, 16, 16, 16};
    for (int c = 0; c < 6; ++c)
        QVERIFY(writer.setColumnWidth(c + 1, widths[c]));
    for (int r = 1; r <= Rows; ++r) {
        for (int c = 1; c <= Columns; ++c) {
            QVERIFY(writer.setTextFormat(r, c));
            QVERIFY(writer.setCellText(r, c, cellText(r, c)));
        }
    }
}

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList folderEntries(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestWorkbookRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void numberListLayoutComesBackIdentical() {
        QTemporaryDir dir;
        WorkbookWriter writer;
        fillNumberListLayout(writer);
        const QString path = dir.filePath(QStringLiteral("telinf_R2026-12-07_12-05-09"));
        const Result<void> saved = writer.saveAs(path);
        QVERIFY2(saved, qPrintable(saved.reason()));
        QVERIFY(QFile::exists(path + QStringLiteral(".xlsx")));
        QVERIFY(!QFile::exists(path));

        WorkbookReader reader;
        const Result<void> opened = reader.open(path + QStringLiteral(".xlsx"));
        QVERIFY2(opened, qPrintable(opened.reason()));
        for (int r = 1; r <= Rows; ++r) {
            for (int c = 1; c <= Columns; ++c) {
                QCOMPARE(reader.displayedText(r, c), cellText(r, c));
                QCOMPARE(reader.valueText(r, c), cellText(r, c));
            }
        }
        QCOMPARE(reader.displayedText(Rows + 1, 1), QString());
        QCOMPARE(reader.displayedText(1, Columns + 1), QString());
    }

    void charactersXmlCannotHoldComeBack_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("control characters") << QStringLiteral("a\x01 b\x1f c\x0b");
        QTest::newRow("NUL inside")
            << QString(QStringLiteral("before")) + QChar(0) + QStringLiteral("after");
        QTest::newRow("escape look-alike") << QStringLiteral("_x0041_ is not A");
        QTest::newRow("escaped underscore look-alike") << QStringLiteral("_x005F_x0041_");
        QTest::newRow("almost an escape") << QStringLiteral("_x004G_ _x12_ _X0041_");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + QStringLiteral("x");
        QTest::newRow("noncharacter") << QString(QChar(0xFFFF));
    }
    void charactersXmlCannotHoldComeBack() {
        QFETCH(QString, text);
        QTemporaryDir dir;
        WorkbookWriter writer;
        QVERIFY(writer.setCellText(2, 3, text));
        const QString path = dir.filePath(QStringLiteral("odd.xlsx"));
        const Result<void> saved = writer.saveAs(path);
        QVERIFY2(saved, qPrintable(saved.reason()));
        WorkbookReader reader;
        const Result<void> opened = reader.open(path);
        QVERIFY2(opened, qPrintable(opened.reason()));
        QCOMPARE(reader.displayedText(2, 3), text);
        QCOMPARE(reader.valueText(2, 3), text);
    }

    void independentReaderSeesSameTextsWidthsAndFormats() {
        if (!Openpyxl::available())
            QSKIP("/usr/bin/python3 has no openpyxl; scripts/setup.sh installs it");
        QTemporaryDir dir;
        WorkbookWriter writer;
        fillNumberListLayout(writer);
        const QString path = dir.filePath(QStringLiteral("list.xlsx"));
        const Result<void> saved = writer.saveAs(path);
        QVERIFY2(saved, qPrintable(saved.reason()));

        // openpyxl leaves the spreadsheet's _xHHHH_ escapes in shared strings as they are;
        // its own unescape helper undoes them, as a spreadsheet does when it reads the file.
        const QString script = QStringLiteral(R"(
import json, sys, openpyxl
from openpyxl.utils.escape import unescape
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
cells = [[unescape(c.value) if isinstance(c.value, str) else c.value for c in row]
         for row in ws.iter_rows(min_row=1, max_row=ws.max_row, max_col=8)]
widths = {}
for d in ws.column_dimensions.values():
    if d.customWidth:
        for i in range(d.min, d.max + 1):
            widths[str(i)] = d.width
formats = sorted({c.number_format for row in ws.iter_rows(max_col=8) for c in row})
print(json.dumps({"cells": cells, "widths": widths, "formats": formats, "rows": ws.max_row}))
)");
        QByteArray output;
        QString error;
        QVERIFY2(Openpyxl::run(script, {path}, &output, &error), qPrintable(error));
        const QJsonObject result = QJsonDocument::fromJson(output).object();
        QCOMPARE(result.value(QStringLiteral("rows")).toInt(), Rows);
        const QJsonArray cells = result.value(QStringLiteral("cells")).toArray();
        QCOMPARE(cells.size(), Rows);
        for (int r = 1; r <= Rows; ++r) {
            const QJsonArray row = cells.at(r - 1).toArray();
            for (int c = 1; c <= Columns; ++c)
                QCOMPARE(row.at(c - 1).toString(), cellText(r, c));
        }
        // The file stores a width with the cell padding added; the spreadsheet shows the
        // whole characters.
        const QJsonObject widths = result.value(QStringLiteral("widths")).toObject();
        const QMap<QString, int> expected = {{"1", 4},  {"2", 20}, {"3", 16},
                                             {"4", 16}, {"5", 16}, {"6", 16}};
        QCOMPARE(widths.keys(), QStringList(expected.keys()));
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(int(widths.value(it.key()).toDouble()), it.value());
        QCOMPARE(result.value(QStringLiteral("formats")).toArray(), QJsonArray{"@"});
    }

    // What a spreadsheet application stores for a width typed in its dialog: the width in
    // whole pixels of the default font plus the cell padding, in 1/256 of a character.
    void widthsAreStoredAsSpreadsheetsStoreThem_data() {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("stored");
        QTest::newRow("serial column") << 4.0 << 4.7109375;
        QTest::newRow("number column") << 20.0 << 20.7109375;
        QTest::newRow("default width") << 8.43 << 9.140625;
        QTest::newRow("widest") << 255.0 << 255.7109375;
        QTest::newRow("under one character") << 0.5 << 0.85546875;
        QTest::newRow("hidden") << 0.0 << 0.0;
    }
    void widthsAreStoredAsSpreadsheetsStoreThem() {
        QFETCH(double, width);
        QFETCH(double, stored);
        QCOMPARE(WorksheetXml::storedWidth(width), stored);
    }

    void farColumnsAndEdgeSpacesSurvive() {
        QTemporaryDir dir;
        WorkbookWriter writer;
        const QList<int> columns = {26, 27, 52, 53, 702, 703, WorkbookWriter::MaxColumns};
        for (int column : columns)
            QVERIFY(writer.setCellText(column % 7 + 1, column, QString::number(column)));
        QVERIFY(writer.setCellText(9, 1, QStringLiteral(" \tedges\n ")));
        const QString path = dir.filePath(QStringLiteral("wide.xlsx"));
        const Result<void> saved = writer.saveAs(path);
        QVERIFY2(saved, qPrintable(saved.reason()));

        WorkbookReader reader;
        const Result<void> opened = reader.open(path);
        QVERIFY2(opened, qPrintable(opened.reason()));
        for (int column : columns)
            QCOMPARE(reader.displayedText(column % 7 + 1, column), QString::number(column));
        QCOMPARE(reader.displayedText(9, 1), QStringLiteral(" \tedges\n "));

        // Spreadsheet applications drop spaces at either end of a text not marked to keep them.
        const QByteArray file = readAll(path);
        ZipPackage package;
        QString reason;
        QVERIFY2(package.open(file, &reason), qPrintable(reason));
        QByteArray sheet;
        QVERIFY2(package.read(QStringLiteral("xl/worksheets/sheet1.xml"), &sheet, &reason),
                 qPrintable(reason));
        QVERIFY(sheet.contains("<t xml:space=\"preserve\"> \tedges\n </t>"));
        QVERIFY(sheet.contains("<dimension ref=\"A1:XFD9\"/>"));
    }

    void saveReplacesExistingFileKeepingItsPermissions() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("profile.xlsx"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("previous");
        old.close();
        QVERIFY(old.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));

        WorkbookWriter writer;
        QVERIFY(writer.setCellText(1, 1, QStringLiteral("Items")));
        const Result<void> saved = writer.saveAs(path);
        QVERIFY2(saved, qPrintable(saved.reason()));
        const QFileDevice::Permissions modeBits =
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
            QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
            QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(QFile::permissions(path) & modeBits,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        WorkbookReader reader;
        const Result<void> opened = reader.open(path);
        QVERIFY2(opened, qPrintable(opened.reason()));
        QCOMPARE(reader.displayedText(1, 1), QStringLiteral("Items"));
        QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("profile.xlsx")});
    }

    void pathExtensionRule_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("written");
        QTest::newRow("no extension") << "/tmp/a/basicinf_R2026-12-07_12-05-09"
                                      << "/tmp/a/basicinf_R2026-12-07_12-05-09.xlsx";
        QTest::newRow("xlsx") << "/tmp/a/list.xlsx"
                              << "/tmp/a/list.xlsx";
        QTest::newRow("legacy extension") << "/tmp/a/list.xls"
                                          << "/tmp/a/list.xlsx";
        QTest::newRow("legacy extension, capitals") << "/tmp/a/LIST.XLS"
                                                    << "/tmp/a/LIST.xlsx";
        QTest::newRow("csv kept") << "/tmp/a/list.csv"
                                  << "/tmp/a/list.csv";
        QTest::newRow("dot in folder only") << "/tmp/a.b/list"
                                            << "/tmp/a.b/list.xlsx";
    }
    void pathExtensionRule() {
        QFETCH(QString, given);
        QFETCH(QString, written);
        QCOMPARE(WorkbookWriter::withDefaultExtension(given), written);
    }

    // A save over a file that fails, for whatever reason, leaves that file as it was and no
    // stray file beside it.
    void failedSaveLeavesPreviousFileIntact_data() {
        QTest::addColumn<QString>("failure");
        QTest::newRow("text too long for a cell") << "long text";
        QTest::newRow("cell outside the sheet") << "outside";
        QTest::newRow("read-only folder") << "read-only";
        QTest::newRow("disk full half way") << "disk full";
    }
    void failedSaveLeavesPreviousFileIntact() {
        QFETCH(QString, failure);
        QTemporaryDir dir;
        const QString previous = dir.filePath(QStringLiteral("list.xlsx"));
        {
            WorkbookWriter first;
            QVERIFY(first.setCellText(1, 1, QStringLiteral("Serial")));
            QVERIFY(first.saveAs(previous));
        }
        const QByteArray before = readAll(previous);

        WorkbookWriter writer;
        QVERIFY(writer.setCellText(1, 1, QStringLiteral("replacement")));
        if (failure == QLatin1String("long text")) {
            QVERIFY(!writer.setCellText(2, 2, QString(WorkbookWriter::MaxCellLength + 1, 'x')));
        } else if (failure == QLatin1String("outside")) {
            QVERIFY(!writer.setCellText(WorkbookWriter::MaxRows + 1, 1, QStringLiteral("x")));
            QVERIFY(!writer.setTextFormat(1, 0));
        }
        const QStringList entries = folderEntries(dir.path());
        Result<void> saved;
        {
            const bool readOnly = failure == QLatin1String("read-only");
            // The superuser ignores permissions, but not the immutable flag.
            const bool superuser = ::geteuid() == 0;
            const QString chattr = QStringLiteral("chattr");
            if (readOnly && superuser &&
                QProcess::execute(chattr, {QStringLiteral("+i"), dir.path()}) != 0)
                QSKIP("the superuser writes into read-only folders and chattr +i is refused");
            if (readOnly && !superuser)
                QVERIFY(QFile::setPermissions(dir.path(),
                                              QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            const auto restore = qScopeGuard([&] {
                if (readOnly && superuser)
                    QProcess::execute(chattr, {QStringLiteral("-i"), dir.path()});
                QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner);
            });
            std::optional<FileSizeLimit> diskFull;
            if (failure == QLatin1String("disk full"))
                diskFull.emplace(16);
            saved = writer.saveAs(previous);
        }
        QVERIFY(!saved);
        QVERIFY2(saved.reason().contains(QDir::toNativeSeparators(previous)),
                 qPrintable(saved.reason()));
        QCOMPARE(readAll(previous), before);
        QCOMPARE(folderEntries(dir.path()), entries);
    }

    // A save to a path that cannot be a file names it and leaves nothing behind.
    void impossibleTargetIsNamed_data() {
        QTest::addColumn<QString>("failure");
        QTest::newRow("folder in the way of the target") << "folder";
        QTest::newRow("target folder is a file") << "file as folder";
    }
    void impossibleTargetIsNamed() {
        QFETCH(QString, failure);
        QTemporaryDir dir;
        QString target = dir.filePath(QStringLiteral("taken"));
        if (failure == QLatin1String("folder")) {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken.xlsx")));
        } else {
            QFile file(dir.filePath(QStringLiteral("list.xlsx")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            target = file.fileName() + QStringLiteral("/inside.xlsx");
        }
        const QStringList entries = folderEntries(dir.path());
        WorkbookWriter writer;
        QVERIFY(writer.setCellText(1, 1, QStringLiteral("replacement")));
        const Result<void> saved = writer.saveAs(target);
        QVERIFY(!saved);
        QVERIFY2(saved.reason().contains(
                     QDir::toNativeSeparators(WorkbookWriter::withDefaultExtension(target))),
                 qPrintable(saved.reason()));
        QCOMPARE(folderEntries(dir.path()), entries);
    }
};

QTEST_GUILESS_MAIN(TestWorkbookRoundTrip)
#include "tst_workbook_roundtrip.moc"
