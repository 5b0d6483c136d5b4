#pragma once

#include "exchange/AreaDifference.h"

class SettingsTable;

namespace SettingsDiff {

// The rows whose settings differ between those read from the device and a file's, in row
// order. The file's values are first put through the device's pages, so that what the device
// would store the same ("0010" and "10", a text past its field) is no difference; a file whose
// numbers the pages cannot take is compared as it stands.
AreaDifferences between(const SettingsTable &device, const SettingsTable &file);

} // namespace SettingsDiff
