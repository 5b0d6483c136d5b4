#pragma once

#include "protocol/FrameObserver.h"

#include <QObject>
#include <QString>
#include <QTime>

// One line of text per frame on the wire: when, which way, its command, address and data length
// in bytes, and all its bytes in hex. The fronts show the lines (stderr, a trace window).
class FrameTrace : public QObject, public FrameObserver {
    Q_OBJECT
public:
    using QObject::QObject;

    void frameSent(QByteArrayView frame) override;
    void frameReceived(QByteArrayView frame, Verdict verdict) override;

    // "12:30:45.123 → 83 read 0x001000  23 83 …"
    static QString sentLine(QTime at, QByteArrayView frame);
    // "12:30:45.140 ← 83 0x001000 256 bytes ok  23 83 …"
    static QString receivedLine(QTime at, QByteArrayView frame, Verdict verdict);

signals:
    void line(const QString &text);
};
