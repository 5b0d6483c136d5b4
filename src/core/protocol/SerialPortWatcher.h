#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

class Trecognitionserial;

// Tells when an adapter may have been plugged in or out: watches the folders the port list is
// read from and waits for a burst of changes to settle, since one adapter brings a node, its
// links and a permission change one after the other.
class SerialPortWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr int SettleMs = 300;

    explicit SerialPortWatcher(const Trecognitionserial &source, QObject *parent = nullptr);

signals:
    void portsChanged();

private:
    QFileSystemWatcher folders;
    QTimer settle;
};
