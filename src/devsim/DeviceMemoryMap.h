#pragma once

// Where the device keeps what: 256-byte pages in three areas of one memory.
namespace DeviceMemoryMap {

constexpr int PageSize = 256;
constexpr int SettingsStart = 0x0000;
constexpr int NumberListStart = 0x1000;
constexpr int HistoryStart = 0x30000;
constexpr int ImageSize = 0x4F400; // the last history page is 0x4F300
constexpr int HistoryRecordSize = 128;
constexpr int HistoryRecordCount = (ImageSize - HistoryStart) / HistoryRecordSize;
constexpr int PasswordSize = 4;

} // namespace DeviceMemoryMap
