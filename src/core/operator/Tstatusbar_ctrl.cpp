#include "Tstatusbar_ctrl.h"

#include "Operator.h"
#include "Tprogressbar_ctrl.h"

Tstatusbar_ctrl::Tstatusbar_ctrl(Operator &op, Tprogressbar_ctrl &progress, QObject *parent)
    : QObject(parent)
    , op(op)
    , progress(progress) {
    tmr2.setSingleShot(true);
    connect(&tmr2, &QTimer::timeout, this, &Tstatusbar_ctrl::tmr2Timer);
    tmr2.start(interval);
    counting = true;
}

void Tstatusbar_ctrl::show(const QString &text) {
    setText(text);
    if (!counting) {
        tmr2.start(interval);
        counting = true;
    }
}

void Tstatusbar_ctrl::setInterval(int ms) {
    interval = ms;
    if (counting)
        tmr2.start(interval);
}

void Tstatusbar_ctrl::clearDirect() {
    setText(QString());
}

void Tstatusbar_ctrl::tmr2Timer() {
    counting = false;
    setText(QString());
    progress.set(100);
}

void Tstatusbar_ctrl::setText(const QString &text) {
    // The receive path shows a text for every byte; the display only hears of real changes.
    if (text == shown)
        return;
    shown = text;
    op.setStatusText(text);
}
