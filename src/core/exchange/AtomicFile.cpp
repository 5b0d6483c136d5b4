#include "exchange/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// ".<name>.XXXXXX": hidden beside the target, the last six characters unique.
QString temporaryPattern(const QFileInfo &target) {
    return QStringLiteral(".") + target.fileName() + QStringLiteral(".??????");
}

// A temporary file of an earlier export of the same target that never ended (the process was
// killed, or ran into a size limit) is removed. One that is still being written is locked by
// its writer and stays.
void removeLeftovers(const QFileInfo &target) {
    QDir dir(target.absolutePath());
    const QStringList names =
        dir.entryList({temporaryPattern(target)}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(fd);
    }
}

} // namespace

AtomicFile::AtomicFile(QString targetPath)
    : target(std::move(targetPath)) {}

AtomicFile::~AtomicFile() {
    if (!committed && !tempPath.isEmpty())
        QFile::remove(tempPath);
    if (fd >= 0)
        ::close(fd);
}

Failure AtomicFile::fail(const QString &reason) const {
    return {QStringLiteral("Cannot save \"%1\": %2").arg(QDir::toNativeSeparators(target), reason)};
}

Result<void> AtomicFile::create() {
    const QFileInfo info(target);
    struct stat st;
    if (::stat(QFile::encodeName(target).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return fail(S_ISDIR(st.st_mode)
                        ? QStringLiteral("a folder of that name is in the way")
                        : QStringLiteral("it is not a regular file, and is left as it is"));
    removeLeftovers(info);
    QByteArray pattern = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") +
                                           info.fileName() + QStringLiteral(".XXXXXX"));
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(systemError());
    tempPath = QFile::decodeName(pattern);
    // Held until the file is renamed or removed: it tells a later export this one is alive.
    ::flock(fd, LOCK_EX | LOCK_NB);
    return {};
}

Result<void> AtomicFile::commit() {
    if (tempPath.isEmpty())
        return fail(QStringLiteral("nothing was written"));
    // The new file gets the mode, owner and group of the one it replaces, bit for bit.
    struct stat st;
    if (::stat(QFile::encodeName(target).constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return fail(QStringLiteral("it is not a regular file, and is left as it is"));
        // Only root may give a file away; anyone else keeps it as their own, with the old group
        // where they belong to it.
        const bool owned =
            ::fchown(fd, st.st_uid, st.st_gid) == 0 || ::fchown(fd, uid_t(-1), st.st_gid) == 0;
        Q_UNUSED(owned);
        if (::fchmod(fd, st.st_mode & 07777) != 0)
            return fail(systemError());
    } else if (::fchmod(fd, S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH) != 0) {
        return fail(systemError());
    }
    // The data reaches the disk before the rename makes it visible under the target name.
    if (::fsync(fd) != 0)
        return fail(systemError());
    if (std::rename(QFile::encodeName(tempPath).constData(),
                    QFile::encodeName(target).constData()) != 0)
        return fail(systemError());
    committed = true;
    return {};
}

Result<void> AtomicFile::writeAll(const QString &path, const QByteArray &content) {
    AtomicFile file(path);
    if (Result<void> created = file.create(); !created)
        return created;
    // Written with the system's own calls, so that a failing write names its reason (a full
    // disk, a size limit) rather than an unknown error.
    for (qsizetype done = 0; done < content.size();) {
        const ssize_t n =
            ::write(file.fd, content.constData() + done, size_t(content.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return file.fail(systemError());
        done += n;
    }
    return file.commit();
}
