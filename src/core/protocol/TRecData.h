#pragma once

#include "TDataPackage.h"

// Reassembles one incoming frame a byte at a time in the inherited fields.
class TRecData : public TDataPackage {
public:
    enum class Feed {
        Dropped,     // a byte outside a frame, or a frame whose declared length does not fit
        Collecting,  // the byte belongs to a frame that is not complete yet
        Complete,    // a frame with a good checksum is in command/address/length/data
        BadChecksum, // a complete frame whose checksum does not match
    };

    static constexpr int RawSize = 304;

    // Takes one received byte. After Complete or BadChecksum the reassembler waits for a start
    // byte.
    Feed feed(uint8_t b);
    // Takes, of the `count` bytes that follow, those that are data of the frame under way, short
    // of its checksum byte, which feed() must see: as feed() would take them one at a time, each
    // of them Collecting. Returns how many it took.
    int takeData(const uint8_t *bytes, int count);
    // Forgets a frame under way and waits for the next start byte.
    void reset();

    bool receiving() const { return receivingFlag; }
    void setReceiving(bool on) { receivingFlag = on; }
    int32_t receivedChecksum() const { return receivedCheck; }
    void setReceivedChecksum(int32_t value) { receivedCheck = value; }
    // The address of the frame just completed, most significant byte first.
    int32_t frameAddress() const;
    // A frame is under way past its start byte, and what has come of its command and address
    // bytes so far is this command and address.
    bool collectingFrameOf(uint8_t command, int32_t address) const;

    bool receivingFlag = false;
    int32_t receivedCheck = 0;
    uint8_t raw[RawSize] = {};
    int32_t byteCount = 0;
    int32_t dataLen = 0;
};
