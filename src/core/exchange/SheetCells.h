#pragma once

#include <QHash>
#include <QString>

// How far a sheet may reach for the table it fills. Reading ends at the first value in a row
// past `lastRow`: with a `tooLong` reason ("the list holds more than 3000 entries") that refuses
// the whole file, without one the rows before it are the sheet. Cells past `lastColumn` are not
// kept. So a sheet of a million rows costs no more than the rows the table can hold.
struct SheetLayout {
    int lastRow = 1048576;
    int lastColumn = 16384;
    QString tooLong;
};

// The cells of one worksheet as read from a file, addressed (row, column) from 1. Each cell has
// the text a spreadsheet displays and its value as text; for text cells the two are the same.
class SheetCells {
public:
    void set(int row, int column, const QString &displayed, const QString &value);
    void setText(int row, int column, const QString &text) { set(row, column, text, text); }

    // Empty for a cell that is empty or missing.
    QString displayed(int row, int column) const;
    QString value(int row, int column) const;
    // Room for `count` cells, so that filling a sheet does not grow the table step by step.
    void reserve(qsizetype count) { cells.reserve(count); }
    void clear() { cells.clear(); }
    // Calls `visit(row, column, displayed, value)` for every cell, in no particular order.
    template <class Visit> void forEach(Visit visit) const {
        for (auto i = cells.cbegin(); i != cells.cend(); ++i)
            visit(int(i.key() >> 32), int(quint32(i.key())), i->displayed, i->value);
    }
    void swap(SheetCells &other) noexcept { cells.swap(other.cells); }

private:
    struct Texts {
        QString displayed;
        QString value;
    };
    static quint64 key(int row, int column) {
        return (quint64(quint32(row)) << 32) | quint32(column);
    }

    QHash<quint64, Texts> cells;
};
