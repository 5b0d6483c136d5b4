#include "TRecData.h"

#include <algorithm>

TRecData::Feed TRecData::feed(uint8_t b) {
    if (!receivingFlag) {
        if (b != StartByte)
            return Feed::Dropped;
        receivingFlag = true;
        return Feed::Collecting;
    }
    raw[byteCount] = b;
    if (byteCount == 6) {
        dataLen = (raw[5] << 8) | raw[6];
        // The data area holds 256 bytes: a longer frame cannot be taken, so wait for the next one.
        if (dataLen > MaxData) {
            reset();
            return Feed::Dropped;
        }
    }
    ++byteCount;
    if (byteCount != dataLen + 8)
        return Feed::Collecting;

    receivedCheck = raw[7 + dataLen];
    command = raw[0];
    std::copy(raw + 1, raw + 5, address);
    length[0] = raw[5];
    length[1] = raw[6];
    std::copy(raw + 7, raw + 7 + dataLen, data);
    ComputeChecksum();
    reset();
    return checksum == receivedCheck ? Feed::Complete : Feed::BadChecksum;
}

int TRecData::takeData(const uint8_t *bytes, int count) {
    // The declared length is known from the eighth byte on.
    if (!receivingFlag || byteCount < 7)
        return 0;
    const int n = std::min(count, dataLen + 7 - byteCount);
    std::copy(bytes, bytes + n, raw + byteCount);
    byteCount += n;
    return n;
}

void TRecData::reset() {
    byteCount = 0;
    receivingFlag = false;
}

int32_t TRecData::frameAddress() const {
    return int32_t((uint32_t(address[0]) << 24) | (uint32_t(address[1]) << 16) |
                   (uint32_t(address[2]) << 8) | uint32_t(address[3]));
}

bool TRecData::collectingFrameOf(uint8_t command, int32_t address) const {
    if (!receivingFlag || byteCount == 0)
        return false;
    const uint8_t header[5] = {command, uint8_t(uint32_t(address) >> 24),
                               uint8_t(uint32_t(address) >> 16), uint8_t(uint32_t(address) >> 8),
                               uint8_t(address)};
    return std::equal(raw, raw + std::min(byteCount, 5), header);
}
