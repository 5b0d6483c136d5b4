#include "exchange/InputFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

Failure systemError() {
    return {QString::fromLocal8Bit(std::strerror(errno))};
}

// Why a file of this type is not read; empty for a regular file.
QString notRegular(const struct stat &st) {
    if (S_ISREG(st.st_mode))
        return {};
    return S_ISDIR(st.st_mode) ? QStringLiteral("it is a folder, not a file")
                               : QStringLiteral("it is not a regular file");
}

QString tooLarge(qint64 limit) {
    return limit >= 1024 * 1024
               ? QStringLiteral("it is larger than %1 MiB").arg(limit / (1024 * 1024))
               : QStringLiteral("it is larger than %1 bytes").arg(limit);
}

// Reads the open file up to one byte past the limit: the size is found by reading, as the file
// may grow meanwhile.
Result<QByteArray> readOpen(int fd, qint64 limit) {
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return systemError();
    if (const QString why = notRegular(st); !why.isEmpty())
        return Failure{why};
    QByteArray data;
    data.reserve(qsizetype(std::min<qint64>(st.st_size, limit) + 1));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return systemError();
        if (n == 0)
            return data;
        if (data.size() + n > limit)
            return Failure{tooLarge(limit)};
        data.append(buffer, qsizetype(n));
    }
}

} // namespace

namespace InputFile {

Result<QByteArray> read(const QString &path, qint64 limit) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::stat(name.constData(), &st) != 0)
        return systemError();
    if (const QString why = notRegular(st); !why.isEmpty())
        return Failure{why};
    // Non-blocking, so that a FIFO put in the file's place since the check cannot hold the open.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return systemError();
    Result<QByteArray> data = readOpen(fd, limit);
    ::close(fd);
    return data;
}

} // namespace InputFile
