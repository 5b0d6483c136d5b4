#pragma once

#include "protocol/FrameTrace.h"

#include <QWidget>

class QPlainTextEdit;
class Session;

// A window of its own, beside the main one, that lists every frame of the session as it goes
// and comes (FrameTrace's lines). It records from its creation on, shown or not.
class TraceWindow : public QWidget {
    Q_OBJECT
public:
    // The oldest lines go beyond this, so a long transfer cannot fill the memory.
    static constexpr int MaxLines = 20000;

    explicit TraceWindow(Session &session, QWidget *parent = nullptr);

    QString text() const;

private:
    FrameTrace trace;
    QPlainTextEdit *lines;
};
