#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>

// Finds, in received bytes, the replies that would let requests succeed, written from the frame
// layout alone so that it cannot share a fault with the receive path: 0x23, the command, the
// address (4 bytes), the data length (2 bytes, at most 256), the data, and a checksum byte that
// XORs everything from the command on to zero. A read reply carries a whole 256-byte page (the
// login check: at least 4 bytes); any other reply says yes with a first data byte of 1.
//
// Frames are looked for at every offset, overlapping or not, so this finds every reply the receive
// path could have taken and possibly more: a request it finds no reply for cannot have succeeded.
class ReplyScan {
public:
    ReplyScan(const uint8_t *bytes, size_t size)
        : bytes(bytes)
        , size(size) {}

    // The next reply to `request` (a whole request frame) after the one found last.
    bool next(const QByteArray &request, bool login) {
        if (request.size() < 8)
            return false;
        const auto *header = reinterpret_cast<const uint8_t *>(request.constData());
        for (size_t at = from; at + 9 <= size; ++at) {
            const uint8_t *f = bytes + at;
            if (f[0] != 0x23 || !std::equal(header + 1, header + 6, f + 1))
                continue;
            const size_t length = size_t(f[6]) << 8 | f[7];
            if (length > 256 || at + 9 + length > size || !checksumHolds(f, length))
                continue;
            const bool read = f[1] == 0x83;
            const bool enough = read ? length >= (login ? 4u : 256u) : length >= 1 && f[8] == 1;
            if (!enough)
                continue;
            from = at + 9 + length;
            return true;
        }
        return false;
    }

private:
    static bool checksumHolds(const uint8_t *f, size_t length) {
        uint8_t x = 0;
        for (size_t i = 1; i < 9 + length; ++i)
            x ^= f[i];
        return x == 0;
    }

    const uint8_t *bytes;
    size_t size;
    size_t from = 0;
};
