#include "exchange/XlsBiffFile.h"

#include "exchange/CellReference.h"
#include "exchange/NumberCellText.h"

#include <QDataStream>
#include <QDate>
#include <QFile>
#include <QTime>

#include <algorithm>
#include <freexl.h>

namespace {

QString freexlReason(int code) {
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return QStringLiteral("it cannot be opened");
    case FREEXL_INSUFFICIENT_MEMORY:
        return QStringLiteral("there is not enough memory to read it");
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return QStringLiteral("it is not a workbook (a compound document without a workbook)");
    case FREEXL_CFBF_READ_ERROR:
    case FREEXL_CFBF_SEEK_ERROR:
    case FREEXL_CFBF_INVALID_SIGNATURE:
    case FREEXL_CFBF_INVALID_SECTOR_SIZE:
    case FREEXL_CFBF_EMPTY_FAT_CHAIN:
    case FREEXL_CFBF_ILLEGAL_FAT_ENTRY:
        return QStringLiteral("it is a damaged compound document, not a readable workbook");
    case FREEXL_UNSUPPORTED_CHARSET:
    case FREEXL_INVALID_CHARACTER:
        return QStringLiteral("its text is in a character set that cannot be read");
    default:
        return QStringLiteral("the .xls workbook is damaged (error %1 while reading it)").arg(code);
    }
}

// Closes the library's handle on every way out.
class Handle {
public:
    ~Handle() {
        if (handle)
            freexl_close(handle);
    }
    const void *handle = nullptr;
};

void setDateTime(SheetCells *cells, int row, int column, const FreeXL_CellValue &value) {
    const QString text = QString::fromUtf8(value.value.text_value);
    const QString date = QDate::fromString(text.left(10), Qt::ISODate).toString(u"yyyy/MM/dd");
    const QString time = QTime::fromString(text.right(8), Qt::ISODate).toString(u"HH:mm:ss");
    if (value.type == FREEXL_CELL_DATE)
        cells->setText(row, column, date);
    else if (value.type == FREEXL_CELL_TIME)
        cells->setText(row, column, time);
    else
        cells->set(row, column, date + QLatin1Char(' ') + time,
                   text.endsWith(QLatin1String("00:00:00")) ? date
                                                            : date + QLatin1Char(' ') + time);
}

bool readSheet(const QString &path, int lastRow, int lastColumn, SheetCells *cells,
               QString *reason) {
    cells->clear();
    Handle book;
    int status = freexl_open(QFile::encodeName(path).constData(), &book.handle);
    if (status != FREEXL_OK) {
        *reason = freexlReason(status);
        return false;
    }
    unsigned int info = 0;
    if (freexl_get_info(book.handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED) {
        *reason = QStringLiteral("it is encrypted");
        return false;
    }
    unsigned int sheets = 0;
    status = freexl_get_info(book.handle, FREEXL_BIFF_SHEET_COUNT, &sheets);
    if (status == FREEXL_OK && sheets == 0) {
        *reason = QStringLiteral("it has no worksheet");
        return false;
    }
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (status == FREEXL_OK)
        status = freexl_select_active_worksheet(book.handle, 0);
    if (status == FREEXL_OK)
        status = freexl_worksheet_dimensions(book.handle, &rows, &columns);
    if (status != FREEXL_OK) {
        *reason = freexlReason(status);
        return false;
    }
    SheetCells read;
    // Past the last column nothing is read; the first value past the last row is the last.
    bool past = false;
    const unsigned short readColumns = ushort(std::min<int>(columns, lastColumn));
    for (unsigned int r = 0; r < rows && !past; ++r) {
        for (unsigned short c = 0; c < readColumns && !past; ++c) {
            FreeXL_CellValue value;
            status = freexl_get_cell_value(book.handle, r, c, &value);
            if (status != FREEXL_OK) {
                *reason = freexlReason(status);
                return false;
            }
            const int row = int(r) + 1;
            const int column = int(c) + 1;
            switch (value.type) {
            case FREEXL_CELL_INT:
                read.setText(row, column, QString::number(value.value.int_value));
                break;
            case FREEXL_CELL_DOUBLE:
                read.set(row, column, NumberCellText::generalNumber(value.value.double_value),
                         NumberCellText::plainNumber(value.value.double_value));
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
                read.setText(row, column, QString::fromUtf8(value.value.text_value));
                break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                setDateTime(&read, row, column, value);
                break;
            default:
                break;
            }
            past = row > lastRow && !read.value(row, column).isEmpty();
        }
    }
    cells->swap(read);
    return true;
}

} // namespace

namespace XlsBiffFile {

QByteArray readMessage(const QString &path, int lastRow, int lastColumn) {
    SheetCells read;
    QString why;
    const bool ok = readSheet(path, lastRow, lastColumn, &read, &why);
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << ok << why;
    read.forEach([&out](int row, int column, const QString &displayed, const QString &value) {
        out << qint32(row) << qint32(column) << displayed << value;
    });
    return message;
}

bool decodeMessage(const QByteArray &message, const SheetLayout &layout, SheetCells *cells,
                   QString *reason) {
    cells->clear();
    QDataStream in(message);
    bool ok = false;
    in >> ok >> *reason;
    SheetCells read;
    while (ok && !in.atEnd()) {
        qint32 row = 0, column = 0;
        QString displayed, value;
        in >> row >> column >> displayed >> value;
        if (row > layout.lastRow && column <= layout.lastColumn && layout.tooLong.isEmpty())
            continue;
        if (row > layout.lastRow && column <= layout.lastColumn) {
            *reason = QStringLiteral("%1 (cell %2 holds a value)")
                          .arg(layout.tooLong, CellReference::name(row, column));
            return false;
        }
        if (column <= layout.lastColumn)
            read.set(row, column, displayed, value);
    }
    if (in.status() != QDataStream::Ok) {
        *reason = QStringLiteral("the .xls workbook is damaged (reading it failed)");
        return false;
    }
    cells->swap(read);
    return ok;
}

} // namespace XlsBiffFile
