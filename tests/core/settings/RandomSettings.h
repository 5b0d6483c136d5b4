#pragma once

#include "exchange/CodePage.h"

#include <QRandomGenerator>
#include <QString>

class SettingsTable;

// Fills every parameter with a random value the device can hold exactly: digits and numbers in
// their ranges, texts within their byte limits made of characters of the code page (Chinese
// ones on 936). Choice lists sometimes get no selection.
void fillRandomSettings(SettingsTable &table, QRandomGenerator &rng, const CodePage &codePage);

// The first parameter whose device value differs (value text, or the item index of a choice
// row), described for a failure message; empty when the two tables agree.
QString settingsDifference(const SettingsTable &expected, const SettingsTable &actual);
