#pragma once

#include <cstdint>

class CodePage;
class HistoryTable;

// The device's 128-byte history record and the grid row it fills:
//   0..3   record number, little-endian (FF FF FF FF: none)
//   4..6   year - 2000, month, day (a year byte of 0 marks an unused record)
//   7..9   hour, minute, second       10 source       11 event
//   12..33 executant: "+" and digits  34..74 content, ended by 0x00     75..127 unused
// An erased record is 128 x 0xFF. No value is checked against a range: the grid shows what the
// device holds.
namespace HistoryRecord {

inline constexpr int Size = 128;
inline constexpr int PerPage = 2;

// Writes columns 1..7 of `row`; the serial column is left alone.
void decode(const uint8_t *record, HistoryTable &table, int row, const CodePage &codePage);

} // namespace HistoryRecord
