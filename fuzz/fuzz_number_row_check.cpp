#include "exchange/SheetCells.h"
#include "numbers/NumberListRowCheck.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>

// The number list import row check on arbitrary cell texts. The input is split like a text
// export of the sheet: lines are rows from sheet row 2 (entry 1) on, tabs separate the cells of
// columns 1..8 (serial, number, start date and time, end date and time, Always, Delete).

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    SheetCells sheet;
    int row = 2;
    for (const QByteArray &line : input.split('\n')) {
        int column = 1;
        for (const QByteArray &cell : line.split('\t'))
            sheet.setText(row, column++, QString::fromUtf8(cell));
        ++row;
    }
    NumberListRowCheck::problems(sheet);
    return 0;
}
