#include "numbers/NumberListDiff.h"
#include "numbers/NumberTable.h"
#include "settings/SettingsDiff.h"
#include "settings/SettingsTable.h"

#include <QTest>

namespace {

void put(NumberTable &t, int row, const QStringList &cells) {
    for (int c = 0; c < cells.size(); ++c)
        t.setCell(NumberTable::Number + c, row, cells[c]);
}

QStringList lines(const AreaDifferences &differences) {
    QStringList out;
    for (const AreaDifference &d : differences)
        out << d.where + '|' + d.device + '|' + d.file;
    return out;
}

} // namespace

// Both comparisons of a device area with a file, the number list's and the settings'.
class TestAreaDiff : public QObject {
    Q_OBJECT
private slots:
    void numberEntries() {
        NumberTable device, file;
        // Stored alike: a read's "-" and two-digit times against the editor's "/" and "9:5".
        put(device, 1, {"+4911", "2024-05-17", "09:05", "2024-12-31", "18:00", "no"});
        put(file, 1, {"+4911", "2024/05/17", "9:5", "2024/12/31", "18:00", "no"});
        put(device, 2, {"+4922", "", "", "", "", "yes"});
        put(file, 2, {"+4922", "", "", "", "", "yes", "yes"}); // deleted in the file
        put(file, 5, {"4955", "", "", "", "", "yes"});         // only in the file
        put(device, 7, {"+4977", "", "", "", "", "yes"});
        put(file, 7, {"+4978", "2025/01/01", "00:00", "2025/02/01", "00:00", "no"});
        QCOMPARE(lines(NumberListDiff::between(device, file)),
                 QStringList({"2|+4922 Always|", "5||4955 Always",
                              "7|+4977 Always|+4978 2025-01-01 00:00 - 2025-02-01 00:00"}));
        QVERIFY(NumberListDiff::between(device, device).isEmpty());
    }

    void settingsRows() {
        SettingsTable device, file;
        device.copyContentFrom(file);
        device.setValue(10, "10");
        file.setValue(10, "0010"); // the device stores the number, not its digits
        device.setValue(5, "Gate open");
        file.setValue(5, "Gate shut");
        QStringList atRows;
        for (const QString &line : lines(SettingsDiff::between(device, file)))
            if (line.startsWith("5|") || line.startsWith("10|"))
                atRows << line;
        QCOMPARE(atRows, QStringList({"5|Gate open|Gate shut"}));
    }
};

QTEST_GUILESS_MAIN(TestAreaDiff)
#include "tst_numberlistdiff.moc"
