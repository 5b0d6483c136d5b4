#include "DeviceBench.h"
#include "EventWait.h"
#include "RandomNumberList.h"
#include "RandomSettings.h"
#include "RecordingOperator.h"
#include "Session.h"
#include "SimulatedDevice.h"
#include "history/HistoryTable.h"
#include "history/THistoryInf.h"
#include "numbers/NumberListExchange.h"
#include "numbers/NumberTable.h"
#include "numbers/TtelephoneSend.h"
#include "settings/SettingsTable.h"
#include "settings/TBasicInf.h"
#include "settings/Tcustomstringgrid_basis.h"

#include <QDate>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A session on the simulated device.
struct Bench : DeviceBench {
    QTemporaryDir folder;
};

QString twoDigits(int v) {
    return QString::number(v).rightJustified(2, u'0');
}

QString digits(QRandomGenerator &rng, int count) {
    QString s;
    for (int i = 0; i < count; ++i)
        s += QChar(u'0' + rng.bounded(10));
    return s;
}

QList<QStringList> rows(const StringGrid &t, int count) {
    QList<QStringList> out;
    for (int r = 0; r <= count; ++r)
        out << t.rowTexts(r);
    return out;
}

// One history record of random content and the columns 1..7 the history page must show for it
// (none for a record it drops). Sources 0..3 with the first four events, whose texts are the
// source's own.
struct Record {
    QByteArray bytes;
    QStringList texts;
};

Record randomRecord(QRandomGenerator &rng) {
    const int kind = rng.bounded(10);
    if (kind == 0)
        return {QByteArray(128, '\xFF'), {}}; // erased
    QByteArray r(128, '\0');
    if (kind == 1)
        return {r, {}}; // a year byte of 0: unused
    static const char *const sources[] = {"COM Port", "SMS", "GPRS", "Telephone"};
    static const char *const actions[] = {"Add number", "Delete Number", "Relay ON", "Relay OFF"};
    const quint32 number = rng.bounded(1, 1'000'000);
    const int year = kind == 2 ? rng.bounded(80, 100) : rng.bounded(1, 80); // 2080 on: dropped
    const int date[] = {year, rng.bounded(1, 13), rng.bounded(1, 32)};
    const int time[] = {rng.bounded(24), rng.bounded(60), rng.bounded(60)};
    const int source = rng.bounded(4);
    const int action = rng.bounded(4);
    const QString executant = (rng.bounded(2) ? "+" : "") + digits(rng, rng.bounded(21));
    QString content;
    for (int i = rng.bounded(41); i > 0; --i)
        content += QChar(u' ' + rng.bounded(0x7F - 0x20));
    for (int i = 0; i < 4; ++i)
        r[i] = char(number >> (8 * i));
    for (int i = 0; i < 3; ++i) {
        r[4 + i] = char(date[i]);
        r[7 + i] = char(time[i]);
    }
    r[10] = char(source);
    r[11] = char(action);
    r.replace(12, int(executant.size()), executant.toLatin1());
    r.replace(34, int(content.size()), content.toLatin1());
    if (year >= 80)
        return {r, {}};
    return {r,
            {QString::number(number),
             "20" + twoDigits(date[0]) + '-' + twoDigits(date[1]) + '-' + twoDigits(date[2]),
             twoDigits(time[0]) + ':' + twoDigits(time[1]) + ':' + twoDigits(time[2]),
             sources[source], actions[action], executant, content}};
}

} // namespace

