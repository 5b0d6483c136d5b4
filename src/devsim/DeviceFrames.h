#pragma once

#include <QByteArray>
#include <cstdint>

// The device's own side of the wire: it reads request frames and writes reply frames, with code
// of its own, so that a framing fault in the tool shows as a failed exchange instead of being
// agreed on by both ends.
//
// A frame: 0x23, command, 4-byte big-endian address, 2-byte big-endian data length N, N data
// bytes, and the XOR of every byte after the 0x23 up to the checksum itself.
namespace DeviceCommand {

inline constexpr uint8_t TimeSync = 0x03;
inline constexpr uint8_t CheckingMode = 0x04;
inline constexpr uint8_t WritePage = 0x82;
inline constexpr uint8_t ReadPage = 0x83;
inline constexpr uint8_t DeleteHistory = 0x85;

} // namespace DeviceCommand

struct DeviceRequest {
    uint8_t command = 0;
    uint32_t address = 0;
    QByteArray data;
    QByteArray frame; // start byte to checksum, as received
};

// Collects request frames from the bytes on the line, one byte at a time.
class RequestReader {
public:
    // True when the byte completed a frame with a good checksum, which request() then holds.
    // Bytes outside a frame are skipped; a frame with a bad checksum, or one declaring more data
    // than a page, is dropped whole and the reader waits for the next 0x23.
    bool take(char byte);
    const DeviceRequest &request() const { return last; }

private:
    QByteArray pending; // from the start byte on; empty while waiting for one
    DeviceRequest last;
};

QByteArray replyFrame(uint8_t command, uint32_t address, const QByteArray &data);
