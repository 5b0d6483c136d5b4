#include "ImageFile.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ImageFile {

namespace {

Failure systemError(const QString &what, const QString &path) {
    return {QStringLiteral("%1 %2: %3").arg(what, path, QString::fromLocal8Bit(strerror(errno)))};
}

bool writeAll(int fd, const char *data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

Result<QByteArray> load(const QString &path, int expectedSize) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{
            QStringLiteral("Cannot read the memory image %1: %2").arg(path, file.errorString())};
    // Read one byte more than expected so that an over-long file is noticed without reading it
    // all.
    const QByteArray bytes = file.read(qint64(expectedSize) + 1);
    if (bytes.size() != expectedSize)
        return Failure{QStringLiteral("The memory image %1 is not %2 bytes long: it does not "
                                      "come from this device")
                           .arg(path)
                           .arg(expectedSize)};
    return bytes;
}

Result<void> save(const QString &path, const QByteArray &image) {
    QByteArray temp = QFile::encodeName(path) + ".tmp-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return systemError(QStringLiteral("Cannot create a temporary file for"), path);
    // mkstemp makes the file private; the image is no secret, keep it readable like any file.
    ::fchmod(fd, 0644);
    const bool written = writeAll(fd, image.constData(), image.size());
    const int writeErrno = errno;
    if (::close(fd) != 0 || !written) {
        if (!written)
            errno = writeErrno;
        const Failure failed = systemError(QStringLiteral("Cannot write the memory image"), path);
        ::unlink(temp.constData());
        return failed;
    }
    if (::rename(temp.constData(), QFile::encodeName(path).constData()) != 0) {
        const Failure failed = systemError(QStringLiteral("Cannot replace the memory image"), path);
        ::unlink(temp.constData());
        return failed;
    }
    return {};
}

} // namespace ImageFile
