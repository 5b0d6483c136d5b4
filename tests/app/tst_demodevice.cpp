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
};

QTEST_GUILESS_MAIN(TestDemoDevice)
#include "tst_demodevice.moc"
