#pragma once

class CliRun;
class QString;

// "numbers diff FILE" and "settings diff FILE": the device's area read and compared with a
// file's (a workbook, the list's comma-separated text, or a backup), one record per difference
// on the output stream as --format prints records: serial or row, the device's value, the
// file's. Nothing is written. Exit 0 when they agree, 1 when they differ or the comparison could
// not be made.
int diffNumbers(CliRun &run, const QString &path);
int diffSettings(CliRun &run, const QString &path);
