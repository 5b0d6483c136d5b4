#pragma once

#include <QByteArray>
#include <cstdint>

// One frame as it goes on the wire: 0x23, command, 4-byte big-endian address,
// 2-byte big-endian data length N, N data bytes, XOR checksum of everything after 0x23.
class TDataPackage {
public:
    static constexpr uint8_t StartByte = 0x23;
    static constexpr int MaxData = 256;
    static constexpr int HeaderSize = 8; // start byte, command, address, length
    static constexpr int MaxFrame = MaxData + HeaderSize + 1;

    void SetCommand(uint8_t code) { command = code; }
    void SetAddress(int32_t value);
    void SetLength(int32_t value);
    // Copies N bytes (the length already set) from the source. Refuses, and copies nothing,
    // when N is above 256 or the source is shorter than N.
    bool SetData(const uint8_t *source, int sourceSize);
    bool SetData(const QByteArray &source);
    void ComputeChecksum();
    void BuildFrame();

    int dataLength() const { return (length[0] << 8) | length[1]; }
    QByteArray frameBytes() const;

    uint8_t command = 0;
    uint8_t address[4] = {};
    uint8_t length[2] = {};
    uint8_t data[MaxData] = {};
    uint8_t checksum = 0;
    uint8_t frame[MaxFrame + 7] = {};
    int32_t FrameSize = 0;
};
