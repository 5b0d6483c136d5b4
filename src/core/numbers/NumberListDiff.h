#pragma once

#include "exchange/AreaDifference.h"

class NumberTable;

namespace NumberListDiff {

// An entry as one text: "+4912 Always", "+4912 2024-05-17 08:00 - 2024-12-31 18:00", or an
// empty text where the device keeps no entry (no number, or marked Delete).
QString entryText(const NumberTable &table, int row);
// The entries whose texts differ between the list read from the device and a file's list, in
// serial order. The file's rows are first put through the device's record, so that what the
// device would store the same ("9:5" and "09:05", "/" and "-") is no difference.
AreaDifferences between(const NumberTable &device, const NumberTable &file);

} // namespace NumberListDiff
