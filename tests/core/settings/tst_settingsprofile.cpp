#include "ExchangeDisplays.h"
#include "exchange/WorkbookReader.h"
#include "exchange/WorkbookWriter.h"
#include "settings/SettingsTable.h"
#include "settings/Tcustomstringgrid_basis.h"

#include <QTest>

namespace {

struct State {
    QStringList cells;
    QList<int> choices;
    bool operator==(const State &) const = default;
};

State stateOf(const SettingsTable &table) {
    State s;
    for (int r = 0; r < SettingsTable::RowCount; ++r)
        s.cells += table.rowTexts(r);
    for (int row : SettingsTable::ChoiceRows)
        s.choices << table.choiceIndex(row);
    return s;
}

} // namespace

class TestSettingsProfile : public QObject, private ExchangeDisplays {
    Q_OBJECT
private:
    Tcustomstringgrid_basis profile(SettingsTable &table) {
        return Tcustomstringgrid_basis(table, op, status, progress, dir.path());
    }
    // The start-up profile with cells changed, as written by a person's spreadsheet.
    QString editedProfile(const QString &name, const QList<QPair<QString, QString>> &changes) {
        SettingsTable startUp;
        const QString path = dir.filePath(name);
        if (!profile(startUp).saveProfile(path))
            return {};
        WorkbookReader reader;
        if (!reader.open(path))
            return {};
        WorkbookWriter writer;
        for (int r = 1; r <= 23; ++r)
            for (int c = 1; c <= 3; ++c)
                writer.setCellText(r, c, reader.valueText(r, c));
        for (const auto &[cell, text] : changes)
            writer.setCellText(cell.mid(1).toInt(), cell[0].unicode() - 'A' + 1, text);
        return writer.saveAs(path) ? path : QString();
    }

private slots:
    void init() { op.clearHistory(); }

    // The start-up settings go out and come back the same, the choice cells now with their items.
    void startUpRoundTrip() {
        SettingsTable out;
        out.setValue(1, QStringLiteral("0482"));
        op.saveFiles.enqueue(dir.filePath(QStringLiteral("startup")));
        QVERIFY(profile(out).ExportProfile());
        const RecordingOperator::FileChoice choice = op.fileChoices.first();
        QCOMPARE(choice.folder, dir.path());
        QVERIFY2(isExportName(choice.suggestedName, "basicinf_R"),
                 qPrintable(choice.suggestedName));
        QCOMPARE(choice.filter, QStringLiteral("EXCEL file (*.xlsx);;(*.*)"));
        QCOMPARE(op.statusText, QStringLiteral("Save profile"));
        QVERIFY(!op.progressVisible);

        const QString path = dir.filePath(QStringLiteral("startup.xlsx"));
        WorkbookReader reader;
        QVERIFY(reader.open(path));
        const QStringList expected[] = {
            {"Items", "Content", "Description"},
            {"1.Password", "0482", "Default Password:7482"},
            {"3.DIN1 Type", "1:NO", "Default:NO"},
            {"9.Relay Control Authorization",
             "1:Only the authorized number can call to control the relay",
             "Default:Only authorized number(s) can call to control"},
            {"22.GPRS Password", "",
             "Call mobile operator to ask the APN name if you need data function"}};
        const int rows[] = {1, 2, 4, 10, 23};
        for (int i = 0; i < 5; ++i)
            for (int c = 1; c <= 3; ++c)
                QCOMPARE(reader.valueText(rows[i], c), expected[i][c - 1]);

        SettingsTable in;
        in.setValue(5, QStringLiteral("changed"));
        in.setChoiceIndex(11, 0);
        in.setCell(SettingsTable::DescriptionColumn, 7, QStringLiteral("changed"));
        op.openFiles.enqueue(path);
        QVERIFY(profile(in).ImportProfile());
        QCOMPARE(op.fileChoices.last().filter, QStringLiteral("EXCEL file (*.xls *.xlsx);;(*.*)"));
        for (int row : SettingsTable::ChoiceRows)
            out.leaveChoice(row);
        QCOMPARE(stateOf(in), stateOf(out));
        QCOMPARE(in.value(3), QStringLiteral("1:NO"));
        QCOMPARE(op.statusText, QStringLiteral("Load profile"));
    }

    void choiceCells_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index"); // -2: refused
        QTest::addColumn<QString>("message");
        QTest::newRow("item text") << "0:NC " << 0 << "";
        QTest::newRow("digit alone") << "1" << 1 << "";
        QTest::newRow("no such item")
            << "7:x" << -2
            << "Row 3 \"3.DIN1 Type\": \"7:x\" names no item of the list; the items are 0 to 1. "
               "Nothing was imported.";
        QTest::newRow("empty") << "" << -2 << "'' is not a valid integer value";
        QTest::newRow("letter first") << "NO" << -2 << "'N' is not a valid integer value";
    }
    // A choice cell that holds no item index refuses the whole profile, values included.
    void choiceCells() {
        QFETCH(QString, text);
        QFETCH(int, index);
        QFETCH(QString, message);
        const QString path =
            editedProfile(QStringLiteral("choice.xlsx"), {{"B4", text}, {"B6", "new alarm"}});
        SettingsTable table;
        table.setChoiceIndex(3, 0);
        const State before = stateOf(table);
        QCOMPARE(profile(table).loadProfile(path), index != -2);
        if (index == -2) {
            QCOMPARE(op.messageTexts(), QStringList{message});
            QVERIFY(stateOf(table) == before);
            return;
        }
        QCOMPARE(table.choiceIndex(3), index);
        QCOMPARE(table.value(3), text);
        QCOMPARE(table.value(5), QStringLiteral("new alarm"));
    }

    // Texts load whole, without the typing rules; descriptions are taken, captions are not.
    void valuesAndDescriptionsLoadAsWritten() {
        const QString alarm = QString(50, u'A');
        const QString path = editedProfile(QStringLiteral("edited.xlsx"),
                                           {{"B6", alarm}, {"C8", "my note"}, {"A8", "renamed"}});
        SettingsTable table;
        QVERIFY(profile(table).loadProfile(path));
        QCOMPARE(table.value(5), alarm);
        QCOMPARE(table.cell(SettingsTable::DescriptionColumn, 7), QStringLiteral("my note"));
        QCOMPARE(table.cell(SettingsTable::CaptionColumn, 7),
                 QStringLiteral("7.Auto Arm after authorized number call-in(0~999)"));
    }

    void numberListIsRefused() {
        WorkbookWriter writer;
        writer.setCellText(1, 1, QStringLiteral("Serial"));
        writer.setCellText(4, 2, QStringLiteral("0:NC "));
        const QString path = dir.filePath(QStringLiteral("list.xlsx"));
        QVERIFY(writer.saveAs(path));
        SettingsTable table;
        QVERIFY(!profile(table).loadProfile(path));
        QCOMPARE(op.messageTexts(), QStringList{"Wrong format of the setting profile"});
        QVERIFY(stateOf(table) == stateOf(SettingsTable()));
    }
};

QTEST_GUILESS_MAIN(TestSettingsProfile)
#include "tst_settingsprofile.moc"
