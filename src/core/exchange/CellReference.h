#pragma once

#include <QByteArray>
#include <QString>

// A cell's address as a sheet writes it: column letters then the row, "B3" for (3, 2).
namespace CellReference {

// 1 → "A", 26 → "Z", 27 → "AA".
QByteArray columnLetters(int column);
QString name(int row, int column);

} // namespace CellReference
