#pragma once

#include "protocol/SerialPortWatcher.h"
#include "protocol/Trecognitionserial.h"

#include <QComboBox>
#include <QStringList>

// The port drop-down: each port shown with what it is ("ttyUSB0 — CP210x (10c4:ea60)") while
// its path is what opens. It reads the ports again when an adapter comes or goes and whenever
// it opens; the operator may still type any path, which a new reading keeps.
class PortComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit PortComboBox(Trecognitionserial source = Trecognitionserial(),
                          QWidget *parent = nullptr);

    // The chosen port's path, or the text the operator typed.
    QString portPath() const;
    // Puts a port at the top, keeps it there while it exists, and selects it.
    void offer(const QString &path);
    // Reads the ports again. The controller's bridge is selected when it has just appeared;
    // otherwise the choice, or the typed text, stays.
    void refresh();

protected:
    void showPopup() override;

private:
    bool entryChosen() const;

    Trecognitionserial source;
    SerialPortWatcher watcher;
    QStringList offered;
    QStringList known; // the paths of the last reading
};
