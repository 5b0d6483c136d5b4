#include "exchange/CellReference.h"

namespace CellReference {

QByteArray columnLetters(int column) {
    QByteArray letters;
    for (; column > 0; column = (column - 1) / 26)
        letters.prepend(char('A' + (column - 1) % 26));
    return letters;
}

QString name(int row, int column) {
    return QString::fromLatin1(columnLetters(column)) + QString::number(row);
}

} // namespace CellReference
