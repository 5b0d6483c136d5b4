#include "TDataPackage.h"

#include <algorithm>

void TDataPackage::SetAddress(int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    address[0] = uint8_t(v >> 24);
    address[1] = uint8_t(v >> 16);
    address[2] = uint8_t(v >> 8);
    address[3] = uint8_t(v);
}

void TDataPackage::SetLength(int32_t value) {
    length[0] = uint8_t(value >> 8);
    length[1] = uint8_t(value);
}

bool TDataPackage::SetData(const uint8_t *source, int sourceSize) {
    const int n = dataLength();
    if (n > MaxData || sourceSize < n)
        return false;
    if (n > 0)
        std::copy(source, source + n, data);
    return true;
}

bool TDataPackage::SetData(const QByteArray &source) {
    return SetData(reinterpret_cast<const uint8_t *>(source.constData()), int(source.size()));
}

void TDataPackage::ComputeChecksum() {
    // Callers never build more than 256 data bytes; a larger stored length is bounded here
    // so that a stray call cannot read past the data area.
    const int n = std::min(dataLength(), MaxData);
    uint8_t c = command;
    for (uint8_t a : address)
        c ^= a;
    c ^= length[0];
    c ^= length[1];
    for (int i = 0; i < n; ++i)
        c ^= data[i];
    checksum = c;
}

void TDataPackage::BuildFrame() {
    const int n = std::min(dataLength(), MaxData);
    FrameSize = n + 9;
    frame[0] = StartByte;
    frame[1] = command;
    std::copy(address, address + 4, frame + 2);
    frame[6] = length[0];
    frame[7] = length[1];
    std::copy(data, data + n, frame + 8);
    ComputeChecksum();
    frame[8 + n] = checksum;
}

QByteArray TDataPackage::frameBytes() const {
    return QByteArray(reinterpret_cast<const char *>(frame), FrameSize);
}
