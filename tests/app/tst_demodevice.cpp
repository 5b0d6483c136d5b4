#include "DemoDevice.h"

#include <QFileInfo>
#include <QTest>

class TestDemoDevice : public QObject {
    Q_OBJECT
private slots:
    void namesTheSimulatorsTerminal() {
        DemoDevice device;
        QString error;
        QVERIFY2(device.start(VELMORA_DEVSIM_EXE, error), qPrintable(error));
        QVERIFY2(device.terminal().startsWith(QStringLiteral("/dev/pts/")),
                 qPrintable(device.terminal()));
        QVERIFY(QFileInfo::exists(device.terminal()));
    }

    void missingProgramGivesTheReason() {
        DemoDevice device;
        QString error;
        QVERIFY(!device.start(QStringLiteral("/nonexistent/velmora-devsim"), error));
        QVERIFY2(error.startsWith(QStringLiteral("/nonexistent/velmora-devsim: ")),
                 qPrintable(error));
        QVERIFY(device.terminal().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDemoDevice)
#include "tst_demodevice.moc"
