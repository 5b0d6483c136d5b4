#include "protocol/TCommWorker.h"

#include <QCoreApplication>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

TCommEvent::TCommEvent(Kind kind, quint64 generation)
    : QEvent(eventType())
    , what(kind)
    , gen(generation) {}

QEvent::Type TCommEvent::eventType() {
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

namespace {

// Bumps an eventfd; a full counter still leaves it readable, which is all the waiter needs.
void signalEventFd(int fd) {
    const uint64_t one = 1;
    const ssize_t written = ::write(fd, &one, sizeof one);
    (void)written;
}

void resetEventFd(int fd) {
    uint64_t value = 0;
    const ssize_t got = ::read(fd, &value, sizeof value);
    (void)got;
}

} // namespace

TCommWorker::TCommWorker(int fd, int closeFd, int wakeFd, QObject *target, quint64 generation)
    : portFd(fd)
    , closeFd(closeFd)
    , wakeFd(wakeFd)
    , gen(generation)
    , target(target) {}

TCommWorker::~TCommWorker() {
    // Whatever the threads did not move is dropped, so that closing never waits for a device
    // that stopped reading.
    ::tcflush(portFd, TCIOFLUSH);
    // A pseudo-terminal keeps its exclusive mark while the other side is open.
    ::ioctl(portFd, TIOCNXCL);
    ::close(portFd);
    ::close(closeFd);
    ::close(wakeFd);
}

void TCommWorker::start(int readSize, bool &readerStarted) {
    auto self = shared_from_this();
    readerStarted = false;
    {
        std::lock_guard lock(finishMutex);
        running = 1;
    }
    try {
        reader = std::thread([self, readSize] {
            self->readLoop(readSize);
            self->threadFinished();
        });
    } catch (...) {
        std::lock_guard lock(finishMutex);
        running = 0;
        throw;
    }
    readerStarted = true;
    {
        std::lock_guard lock(finishMutex);
        ++running;
    }
    writerAlive = true;
    try {
        writer = std::thread([self] {
            self->writeLoop();
            self->threadFinished();
        });
    } catch (...) {
        writerAlive = false;
        {
            std::lock_guard lock(finishMutex);
            --running;
        }
        stop(10000);
        throw;
    }
}

void TCommWorker::stop(int limitMs) {
    signalEventFd(closeFd);
    bool finished;
    {
        std::unique_lock lock(finishMutex);
        finished = finishedCv.wait_for(lock, std::chrono::milliseconds(limitMs),
                                       [this] { return running == 0; });
    }
    if (finished) {
        if (reader.joinable())
            reader.join();
        if (writer.joinable())
            writer.join();
        return;
    }
    {
        std::lock_guard lock(receiveMutex);
        target = nullptr;
    }
    if (reader.joinable())
        reader.detach();
    if (writer.joinable())
        writer.detach();
}

TCommWorker::WriteResult TCommWorker::write(const char *bytes, int count) {
    if (!writerAlive)
        return WriteResult::Refused;
    {
        std::lock_guard lock(sendMutex);
        if (outgoing.empty() && !writing) {
            // The descriptor is non-blocking: a full line takes part of the bytes or none.
            ssize_t n;
            do
                n = ::write(portFd, bytes, size_t(count));
            while (n < 0 && errno == EINTR);
            if (n == count)
                return WriteResult::Written;
            if (n < 0 && errno != EAGAIN) {
                postHangup();
                return WriteResult::Refused;
            }
            if (n > 0) {
                bytes += n;
                count -= int(n);
            }
        }
        outgoing.emplace_back(bytes, count);
        sendEmpty = false;
    }
    signalEventFd(wakeFd);
    return WriteResult::Queued;
}

void TCommWorker::takeReceived(QByteArray &out) {
    std::lock_guard lock(receiveMutex);
    out.swap(received);
    received.clear();
    receivePosted = false;
}

void TCommWorker::readLoop(int readSize) {
    std::vector<char> buffer(static_cast<size_t>(readSize));
    pollfd fds[2] = {{portFd, POLLIN, 0}, {closeFd, POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            postHangup();
            return;
        }
        if (fds[1].revents)
            return;
        const short events = fds[0].revents;
        if (events & POLLIN) {
            const ssize_t n = ::read(portFd, buffer.data(), buffer.size());
            if (n > 0) {
                std::lock_guard lock(receiveMutex);
                received.append(buffer.data(), qsizetype(n));
                // One event carries everything that piles up until the owner drains it.
                if (!receivePosted && target) {
                    receivePosted = true;
                    QCoreApplication::postEvent(target,
                                                new TCommEvent(TCommEvent::Kind::Received, gen));
                }
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            // 0 bytes or EIO: the device is gone.
            postHangup();
            return;
        }
        if (events & (POLLHUP | POLLERR | POLLNVAL)) {
            postHangup();
            return;
        }
    }
}

void TCommWorker::writeLoop() {
    bool wroteSinceEmpty = true;
    pollfd fds[2] = {{wakeFd, POLLIN, 0}, {closeFd, POLLIN, 0}};
    for (;;) {
        std::deque<QByteArray> blocks;
        {
            std::lock_guard lock(sendMutex);
            blocks.swap(outgoing);
            writing = !blocks.empty();
            if (blocks.empty())
                sendEmpty = true;
        }
        if (blocks.empty()) {
            if (wroteSinceEmpty) {
                post(TCommEvent::Kind::SendDataEmpty);
                wroteSinceEmpty = false;
            }
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                break;
            }
            if (fds[1].revents)
                break;
            resetEventFd(wakeFd);
            continue;
        }
        for (const QByteArray &block : blocks) {
            if (!writeWhole(block)) {
                writerAlive = false;
                return;
            }
        }
        wroteSinceEmpty = true;
    }
    writerAlive = false;
}

bool TCommWorker::writeWhole(const QByteArray &block) {
    const char *next = block.constData();
    size_t left = size_t(block.size());
    pollfd fds[2] = {{portFd, POLLOUT, 0}, {closeFd, POLLIN, 0}};
    while (left > 0) {
        const ssize_t n = ::write(portFd, next, left);
        if (n > 0) {
            next += n;
            left -= size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                postHangup();
                return false;
            }
            if (fds[1].revents)
                return false;
            if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
                postHangup();
                return false;
            }
            continue;
        }
        postHangup();
        return false;
    }
    return true;
}

void TCommWorker::post(TCommEvent::Kind kind) {
    std::lock_guard lock(receiveMutex);
    if (target)
        QCoreApplication::postEvent(target, new TCommEvent(kind, gen));
}

void TCommWorker::postHangup() {
    if (!hangupPosted.exchange(true))
        post(TCommEvent::Kind::Hangup);
}

void TCommWorker::threadFinished() {
    std::lock_guard lock(finishMutex);
    --running;
    finishedCv.notify_all();
}
