#include "ProtocolHarness.h"
#include "backup/BackupFiles.h"
#include "exchange/CodePage.h"
#include "exchange/WorkbookReader.h"
#include "settings/SettingsTable.h"
#include "settings/TBasicInf.h"
#include "settings/Tcustomstringgrid_basis.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "FakeTtyClass.h"

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
    // The device answers a read with an erased settings area but for its password, row 7 = 25
    // (bytes 108..109, low byte first), row 10 = 0 (bytes 112..115) and the first item of every
    // choice (bytes 26, 27, 110, 111, 116, 117).
    void readFromDevice() {
        QByteArray page1(256, '\xFF');
        page1.replace(0, 4, "7482");
        page1.replace(108, 2, QByteArray::fromHex("1900"));
        page1.replace(112, 4, QByteArray(4, '\0'));
        for (int at : {26, 27, 110, 111, 116, 117})
            page1[at] = 0;
        basic.StartRead();
        h.feed(ProtocolHarness::frame(0x83, 0x000, page1));
        h.feed(ProtocolHarness::frame(0x83, 0x100, QByteArray(256, '\xFF')));
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
        QCOMPARE(f.h.op.confirmations.last().text,
                 QStringLiteral("No changes since the last read or save. Save to the device "
                                "anyway?"));
        QCOMPARE(f.backups().size(), 2);
        QVERIFY(reader.open(f.dir.filePath(f.backups().last())));
        QCOMPARE(reader.displayedText(8, 2), QStringLiteral("30"));
    }

    // An imported profile changes the table, not what the device holds: the review counts
    // against the read.
    void importIsReviewedAgainstTheRead() {
        Fixture f;
        f.readFromDevice();
        SettingsTable file;
        file.copyContentFrom(f.table);
        file.setValue(13, "On");
        const QString path = f.dir.filePath("profile.xlsx");
        Tcustomstringgrid_basis(file, f.h.op, f.h.status, f.h.progress, {}).saveProfile(path);
        QVERIFY(Tcustomstringgrid_basis(f.table, f.h.op, f.h.status, f.h.progress, {})
                    .loadProfile(path));
        f.h.op.confirmAnswers << false;
        f.basic.SaveSettings();
        QCOMPARE(f.h.op.confirmations.last().text,
                 QStringLiteral("1 setting changed. Save to the device?"));
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

    // A read on another opening of the port may have been of another device: it counts as none.
    void withoutReadNoBackupAndTheQuestionSaysSo_data() {
        QTest::addColumn<bool>("readBeforeReopening");
        QTest::newRow("never read") << false;
        QTest::newRow("read, then the port reopened") << true;
    }
    void withoutReadNoBackupAndTheQuestionSaysSo() {
        QFETCH(bool, readBeforeReopening);
        Fixture f;
        quint64 opening = 1;
        f.h.sender.setConnection([&opening] { return opening; });
        if (readBeforeReopening) {
            f.readFromDevice();
            f.table.copyContentFrom(SettingsTable()); // as built again
            opening = 2;
        }
        f.basic.SaveSettings();
        QCOMPARE(f.h.op.confirmations[0].text,
                 QStringLiteral("No changes since the last read or save. Save to the device "
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
        const QStringList removed = BackupFiles::prune(dir.path(), "numbers");
        QCOMPARE(removed.size(), 5);
        QCOMPARE(removed.first(), dir.filePath("backup_numbers_2024-01-01_10-00-01.xlsx"));
        const QStringList left =
            QDir(dir.path()).entryList({"backup_numbers_*"}, QDir::Files, QDir::Name);
        QCOMPARE(left.size(), 50);
        QCOMPARE(left.first(), QStringLiteral("backup_numbers_2024-01-01_10-00-06.xlsx"));
        QVERIFY(QFile::exists(other.fileName()));
    }

    // Two saves in the same second, in two processes or one, each get a file of their own.
    void claimNeverReplacesAFile() {
        QTemporaryDir dir;
        QFile first(dir.filePath("backup_numbers_2024-01-01_10-00-00_A1.xlsx"));
        QVERIFY(first.open(QIODevice::WriteOnly));
        first.write("kept");
        first.close();
        QString problem;
        QCOMPARE(BackupFiles::claim(dir.path(), "backup_numbers_2024-01-01_10-00-00_A1", problem),
                 dir.filePath("backup_numbers_2024-01-01_10-00-00_A1_2.xlsx"));
        QVERIFY(first.open(QIODevice::ReadOnly));
        QCOMPARE(first.readAll(), QByteArray("kept"));
    }

    void deviceTagIsTheAdaptersSerialElseThePort() {
        FakeTtyClass tty;
        tty.addUsb("ttyUSB0", "10c4", "ea60", "cp210x", "0001 A/7");
        tty.addUsb("ttyUSB1", "10c4", "ea60", "cp210x");
        const Trecognitionserial ports(tty.root(), tty.dev());
        QCOMPARE(BackupFiles::deviceTag(tty.dev() + "/ttyUSB0", ports), QStringLiteral("0001-A-7"));
        QCOMPARE(BackupFiles::deviceTag("ttyUSB1", ports), QStringLiteral("ttyUSB1"));
    }
};

QTEST_GUILESS_MAIN(TestSaveBackup)
#include "tst_savebackup.moc"
