#pragma once

#include "exchange/AreaDifference.h"

#include <optional>

class CliRun;
class QString;

// "numbers diff FILE" and "settings diff FILE": the device's area read and compared with a
// file's (a workbook, the list's comma-separated text, or a backup), one line per difference on
// the output stream: serial or row, the device's value, the file's, separated by tabs. Nothing
// is written. Exit 0 when they agree, 1 when they differ or the comparison could not be made.
int diffNumbers(CliRun &run, const QString &path);
int diffSettings(CliRun &run, const QString &path);

// The file's list loaded, the device's read and compared; nothing when either failed (the reason
// has been shown).
std::optional<AreaDifferences> numberDifferences(CliRun &run, const QString &path);
