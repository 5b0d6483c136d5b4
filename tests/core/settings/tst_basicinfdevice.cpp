#include "DeviceBench.h"
#include "FactoryImage.h"
#include "RandomSettings.h"
#include "RecordingOperator.h"
#include "Session.h"
#include "SimulatedDevice.h"
#include "settings/SettingsArea.h"
#include "settings/SettingsTable.h"
#include "settings/TBasicInf.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// A session on the simulated device with the settings transfer plugged in.
struct Bench : DeviceBench {
    SettingsTable table;
    TBasicInf basic{session, table};

    explicit Bench(const DeviceOptions &options = {})
        : DeviceBench(options) {
        session.setBasicTransfer(&basic);
    }

    // Runs one operation to its message; true when it ended with its success message.
    bool run(void (TBasicInf::*operation)()) {
        return DeviceBench::run([&] { (basic.*operation)(); });
    }
};

} // namespace

// Saving and reading the settings area of the simulated device over a pseudo-terminal.
class TestBasicInfDevice : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CodePage::setOverride(0); }

    void factoryDeviceReadsAsTheStartUpDefaults() {
        CodePage::setOverride(1252);
        Bench b;
        QVERIFY(b.session.cm1().PortOpen());
        b.table.setValue(5, QStringLiteral("changed"));
        b.table.setChoiceIndex(3, 0);
        QVERIFY(b.run(&TBasicInf::ReadSettings));
        QCOMPARE(b.op.messageTexts(), QStringList{"Basic settings read to PC software success."});
        const SettingsTable defaults;
        // An empty port is kept on the device as 0xFF 0xFF.
        b.table.setValue(19, QString());
        QCOMPARE(settingsDifference(defaults, b.table), QString());
        QCOMPARE(b.device.requestCount(), 2);
    }

    void savingTheDefaultsWritesTheFactoryPage() {
        Bench b;
        b.device.writeMemory(0, QByteArray(512, '\0'));
        QVERIFY(b.run(&TBasicInf::SaveSettings));
        QCOMPARE(b.op.messageTexts(), QStringList{"Basic setting saved success"});
        QCOMPARE(b.device.memoryRange(0, 256).toHex(' '),
                 FactoryImage::settingsPage1(FactoryImage::DefaultPassword).toHex(' '));
        QCOMPARE(b.device.memoryRange(256, 256), QByteArray(256, '\xFF'));
    }

    void randomTablesSavedAndReadBackIdentical_data() {
        QTest::addColumn<int>("codePage");
        QTest::newRow("western") << 1252;
        QTest::newRow("simplified Chinese") << 936;
    }
    void randomTablesSavedAndReadBackIdentical() {
        QFETCH(int, codePage);
        CodePage::setOverride(codePage);
        Bench b;
        QRandomGenerator rng{quint32(codePage) * 7u};
        for (int i = 0; i < 50; ++i) {
            SettingsTable saved;
            fillRandomSettings(saved, rng, CodePage(codePage));
            for (int row = 1; row <= SettingsTable::ParameterCount; ++row) {
                b.table.setValue(row, saved.value(row));
                b.table.setChoiceIndex(row, saved.choiceIndex(row));
            }
            QVERIFY2(b.run(&TBasicInf::SaveSettings), qPrintable(QString::number(i)));
            b.table.setUp();
            QVERIFY2(b.run(&TBasicInf::ReadSettings), qPrintable(QString::number(i)));
            const QString diff = settingsDifference(saved, b.table);
            QVERIFY2(diff.isEmpty(), qPrintable(QStringLiteral("table %1: %2").arg(i).arg(diff)));
        }
    }

    // After a read, a change on page 2 alone writes page 2 alone and reads it back.
    void changeOnOnePageWritesThatPage() {
        Bench b;
        QVERIFY(b.run(&TBasicInf::StartRead));
        b.table.setValue(22, QStringLiteral("secret"));
        QVERIFY(b.run(&TBasicInf::SaveSettings));
        const QList<LoggedRequest> expected{{0x83, 0}, {0x83, 0x100}, {0x82, 0x100}, {0x83, 0x100}};
        QCOMPARE(b.device.requestLog(), expected);
        QCOMPARE(b.device.memoryRange(0x100, 16),
                 QByteArray::fromHex("ffffffffffffffffffffffffffff") + "se");
    }

    void refusedFirstPageStopsTheSave() {
        DeviceOptions options;
        options.faults.nakFrom = 1;
        Bench b(options);
        const QByteArray before = b.device.memoryRange(0, 512);
        b.table.setValue(22, QStringLiteral("secret"));
        QVERIFY(!b.run(&TBasicInf::SaveSettings));
        QCOMPARE(b.op.messageTexts(), QStringList{"Basic setting error"});
        QTest::qWait(200);
        QCOMPARE(b.device.requestCount(), 1);
        QCOMPARE(b.device.memoryRange(0, 512), before);
    }
};

QTEST_GUILESS_MAIN(TestBasicInfDevice)
#include "tst_basicinfdevice.moc"
