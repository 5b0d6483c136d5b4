#include "exchange/InputFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool isRegular(const struct stat &st, QString *reason) {
    if (S_ISREG(st.st_mode))
        return true;
    *reason = S_ISDIR(st.st_mode) ? QStringLiteral("it is a folder, not a file")
                                  : QStringLiteral("it is not a regular file");
    return false;
}

QString tooLarge(qint64 limit) {
    return limit >= 1024 * 1024
               ? QStringLiteral("it is larger than %1 MiB").arg(limit / (1024 * 1024))
               : QStringLiteral("it is larger than %1 bytes").arg(limit);
}

} // namespace

namespace InputFile {

bool read(const QString &path, qint64 limit, QByteArray *data, QString *reason) {
    data->clear();
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::stat(name.constData(), &st) != 0) {
        *reason = systemError();
        return false;
    }
    if (!isRegular(st, reason))
        return false;
    // Non-blocking, so that a FIFO put in the file's place since the check cannot hold the open.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *reason = systemError();
        return false;
    }
    bool ok = ::fstat(fd, &st) == 0;
    if (!ok)
        *reason = systemError();
    else
        ok = isRegular(st, reason);
    if (ok)
        data->reserve(qsizetype(std::min<qint64>(st.st_size, limit) + 1));
    // The size is found by reading, up to one byte past the limit: the file may grow meanwhile.
    char buffer[65536];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *reason = systemError();
            ok = false;
        } else if (n == 0) {
            break;
        } else if (data->size() + n > limit) {
            *reason = tooLarge(limit);
            ok = false;
        } else {
            data->append(buffer, qsizetype(n));
        }
    }
    ::close(fd);
    if (!ok)
        data->clear();
    return ok;
}

} // namespace InputFile
