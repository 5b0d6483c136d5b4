#include "exchange/CodePage.h"
#include "exchange/CsvLine.h"
#include "exchange/SheetCells.h"
#include "numbers/NumberListCsv.h"

#include <QByteArray>
#include <QList>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// The comma-separated reader on arbitrary text, as a line split and as a number list. Beyond
// crashes: what the split takes is written again and split the same way, so that no field can
// shift or change on its way through an export and an import.

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray text =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QList<QByteArray>> lines;
    if (CsvLine::parse(text, lines)) {
        QByteArray again;
        for (const QList<QByteArray> &fields : lines)
            again += CsvLine::line(fields);
        QList<QList<QByteArray>> reread;
        if (!CsvLine::parse(again, reread) || reread != lines) {
            std::fprintf(stderr, "the fields read differ once written again\n");
            std::abort();
        }
    }
    SheetCells sheet;
    NumberListCsv::read(text, CodePage(size > 0 && data[0] & 1 ? 936 : 1252), sheet);
    return 0;
}
