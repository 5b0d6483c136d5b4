#include "exchange/SheetCells.h"

void SheetCells::set(int row, int column, const QString &displayed, const QString &value) {
    if (displayed.isEmpty() && value.isEmpty())
        cells.remove(key(row, column));
    else
        cells.insert(key(row, column), Texts{displayed, value});
}

QString SheetCells::displayed(int row, int column) const {
    const auto it = cells.constFind(key(row, column));
    return it == cells.constEnd() ? QString() : it->displayed;
}

QString SheetCells::value(int row, int column) const {
    const auto it = cells.constFind(key(row, column));
    return it == cells.constEnd() ? QString() : it->value;
}
