#include "protocol/SerialPortWatcher.h"

#include "protocol/Trecognitionserial.h"

SerialPortWatcher::SerialPortWatcher(const Trecognitionserial &source, QObject *parent)
    : QObject(parent) {
    // The kernel's sysfs tells inotify nothing of new ttys; the node appearing under /dev does.
    // The sysfs folder is watched for the trees that tests and containers build by hand.
    folders.addPaths({source.devRoot(), source.sysfsRoot()});
    settle.setSingleShot(true);
    settle.setInterval(SettleMs);
    connect(&folders, &QFileSystemWatcher::directoryChanged, &settle, qOverload<>(&QTimer::start));
    connect(&settle, &QTimer::timeout, this, &SerialPortWatcher::portsChanged);
}
