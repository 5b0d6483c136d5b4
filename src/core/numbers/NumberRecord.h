#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class NumberTable;

// The device's 32-byte number record and the grid row it stands for:
//   0..21  the number's characters, 0x00 after a shorter one (a 22-character number has none)
//   22..25 start month, day, hour, minute     26..29 end month, day, hour, minute
//   30, 31 start year, end year (the last two digits; the century is 20)
// An Always entry carries 0x63 in bytes 22..29 (30 is 0x00, 31 is 0x63), a deleted one is 32 x
// 0xFF, an unused one 32 x 0x00. All values are plain bytes.
namespace NumberRecord {

inline constexpr int Size = 32;
inline constexpr int NumberSize = 22;
inline constexpr int PerPage = 8;

// Builds the record of a table row. Cells must have passed checkRow(): a row that does not is
// the caller's error.
void encode(const NumberTable &table, int row, uint8_t *record);
// Writes a record into a table row: number, window and Always; Delete is left alone.
void decode(const uint8_t *record, NumberTable &table, int row);

// Whether the device can hold a row as its cells stand. Only what is written counts: a deleted
// row, a row without a number, and the window of an Always row are not.
bool rowIsWritable(const NumberTable &table, int row);

// A number the device takes: "+" and digits, at most 22 of them.
bool isDeviceNumber(const QString &number);

} // namespace NumberRecord
