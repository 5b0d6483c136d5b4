#include "protocol/FrameTrace.h"

#include "protocol/CommandCodes.h"
#include "protocol/ReceivePath.h"
#include "protocol/RequestSender.h"
#include "protocol/TDataPackage.h"

namespace {

struct Header {
    uint8_t command;
    uint32_t address;
    int length;
};

// A frame holds at least its header and checksum; anything shorter is shown as bytes only.
bool readHeader(QByteArrayView frame, Header &h) {
    if (frame.size() < TDataPackage::HeaderSize + 1)
        return false;
    const auto byte = [&](int i) { return uint32_t(uint8_t(frame[i])); };
    h.command = uint8_t(byte(1));
    h.address = (byte(2) << 24) | (byte(3) << 16) | (byte(4) << 8) | byte(5);
    h.length = int((byte(6) << 8) | byte(7));
    return true;
}

QString commandName(uint8_t command) {
    switch (command) {
    case CommandCodes::ReadPage:
        return QStringLiteral("read");
    case CommandCodes::WritePage:
        return QStringLiteral("write");
    case CommandCodes::TimeSync:
        return QStringLiteral("time sync");
    case CommandCodes::CheckingMode:
        return QStringLiteral("checking mode");
    case CommandCodes::DeleteHistory:
        return QStringLiteral("delete history");
    default:
        return QStringLiteral("unknown");
    }
}

QString verdictText(FrameVerdict verdict) {
    switch (verdict) {
    case FrameVerdict::Ok:
        return QStringLiteral("ok");
    case FrameVerdict::BadChecksum:
        return QStringLiteral("bad checksum");
    case FrameVerdict::Undefined:
        return QStringLiteral("undefined");
    case FrameVerdict::InvalidData:
        return QStringLiteral("invalid data");
    }
    return {};
}

QString lengthText(int length) {
    return length == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(length);
}

QString start(QTime at, const char *direction) {
    return at.toString(QStringLiteral("HH:mm:ss.zzz")) + QLatin1Char(' ') +
           QString::fromUtf8(direction);
}

QString hex(QByteArrayView frame) {
    return QString::fromLatin1(frame.toByteArray().toHex(' '));
}

} // namespace

void FrameTrace::follow(const RequestSender &sender, const ReceivePath &receive) {
    connect(&sender, &RequestSender::frameSent, this,
            [this](const QByteArray &frame) { emit line(sentLine(QTime::currentTime(), frame)); });
    connect(&receive, &ReceivePath::frameReceived, this,
            [this](const QByteArray &frame, FrameVerdict verdict) {
                emit line(receivedLine(QTime::currentTime(), frame, verdict));
            });
}

QString FrameTrace::sentLine(QTime at, QByteArrayView frame) {
    QString text = start(at, "→");
    Header h;
    if (readHeader(frame, h)) {
        text += QStringLiteral(" %1 %2 0x%3")
                    .arg(uint(h.command), 2, 16, QLatin1Char('0'))
                    .arg(commandName(h.command))
                    .arg(h.address, 6, 16, QLatin1Char('0'));
        // A read or a command without data says all with its address.
        if (h.length > 0)
            text += QLatin1Char(' ') + lengthText(h.length);
    }
    return text + QStringLiteral("  ") + hex(frame);
}

QString FrameTrace::receivedLine(QTime at, QByteArrayView frame, FrameVerdict verdict) {
    QString text = start(at, "←");
    Header h;
    if (readHeader(frame, h)) {
        text += QStringLiteral(" %1 0x%2 %3")
                    .arg(uint(h.command), 2, 16, QLatin1Char('0'))
                    .arg(h.address, 6, 16, QLatin1Char('0'))
                    .arg(lengthText(h.length));
    }
    return text + QLatin1Char(' ') + verdictText(verdict) + QStringLiteral("  ") + hex(frame);
}