// Long runs of save, read, export and import, each of which must give back what went in.
class TestRoundTrips : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CodePage::setOverride(0); }

    void settingsThroughTheDeviceAndTheProfile() {
        Bench b;
        SettingsTable table, loaded;
        TBasicInf basic(b.session, table);
        b.session.setBasicTransfer(&basic);
        Tcustomstringgrid_basis profile(table, b.session, b.folder.path());
        Tcustomstringgrid_basis loader(loaded, b.session, b.folder.path());
        const QString path = b.folder.filePath("profile.xlsx");
        QRandomGenerator rng(20261209);
        for (int i = 0; i < 100; ++i) {
            const int codePage = i % 2 ? 936 : 1252;
            CodePage::setOverride(codePage);
            SettingsTable saved;
            fillRandomSettings(saved, rng, CodePage(codePage));
            for (int row = 1; row <= SettingsTable::ParameterCount; ++row) {
                table.setValue(row, saved.value(row));
                table.setChoiceIndex(row, saved.choiceIndex(row));
            }
            QVERIFY(b.run([&] { basic.SaveSettings(); }, "Basic setting saved success"));
            table.setUp();
            QVERIFY(
                b.run([&] { basic.StartRead(); }, "Basic settings read to PC software success."));
            QString diff = settingsDifference(saved, table);
            QVERIFY2(diff.isEmpty(), qPrintable(QStringLiteral("read %1: %2").arg(i).arg(diff)));
            // A choice without a selection goes out as an empty cell, which an import refuses
            // as it should: the profile carries only selected choices.
            for (int row : SettingsTable::ChoiceRows) {
                if (saved.choiceIndex(row) < 0) {
                    saved.setChoiceIndex(row, 0);
                    table.setChoiceIndex(row, 0);
                }
            }
            QVERIFY(profile.saveProfile(path));
            loaded.setUp();
            QVERIFY2(loader.loadProfile(path), qPrintable(b.op.messageTexts().join(u'\n')));
            diff = settingsDifference(saved, loaded);
            QVERIFY2(diff.isEmpty(), qPrintable(QStringLiteral("file %1: %2").arg(i).arg(diff)));
        }
    }

    void numberListsThroughTheDeviceAndTheWorkbook() {
        Bench b;
        NumberTable saved, read, loaded;
        TtelephoneSend saver(b.session, saved), reader(b.session, read);
        NumberListExchange exchange(read, b.session, b.folder.path());
        NumberListExchange importer(loaded, b.session, b.folder.path());
        const QString path = b.folder.filePath("list.xlsx");
        QRandomGenerator rng(20261210);
        for (int i = 0; i < 20; ++i) {
            fillRandomNumberList(saved, rng);
            b.session.setNumberListTransfer(&saver);
            QVERIFY(b.run([&] { saver.SaveList(); }, "Authorized number list saved success"));
            b.session.setNumberListTransfer(&reader);
            QVERIFY(b.run([&] { reader.StartRead(); },
                          "Authorized number list read to PC software success."));
            QCOMPARE(rows(read, NumberTable::EntryCount), rows(saved, NumberTable::EntryCount));
            QVERIFY(exchange.saveWorkbook(path));
            QVERIFY(importer.loadWorkbook(path));
            QCOMPARE(rows(loaded, NumberTable::EntryCount), rows(saved, NumberTable::EntryCount));
        }
    }

    void historyImagesReadAsTheirRecords() {
        Bench b;
        HistoryTable table;
        THistoryInf history(b.session, table);
        b.session.setHistoryTransfer(&history);
        QRandomGenerator rng(20261211);
        for (int i = 0; i < 20; ++i) {
            QByteArray image;
            QList<QStringList> expected;
            for (int n = 0; n < HistoryTable::RecordCount; ++n) {
                const Record record = randomRecord(rng);
                image += record.bytes;
                if (!record.texts.isEmpty())
                    expected << record.texts;
            }
            while (expected.size() < HistoryTable::RecordCount)
                expected << QStringList(7, QString());
            QVERIFY(b.device.writeMemory(0x30000, image));
            const auto shown = [&] {
                QList<QStringList> records;
                for (int r = 1; r <= HistoryTable::RecordCount; ++r)
                    records << table.recordTexts(r);
                return records;
            };
            QVERIFY(b.run([&] { history.StartRead(); }, QString()));
            QCOMPARE(shown(), expected);
            // A second read of the same memory, over the table the first one filled.
            QVERIFY(b.run([&] { history.StartRead(); }, QString()));
            QCOMPARE(shown(), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestRoundTrips)
#include "tst_roundtrips.moc"
