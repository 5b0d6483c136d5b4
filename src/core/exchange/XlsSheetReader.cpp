#include "exchange/XlsSheetReader.h"

#include "exchange/CellReference.h"
#include "exchange/NumberCellText.h"

#include <QDataStream>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QTime>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <freexl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

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

bool readHere(const QString &path, SheetCells *cells, QString *reason) {
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
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < columns; ++c) {
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
        }
    }
    cells->swap(read);
    return true;
}

constexpr int ReadLimitMs = 60000;

bool writeAll(int fd, const QByteArray &bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Everything the child sends, or nothing when the child ended first or overran the limit.
bool readAll(int fd, QByteArray *out) {
    QElapsedTimer clock;
    clock.start();
    char buffer[65536];
    for (;;) {
        const qint64 left = ReadLimitMs - clock.elapsed();
        pollfd p{fd, POLLIN, 0};
        const int ready = left > 0 ? ::poll(&p, 1, int(left)) : 0;
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        out->append(buffer, qsizetype(n));
    }
}

} // namespace

namespace XlsSheetReader {

// The library behind this reader reads past its buffers on some damaged files, so a file is read
// in a child process: a crash or a hang there is a damaged file here, never the end of the tool.
bool read(const QString &path, SheetCells *cells, QString *reason, const SheetLayout &layout) {
    cells->clear();
    const QString stopped = QStringLiteral("the .xls workbook is damaged (reading it failed)");
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        *reason = stopped;
        return false;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        SheetCells read;
        QString why;
        const bool ok = readHere(path, &read, &why);
        QByteArray message;
        QDataStream out(&message, QIODevice::WriteOnly);
        out << ok << why;
        read.forEach([&out](int row, int column, const QString &displayed, const QString &value) {
            out << qint32(row) << qint32(column) << displayed << value;
        });
        ::_exit(writeAll(pipeFds[1], message) ? 0 : 1);
    }
    ::close(pipeFds[1]);
    QByteArray message;
    const bool whole = child > 0 && readAll(pipeFds[0], &message);
    ::close(pipeFds[0]);
    int status = 0;
    if (child > 0) {
        if (!whole)
            ::kill(child, SIGKILL);
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
    if (!whole || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        *reason = stopped;
        return false;
    }
    QDataStream in(message);
    bool ok = false;
    in >> ok >> *reason;
    SheetCells read;
    while (ok && !in.atEnd()) {
        qint32 row = 0, column = 0;
        QString displayed, value;
        in >> row >> column >> displayed >> value;
        if (row > layout.lastRow && column <= layout.lastColumn) {
            *reason = QStringLiteral("%1 (cell %2 holds a value)")
                          .arg(layout.tooLong, CellReference::name(row, column));
            return false;
        }
        if (column <= layout.lastColumn)
            read.set(row, column, displayed, value);
    }
    if (in.status() != QDataStream::Ok) {
        *reason = stopped;
        return false;
    }
    cells->swap(read);
    return ok;
}

} // namespace XlsSheetReader
