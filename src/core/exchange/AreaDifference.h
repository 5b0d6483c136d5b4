#pragma once

#include <QList>
#include <QString>

// One place where a device area and a file disagree: the entry's serial or the setting's row,
// then what the device holds and what the file holds there, as the device would show each.
struct AreaDifference {
    QString where;
    QString device;
    QString file;
};
using AreaDifferences = QList<AreaDifference>;
