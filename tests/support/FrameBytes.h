#pragma once

#include <QByteArray>
#include <cstdint>

// The bytes of one frame, laid out here rather than by the tool's own frame builder, so that a
// fault in that builder cannot be agreed on by the tests: 0x23, the command, the address (4 bytes,
// most significant first), the data length (2 bytes, most significant first), the data, and a
// checksum: the XOR of every byte from the command to the last data byte.
inline QByteArray frameBytes(uint8_t command, int32_t address, const QByteArray &data = {}) {
    const auto a = uint32_t(address);
    const auto n = uint16_t(data.size());
    QByteArray f;
    f += char(0x23);
    f += char(command);
    for (int shift : {24, 16, 8, 0})
        f += char(uint8_t(a >> shift));
    f += char(uint8_t(n >> 8));
    f += char(uint8_t(n));
    f += data;
    uint8_t checksum = 0;
    for (qsizetype i = 1; i < f.size(); ++i)
        checksum ^= uint8_t(f[i]);
    f += char(checksum);
    return f;
}
