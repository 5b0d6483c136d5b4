#include "exchange/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Pushes the file's data to the disk before the rename makes it visible under the target name.
bool syncToDisk(const QString &path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

AtomicFile::AtomicFile(QString targetPath)
    : target(std::move(targetPath)) {}

AtomicFile::~AtomicFile() {
    if (!committed && !tempPath.isEmpty())
        QFile::remove(tempPath);
}

bool AtomicFile::fail(const QString &reason) {
    error = QStringLiteral("Cannot save \"%1\": %2").arg(QDir::toNativeSeparators(target), reason);
    return false;
}

bool AtomicFile::create() {
    const QFileInfo info(target);
    if (info.isDir())
        return fail(QStringLiteral("a folder of that name is in the way"));
    QTemporaryFile temp(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                        QStringLiteral(".XXXXXX"));
    temp.setAutoRemove(false);
    if (!temp.open())
        return fail(temp.errorString());
    tempPath = temp.fileName();
    return true;
}

bool AtomicFile::commit() {
    if (tempPath.isEmpty())
        return fail(QStringLiteral("nothing was written"));
    const QFileInfo existing(target);
    const QFileDevice::Permissions permissions =
        existing.exists() ? existing.permissions()
                          : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (!QFile::setPermissions(tempPath, permissions) || !syncToDisk(tempPath))
        return fail(systemError());
    if (std::rename(QFile::encodeName(tempPath).constData(),
                    QFile::encodeName(target).constData()) != 0)
        return fail(systemError());
    committed = true;
    return true;
}

QString AtomicFile::writeAll(const QString &path, const QByteArray &content) {
    AtomicFile file(path);
    if (!file.create())
        return file.errorString();
    // Written with the system's own calls, so that a failing write names its reason (a full
    // disk, a size limit) rather than an unknown error.
    const int fd =
        ::open(QFile::encodeName(file.temporaryPath()).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        file.fail(systemError());
        return file.errorString();
    }
    for (qsizetype done = 0; done < content.size();) {
        const ssize_t n = ::write(fd, content.constData() + done, size_t(content.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            file.fail(systemError());
            ::close(fd);
            return file.errorString();
        }
        done += n;
    }
    ::close(fd);
    if (!file.commit())
        return file.errorString();
    return {};
}
