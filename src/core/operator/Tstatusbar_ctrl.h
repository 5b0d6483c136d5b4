#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class Operator;
class Tprogressbar_ctrl;

// Status panel 2. A text stays until the status timer tmr2 fires, which happens a fixed time
// after the first text since the last clearing (later texts do not push it back); the firing
// clears the panel and hides the progress bar. The timer runs from start-up, so the panel is
// also cleared once shortly after the program starts.
class Tstatusbar_ctrl : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultInterval = 3000;

    Tstatusbar_ctrl(Operator &op, Tprogressbar_ctrl &progress, QObject *parent = nullptr);

    void show(const QString &text);
    // Empties the panel without starting the status timer.
    void clearDirect();

    QString text() const { return shown; }
    bool timerActive() const { return counting; }
    // Tests shorten the interval; a running timer starts over with the new one.
    void setInterval(int ms);

private:
    void tmr2Timer();
    void setText(const QString &text);

    Operator &op;
    Tprogressbar_ctrl &progress;
    QTimer tmr2;
    int interval = DefaultInterval;
    // Whether tmr2 runs, kept here: the receive path asks once per byte.
    bool counting = false;
    QString shown;
};
