#pragma once

#include <QProcess>
#include <QString>

// The simulated device that --demo offers: velmora-devsim run as a program with a sample
// history. It ends with this object, or with the configurator's process should that end first.
class DemoDevice {
public:
    DemoDevice() = default;
    ~DemoDevice();
    DemoDevice(const DemoDevice &) = delete;
    DemoDevice &operator=(const DemoDevice &) = delete;

    // Where velmora-devsim is: beside the running program once installed, in its own folder of
    // the build tree otherwise.
    static QString locate();

    // Starts the program and waits for the terminal it names; false, with the reason in error,
    // when it does not start or names none.
    bool start(const QString &program, QString &error);
    QString terminal() const { return path; }

private:
    QProcess process;
    QString path;
};
