#include "ExchangeDisplays.h"
#include "Openpyxl.h"

#include "numbers/NumberListExchange.h"
#include "numbers/NumberTable.h"
#include "settings/SettingsTable.h"
#include "settings/Tcustomstringgrid_basis.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

// What another program sees in an exported workbook: the cells that are not text-formatted, the
// column widths a spreadsheet shows, and a few cells with their types.
const char layoutScript[] = R"py(
import json, sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
rows, columns = int(sys.argv[2]), int(sys.argv[3])
unformatted = sum(1 for row in ws.iter_rows(min_row=1, max_row=rows, max_col=columns)
                  for c in row if c.number_format != "@")
widths = {k: int(d.width) for k, d in ws.column_dimensions.items() if d.customWidth}
cells = {ref: [ws[ref].value, ws[ref].data_type] for ref in sys.argv[4:]}
print(json.dumps({"unformatted": unformatted, "widths": widths, "cells": cells,
                  "rows": ws.max_row, "columns": ws.max_column}))
)py";

// A number list as a person's spreadsheet saves it: shared strings, a true number, true dates,
// and in the second file a true time, which reads with its seconds.
const char foreignListScript[] = R"py(
import datetime, sys, openpyxl
for path, true_time in ((sys.argv[1], False), (sys.argv[2], True)):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.append(["Serial", "Authorized number", "Start Date", "Start Time ", "End Date",
               "End Time", "Always(V)", "Delete(V)"])
    ws.append([1, 987654321, datetime.date(2024, 5, 17), "08:00", datetime.date(2024, 12, 31),
               "18:00", "no", "no"])
    ws.append([2, "+4930", "2024/05/17", datetime.time(8, 0) if true_time else "08:00",
               "2024/12/31", "18:00", "no", "no"])
    ws.append([3, "5551234", None, None, None, None, "yes", "no"])
    wb.save(path)
)py";

} // namespace

class TestExchangeFiles : public QObject, private ExchangeDisplays {
    Q_OBJECT
private:
    QJsonObject layout(const QString &path, int rows, int columns, const QStringList &cells) {
        QByteArray output;
        QString error;
        if (!Openpyxl::run(QString::fromLatin1(layoutScript),
                           QStringList{path, QString::number(rows), QString::number(columns)} +
                               cells,
                           &output, &error))
            qWarning("%s", qPrintable(error));
        return QJsonDocument::fromJson(output).object();
    }

private slots:
    void initTestCase() {
        if (!Openpyxl::available())
            QSKIP("/usr/bin/python3 has no openpyxl; scripts/setup.sh installs it");
    }

    void numberListLayout() {
        NumberTable table;
        table.setCell(NumberTable::Number, 1, QStringLiteral("+998877665544"));
        table.setCell(NumberTable::Number, 2, QStringLiteral("0987654321"));
        table.setCell(NumberTable::StartDate, 2, QStringLiteral("2024/05/17"));
        const QString path = dir.filePath(QStringLiteral("list.xlsx"));
        QVERIFY(NumberListExchange(table, op, status, progress, dir.path()).saveWorkbook(path));
        const QJsonObject seen = layout(path, 3001, 8, {"B2", "B3", "C3", "D1", "A3001", "H3001"});
        QCOMPARE(seen.value("rows").toInt(), 3001);
        QCOMPARE(seen.value("columns").toInt(), 8);
        QCOMPARE(seen.value("unformatted").toInt(), 0);
        QCOMPARE(seen.value("widths").toObject().toVariantMap(),
                 QVariantMap({{"A", 4}, {"B", 20}, {"C", 16}, {"D", 16}, {"E", 16}, {"F", 16}}));
        QCOMPARE(seen.value("cells").toObject().toVariantMap(),
                 QVariantMap({{"B2", QVariantList{"+998877665544", "s"}},
                              {"B3", QVariantList{"0987654321", "s"}},
                              {"C3", QVariantList{"2024/05/17", "s"}},
                              {"D1", QVariantList{"Start Time ", "s"}},
                              {"A3001", QVariantList{"3000", "s"}},
                              {"H3001", QVariantList{"no", "s"}}}));
    }

    void profileLayout() {
        SettingsTable table;
        table.setValue(1, QStringLiteral("0123"));
        const QString path = dir.filePath(QStringLiteral("profile.xlsx"));
        QVERIFY(Tcustomstringgrid_basis(table, op, status, progress, dir.path()).saveProfile(path));
        const QJsonObject seen = layout(path, 0, 0, {"A1", "B2", "B4", "C23"});
        QCOMPARE(seen.value("rows").toInt(), 23);
        QCOMPARE(seen.value("columns").toInt(), 3);
        QCOMPARE(seen.value("widths").toObject().toVariantMap(),
                 QVariantMap({{"A", 85}, {"B", 45}, {"C", 130}}));
        QCOMPARE(seen.value("cells").toObject().toVariantMap(),
                 QVariantMap({{"A1", QVariantList{"Items", "s"}},
                              {"B2", QVariantList{"0123", "s"}},
                              {"B4", QVariantList{"1:NO", "s"}},
                              {"C23", QVariantList{"Call mobile operator to ask the APN name if "
                                                   "you need data function",
                                                   "s"}}}));
    }

    void numberListFromAnotherSpreadsheet() {
        const QString good = dir.filePath(QStringLiteral("good.xlsx"));
        const QString timed = dir.filePath(QStringLiteral("timed.xlsx"));
        QByteArray output;
        QString error;
        QVERIFY2(
            Openpyxl::run(QString::fromLatin1(foreignListScript), {good, timed}, &output, &error),
            qPrintable(error));
        NumberTable table;
        NumberListExchange exchange(table, op, status, progress, dir.path());
        QVERIFY(!exchange.loadWorkbook(timed));
        QCOMPARE(op.messageTexts(),
                 QStringList{"Wrong information on the profile,please correct it and then import "
                             "again,error:1\rSerial: 2"});
        QVERIFY(exchange.loadWorkbook(good));
        QCOMPARE(table.rowTexts(1), QStringList({"1", "987654321", "2024/05/17", "08:00",
                                                 "2024/12/31", "18:00", "no", "no"}));
        QCOMPARE(table.rowTexts(3), QStringList({"3", "5551234", "", "", "", "", "yes", "no"}));
    }
};

QTEST_GUILESS_MAIN(TestExchangeFiles)
#include "tst_exchangefiles.moc"
