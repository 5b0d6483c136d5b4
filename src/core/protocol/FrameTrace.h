#pragma once

#include "protocol/FrameVerdict.h"

#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <QTime>

class ReceivePath;
class RequestSender;

// One line of text per frame on the wire: when, which way, its command, address and data length
// in bytes, and all its bytes in hex. The fronts show the lines (stderr, a trace window).
class FrameTrace : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Every frame `sender` hands to the link and `receive` reassembles becomes a line, for as
    // long as this trace lives.
    void follow(const RequestSender &sender, const ReceivePath &receive);

    // "12:30:45.123 → 83 read 0x001000  23 83 …"
    static QString sentLine(QTime at, QByteArrayView frame);
    // "12:30:45.140 ← 83 0x001000 256 bytes ok  23 83 …"
    static QString receivedLine(QTime at, QByteArrayView frame, FrameVerdict verdict);

signals:
    void line(const QString &text);
};
