#pragma once

#include <cstdint>

// The command codes the device understands; a reply carries the code of its request.
namespace CommandCodes {

inline constexpr uint8_t TimeSync = 0x03;
inline constexpr uint8_t CheckingMode = 0x04;
inline constexpr uint8_t WritePage = 0x82;
inline constexpr uint8_t ReadPage = 0x83;
inline constexpr uint8_t DeleteHistory = 0x85;

} // namespace CommandCodes
