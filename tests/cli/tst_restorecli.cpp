#include "CliHarness.h"
#include "RecordingOperator.h"
#include "SimulatedDevice.h"
#include "exchange/WorkbookReader.h"
#include "numbers/NumberListExchange.h"
#include "numbers/NumberTable.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// A number list import backs up the device's list first; restoring that backup puts it back.
class TestRestoreCli : public QObject {
    Q_OBJECT
private slots:
    void importBacksUpAndRestorePutsItBack() {
        SimulatedDevice device;
        QByteArray entry("5551234");
        entry += QByteArray(22 - entry.size(), '\0');
        entry += QByteArray::fromHex("63636363636363630063");
        device.writeMemory(0x1000, entry);
        const QByteArray before = device.memoryRange(0x1000, 375 * 256);
        const CliResult listed = runCli({"--port", device.slavePath(), "--yes", "numbers", "read"});
        QCOMPARE(listed.out, QStringLiteral("1\t5551234\t\t\t\t\tyes\n"));

        QTemporaryDir dir;
        RecordingOperator op;
        Tprogressbar_ctrl progress(op);
        Tstatusbar_ctrl status(op, progress);
        NumberTable list;
        list.setCell(NumberTable::Number, 2, "+4930123456");
        list.toggleMark(NumberTable::Always, 2);
        const QString file = dir.filePath("list.xlsx");
        QVERIFY(NumberListExchange(list, op, status, progress, dir.path()).saveWorkbook(file));

        const CliResult imported =
            runCli({"--port", device.slavePath(), "--yes", "numbers", "import", file});
        QVERIFY2(imported.code == 0, qPrintable(imported.out + imported.err));
        QVERIFY(imported.err.contains("1 entry added, 0 changed, 1 deleted. Save to the device?"));
        const auto m =
            QRegularExpression("Backup: (\\S+backup_numbers_\\S+\\.xlsx)").match(imported.err);
        QVERIFY2(m.hasMatch(), qPrintable(imported.err));
        const QString backup = m.captured(1);
        QVERIFY(device.memoryRange(0x1000, 375 * 256) != before);

        WorkbookReader reader;
        QVERIFY(reader.open(backup));
        QCOMPARE(reader.displayedText(2, 2), QStringLiteral("5551234"));
        QCOMPARE(reader.displayedText(2, 7), QStringLiteral("yes"));
        QCOMPARE(reader.displayedText(3, 2), QString());

        const CliResult restored =
            runCli({"--port", device.slavePath(), "--yes", "restore", backup, "--no-backup"});
        QVERIFY2(restored.code == 0, qPrintable(restored.out + restored.err));
        // Unused slots come back as a save writes them; the entries as they were.
        const CliResult after = runCli({"--port", device.slavePath(), "--yes", "numbers", "read"});
        QCOMPARE(after.out, listed.out);
        QCOMPARE(device.memoryRange(0x1000, 32), before.left(32));
        QFile::remove(backup);

        const CliResult wrong = runCli({"--port", device.slavePath(), "restore", file});
        QCOMPARE(wrong.code, 2);
    }
};

QTEST_GUILESS_MAIN(TestRestoreCli)
#include "tst_restorecli.moc"
