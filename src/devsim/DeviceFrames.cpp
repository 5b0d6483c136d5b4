#include "DeviceFrames.h"

#include <utility>

namespace {

constexpr char StartByte = 0x23;
constexpr int HeaderSize = 8; // start byte, command, address, length
constexpr int MaxData = 256;

uint8_t byteAt(const QByteArray &bytes, int i) {
    return uint8_t(bytes[i]);
}

// The XOR of the bytes from the command on, up to (not including) the checksum at `end`.
uint8_t checksum(const QByteArray &frame, qsizetype end) {
    uint8_t sum = 0;
    for (qsizetype i = 1; i < end; ++i)
        sum ^= uint8_t(frame[i]);
    return sum;
}

} // namespace

bool RequestReader::take(char byte) {
    if (pending.isEmpty() && byte != StartByte)
        return false;
    pending += byte;
    if (pending.size() < HeaderSize)
        return false;
    const int length = (byteAt(pending, 6) << 8) | byteAt(pending, 7);
    if (length > MaxData) {
        pending.clear();
        return false;
    }
    if (pending.size() < HeaderSize + length + 1)
        return false;
    const QByteArray frame = std::exchange(pending, {});
    if (checksum(frame, HeaderSize + length) != byteAt(frame, HeaderSize + length))
        return false;
    last.command = byteAt(frame, 1);
    last.address = uint32_t(byteAt(frame, 2)) << 24 | uint32_t(byteAt(frame, 3)) << 16 |
                   uint32_t(byteAt(frame, 4)) << 8 | byteAt(frame, 5);
    last.data = frame.mid(HeaderSize, length);
    last.frame = frame;
    return true;
}

QByteArray replyFrame(uint8_t command, uint32_t address, const QByteArray &data) {
    QByteArray frame;
    frame.reserve(HeaderSize + data.size() + 1);
    frame += StartByte;
    frame += char(command);
    for (int shift = 24; shift >= 0; shift -= 8)
        frame += char(address >> shift);
    frame += char(data.size() >> 8);
    frame += char(data.size());
    frame += data;
    frame += char(checksum(frame, frame.size()));
    return frame;
}
