#pragma once

#include <QByteArray>

// The memory a device leaves the factory with: settings page 1 holds the default parameters,
// everything else is erased flash (0xFF), optionally with sample history records.
namespace FactoryImage {

constexpr char DefaultPassword[] = "7482";

// Page 1 of the settings area with the default parameters and the given 4-byte password.
QByteArray settingsPage1(const QByteArray &password);
// History record number `number` (1-based) of a plausible event log.
QByteArray historyRecord(int number);
// The whole memory; historyCount records (at most HistoryRecordCount) fill the history area
// from its start.
QByteArray build(const QByteArray &password, int historyCount);

} // namespace FactoryImage
