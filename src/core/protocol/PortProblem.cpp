#include "protocol/PortProblem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <pwd.h>
#include <unistd.h>

namespace {

QString linkTarget(const QByteArray &link) {
    char target[PATH_MAX];
    const ssize_t n = ::readlink(link.constData(), target, sizeof target);
    return n > 0 ? QString::fromLocal8Bit(target, n) : QString();
}

} // namespace

QList<PortProblem::Holder> PortProblem::holders(const QString &path, const QString &procRoot) {
    const QString node = QFileInfo(path).canonicalFilePath();
    if (node.isEmpty())
        return {};
    const qint64 self = QCoreApplication::applicationPid();
    QList<Holder> found;
    const QDir proc(procRoot);
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid || pid == self)
            continue;
        const QString fdDir = proc.filePath(entry) + QStringLiteral("/fd");
        const QStringList fds =
            QDir(fdDir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        const bool holds = std::any_of(fds.begin(), fds.end(), [&](const QString &fd) {
            return linkTarget(QFile::encodeName(fdDir + QLatin1Char('/') + fd)) == node;
        });
        if (!holds)
            continue;
        QFile comm(proc.filePath(entry) + QStringLiteral("/comm"));
        QString program;
        if (comm.open(QIODevice::ReadOnly))
            program = QString::fromLocal8Bit(comm.read(64).trimmed());
        found.append({pid, program});
    }
    std::sort(found.begin(), found.end(),
              [](const Holder &a, const Holder &b) { return a.pid < b.pid; });
    return found;
}

QString PortProblem::heldBy(const QList<Holder> &holders) {
    QStringList parts;
    for (const Holder &h : holders)
        parts << QStringLiteral("PID %1 (%2)").arg(h.pid).arg(h.program);
    return parts.isEmpty() ? QString()
                           : QStringLiteral("held by ") + parts.join(QStringLiteral(", "));
}

bool PortProblem::mayOpen(const QString &path) {
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
}

QString PortProblem::explain(int error, const QString &path, const QString &user) {
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("Permission denied — add your user to the dialout group: "
                              "sudo usermod -aG dialout %1, then log in again")
            .arg(user);
    case EBUSY:
    case EWOULDBLOCK: {
        const QString text = QStringLiteral("The port is in use by another program");
        const QString who = heldBy(holders(path));
        return who.isEmpty() ? text : text + QStringLiteral(": ") + who;
    }
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return QStringLiteral("No such device — the adapter is not plugged in (or was unplugged)");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

QString PortProblem::loginName() {
    if (const passwd *pw = ::getpwuid(::geteuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER", QStringLiteral("USER"));
}
