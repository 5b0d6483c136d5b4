#include "DemoDevice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <sys/prctl.h>

namespace {

constexpr int StartMs = 10000;

} // namespace

DemoDevice::~DemoDevice() {
    // Asked to stop, the simulator closes its terminal; QProcess kills one that does not.
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        process.waitForFinished(3000);
    }
}

QString DemoDevice::locate() {
    const QDir here(QCoreApplication::applicationDirPath());
    const QString beside = here.filePath(QStringLiteral("velmora-devsim"));
    if (QFileInfo(beside).isExecutable())
        return beside;
    const QString buildTree =
        QDir::cleanPath(here.filePath(QStringLiteral("../devsim/velmora-devsim")));
    // Found nowhere, the failed start names the installed place.
    return QFileInfo(buildTree).isExecutable() ? buildTree : beside;
}

bool DemoDevice::start(const QString &program, QString &error) {
    // Its messages go where the configurator's go; only the terminal's name is read here.
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A configurator that is killed must not leave a device behind.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process.start(program, {QStringLiteral("--history"), QStringLiteral("60")});
    if (!process.waitForStarted(StartMs)) {
        error = QStringLiteral("%1: %2").arg(program, process.errorString());
        return false;
    }
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(StartMs)) {
            error = QStringLiteral("%1 named no terminal").arg(program);
            return false;
        }
    }
    path = QString::fromLocal8Bit(process.readLine()).trimmed();
    return true;
}
