#pragma once

#include <cstdint>

// The last reply that arrived whole and with a good checksum.
struct TRecValidCom {
    uint8_t command = 0;
    int32_t address = 0;
    uint16_t length = 0;
    uint8_t data[258] = {}; // the first `length` bytes are meaningful
};
