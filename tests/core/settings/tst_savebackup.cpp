#include "ProtocolHarness.h"
#include "backup/BackupFiles.h"
#include "exchange/CodePage.h"
#include "exchange/WorkbookReader.h"
#include "settings/SettingsArea.h"
#include "settings/SettingsTable.h"
#include "settings/TBasicInf.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray writeReply(int32_t address, uint8_t result) {
    return ProtocolHarness::frame(0x82, address, QByteArray(1, char(result)));
}

struct Fixture {
    QTemporaryDir dir;
    ProtocolHarness h;
    SettingsTable table;
    TBasicInf basic{h.sender, h.op, h.outcome, h.status, h.progress, table};
    Fixture() {
        h.receive.transfers.basic = &basic;
        basic.saveGuard().setBackupFolder(dir.path());
    }
    // The device answers a read with settings whose row 7 holds "25".
    void readFromDevice() {
        SettingsTable device;
        device.setValue(7, "25");
        uint8_t pages[2][256] = {};
        SettingsArea(device).encodePage1(pages[0], CodePage::current());
        SettingsArea(device).encodePage2(pages[1], CodePage::current());
        basic.StartRead();
        h.feed(ProtocolHarness::frame(0x83, 0x000,
                                      QByteArray(reinterpret_cast<char *>(pages[0]), 256)));
        h.feed(ProtocolHarness::frame(0x83, 0x100,
                                      QByteArray(reinterpret_cast<char *>(pages[1]), 256)));
        h.op.clearHistory();
        h.sent.clear();
    }
    QStringList backups() const {
        return QDir(dir.path()).entryList({"backup_settings_*.xlsx"}, QDir::Files);
    }
};

} // namespace

// The review and the backup before a save of the settings, with the test as the device.
class TestSaveBackup : public QObject {
    Q_OBJECT
private slots:
    void init() { CodePage::setOverride(1252); }
    void cleanup() { CodePage::setOverride(0); }

    void backupHoldsTheReadBeforeTheFirstPage() {
        Fixture f;
        f.readFromDevice();
        QCOMPARE(f.table.value(7), QStringLiteral("25"));
        f.table.setValue(7, "30");
        f.table.setValue(10, "5");
        f.basic.SaveSettings();
        QCOMPARE(f.h.op.confirmations.size(), 1);
        QCOMPARE(f.h.op.confirmations[0].text,
                 QStringLiteral("2 settings changed. Save to the device?"));
        QCOMPARE(f.h.sent.size(), 1);
        QCOMPARE(f.backups().size(), 1);
        WorkbookReader reader;
        QVERIFY(reader.open(f.dir.filePath(f.backups().first())));
        QCOMPARE(reader.displayedText(1, 1), QStringLiteral("Items"));
        QCOMPARE(reader.displayedText(8, 2), QStringLiteral("25"));
        QCOMPARE(reader.displayedText(11, 2), QStringLiteral("0"));
        f.h.feed(writeReply(0x000, 1));
        f.h.feed(writeReply(0x100, 1));
        for (int page = 0; page < 2; ++page) // read back as written
            f.h.feed(ProtocolHarness::frame(0x83, 0x100 * page, f.h.sent.at(page).mid(8, 256)));
        QCOMPARE(f.h.op.messageTexts(), QStringList{"Basic setting saved success"});

        // The device now holds the save: no marks are left, and the next save's backup is it.
        QVERIFY(!f.table.isRowChanged(7));
        f.basic.SaveSettings();
        QCOMPARE(
            f.h.op.confirmations.last().text,
            QStringLiteral("No changes since the last read, import or save. Save to the device "
                           "anyway?"));
        QCOMPARE(f.backups().size(), 2);
        QVERIFY(reader.open(f.dir.filePath(f.backups().last())));
        QCOMPARE(reader.displayedText(8, 2), QStringLiteral("30"));
    }

    void refusedSaveLeavesNoBackup() {
        Fixture f;
        f.readFromDevice();
        f.h.op.confirmAnswers << false;
        f.basic.SaveSettings();
        QVERIFY(f.h.sent.isEmpty());
        // A number cell the device cannot hold stops the save at its check.
        f.table.setValue(7, "x");
        f.basic.SaveSettings();
        QVERIFY(f.h.sent.isEmpty());
        QCOMPARE(f.h.op.messages.size(), 1);
        QVERIFY(f.backups().isEmpty());
    }

    void withoutReadNoBackupAndTheQuestionSaysSo() {
        Fixture f;
        f.basic.SaveSettings();
        QCOMPARE(
            f.h.op.confirmations[0].text,
            QStringLiteral("No changes since the last read, import or save. Save to the device "
                           "anyway?\nNo backup: the settings were not read from the device."));
        QCOMPARE(f.h.sent.size(), 1);
        QVERIFY(f.backups().isEmpty());
    }

    void backupThatCannotBeWrittenStopsTheSave() {
        Fixture f;
        const QString blocked = f.dir.filePath("blocked");
        QFile file(blocked);
        QVERIFY(file.open(QIODevice::WriteOnly)); // a file where the folder should be
        file.close();
        f.basic.saveGuard().setBackupFolder(blocked);
        f.readFromDevice();
        f.basic.SaveSettings();
        QVERIFY(f.h.sent.isEmpty());
        QCOMPARE(f.h.op.messageTexts(),
                 QStringList{"The backup could not be written, so nothing was saved."});
        QVERIFY(!f.h.op.messages[0].detail.isEmpty());
    }

    void pruningKeepsTheNewest50() {
        QTemporaryDir dir;
        for (int i = 1; i <= 55; ++i) {
            QFile f(dir.filePath(QStringLiteral("backup_numbers_2024-01-01_10-00-%1.xlsx")
                                     .arg(i, 2, 10, QChar(u'0'))));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QFile other(dir.filePath("backup_settings_2023-01-01_10-00-00.xlsx"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        BackupFiles::prune(dir.path(), "numbers");
        const QStringList left =
            QDir(dir.path()).entryList({"backup_numbers_*"}, QDir::Files, QDir::Name);
        QCOMPARE(left.size(), 50);
        QCOMPARE(left.first(), QStringLiteral("backup_numbers_2024-01-01_10-00-06.xlsx"));
        QVERIFY(QFile::exists(other.fileName()));
    }
};

QTEST_GUILESS_MAIN(TestSaveBackup)
#include "tst_savebackup.moc"
