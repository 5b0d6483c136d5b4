// velmora-xls-reader FILE LAST_ROW LAST_COLUMN: reads the first sheet of the legacy workbook
// FILE and writes the cells, as XlsBiffFile's message, to its output. The tool starts it for
// every .xls file, so that the library that reads them runs in a process of its own.
#include "exchange/XlsBiffFile.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FILE LAST_ROW LAST_COLUMN\n", argv[0]);
        return 2;
    }
    bool rowOk = false, columnOk = false;
    const int lastRow = QByteArray(argv[2]).toInt(&rowOk);
    const int lastColumn = QByteArray(argv[3]).toInt(&columnOk);
    if (!rowOk || !columnOk || lastRow < 1 || lastColumn < 1) {
        std::fprintf(stderr, "%s: LAST_ROW and LAST_COLUMN are numbers from 1\n", argv[0]);
        return 2;
    }
    const QByteArray message =
        XlsBiffFile::readMessage(QFile::decodeName(argv[1]), lastRow, lastColumn);
    for (qsizetype done = 0; done < message.size();) {
        const ssize_t n = ::write(1, message.constData() + done, size_t(message.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return 1;
        done += n;
    }
    return 0;
}
