#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

// The far end of a serial cable for tests: a pseudo-terminal whose slave path a link opens and
// whose master side the test reads and writes, both raw.
class PseudoTerminal {
public:
    PseudoTerminal() {
        masterFd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (masterFd < 0 || ::grantpt(masterFd) != 0 || ::unlockpt(masterFd) != 0)
            return;
        char name[128] = {};
        if (::ptsname_r(masterFd, name, sizeof name) != 0)
            return;
        path = QString::fromLocal8Bit(name);
        termios t{};
        if (::tcgetattr(masterFd, &t) == 0) {
            ::cfmakeraw(&t);
            ::tcsetattr(masterFd, TCSANOW, &t);
        }
        ::fcntl(masterFd, F_SETFL, ::fcntl(masterFd, F_GETFL) | O_NONBLOCK);
    }
    ~PseudoTerminal() { closeMaster(); }
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isValid() const { return masterFd >= 0 && !path.isEmpty(); }
    QString slavePath() const { return path; }
    int master() const { return masterFd; }

    // Unplugs the cable: the slave side sees a hang-up.
    void closeMaster() {
        if (masterFd >= 0)
            ::close(masterFd);
        masterFd = -1;
    }

    // Writes everything, waiting while the slave's input is full.
    bool writeAll(const QByteArray &bytes, int timeoutMs = 10000) {
        QDeadlineTimer deadline(timeoutMs);
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::write(masterFd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0) {
                done += n;
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                return false;
            if (deadline.hasExpired())
                return false;
            pollfd p{masterFd, POLLOUT, 0};
            ::poll(&p, 1, 50);
        }
        return true;
    }

    // Reads until `count` bytes came or the time ran out; returns what came.
    QByteArray read(qsizetype count, int timeoutMs = 10000) {
        QByteArray out;
        QDeadlineTimer deadline(timeoutMs);
        char buffer[65536];
        while (out.size() < count && !deadline.hasExpired()) {
            pollfd p{masterFd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const ssize_t n = ::read(masterFd, buffer, sizeof buffer);
            if (n > 0)
                out.append(buffer, n);
        }
        return out;
    }

private:
    int masterFd = -1;
    QString path;
};
