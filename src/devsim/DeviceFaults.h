#pragma once

// Faults the simulated device can show, to reproduce what the tool must survive. Requests (good
// frames only) are counted from 1 in the order they arrive; 0 switches a fault off.
struct DeviceFaults {
    int noReplyFrom = 0;     // from this request on, nothing is answered
    int badChecksumFrom = 0; // from this request on, every reply has a wrong checksum
    int cutAfter = 0;        // every reply frame stops after this many bytes
    int garbage = 0;         // this many stray bytes (never 0x23) go out before every reply
    int nakFrom = 0;         // from this request on, writes and commands are refused (data 0)
    int delayMs = 0;         // each reply waits this long before its first byte
    // From this request on, every reply is a well-formed frame with only the first
    // shortDataLength (0..255) of its data bytes.
    int shortDataFrom = 0;
    int shortDataLength = 0;
    int hangUpAt = 0;      // this request is not answered: the device vanishes from the line
    int duplicateFrom = 0; // from this request on, every reply goes out twice, back to back
    // From this request on, a request gets no reply; instead the line carries bytes until the
    // next request comes in: noise (never 0x23), or a flood of start bytes (0x23).
    int noiseFrom = 0;
    int floodFrom = 0;
    // Reply bytes go out one at a time, this far apart; a request that comes in meanwhile cuts
    // the rest of the reply off.
    int dribbleMs = 0;
    // From this request on, page writes are acknowledged but nothing is stored.
    int forgetWritesFrom = 0;
    // Both directions run at 115200 baud, 10 bits a byte, as on the cable: a request is seen
    // only once its last byte has crossed, and reply bytes leave no faster than the line.
    bool paced = false;
    // When set, the faults above but hangUpAt and paced reach this one request only (a "from"
    // fault still needs its number at or below it); every other request is answered as usual.
    int onlyAt = 0;

    bool operator==(const DeviceFaults &) const = default;
};
