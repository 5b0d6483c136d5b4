#include "PtyClient.h"

#include "FrameBytes.h"
#include "protocol/TDataPackage.h"
#include "protocol/TRecData.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

PtyClient::PtyClient(const QString &path)
    : path(path) {
    open();
}

PtyClient::~PtyClient() {
    close();
}

bool PtyClient::open() {
    close();
    fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::cfsetspeed(&tio, B115200);
    ::tcsetattr(fd, TCSANOW, &tio);
    return true;
}

void PtyClient::close() {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

bool PtyClient::send(const QByteArray &bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QByteArray PtyClient::read(int count, int quietMs) {
    QByteArray bytes;
    while (bytes.size() < count) {
        pollfd p{fd, POLLIN, 0};
        const int r = ::poll(&p, 1, quietMs);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            break;
        char buffer[512];
        const ssize_t n = ::read(fd, buffer, std::min<size_t>(sizeof buffer, count - bytes.size()));
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    return bytes;
}

QByteArray PtyClient::readBurst(int count, int quietMs, int firstMs) {
    const QByteArray first = read(1, firstMs);
    return first.isEmpty() ? first : first + read(count - 1, quietMs);
}

QByteArray PtyClient::readFrame(int quietMs, QByteArray *skipped) {
    for (;;) {
        const QByteArray b = read(1, quietMs);
        if (b.isEmpty())
            return {};
        if (b[0] == char(TDataPackage::StartByte))
            break;
        if (skipped)
            skipped->append(b);
    }
    QByteArray frame(1, char(TDataPackage::StartByte));
    frame += read(7, quietMs);
    if (frame.size() < 8)
        return {};
    const int n = (uint8_t(frame[6]) << 8) | uint8_t(frame[7]);
    frame += read(n + 1, quietMs);
    return frame.size() == n + 9 ? frame : QByteArray();
}

bool PtyClient::seesHangUp(int waitMs) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, waitMs) == 1 && (p.revents & POLLHUP) != 0;
}

QByteArray PtyClient::exchange(uint8_t command, int address, const QByteArray &data, int quietMs) {
    if (!send(frame(command, address, data)))
        return {};
    return readFrame(quietMs);
}

QByteArray PtyClient::frame(uint8_t command, int address, const QByteArray &data) {
    return frameBytes(command, address, data);
}

ReplyFrame ReplyFrame::parse(const QByteArray &frame) {
    ReplyFrame reply;
    TRecData r;
    for (char c : frame) {
        switch (r.feed(uint8_t(c))) {
        case TRecData::Feed::Complete:
            reply.good = true;
            reply.command = r.command;
            reply.address = r.frameAddress();
            reply.data = QByteArray(reinterpret_cast<const char *>(r.data), r.dataLength());
            return reply;
        case TRecData::Feed::BadChecksum:
            return reply;
        default:
            break;
        }
    }
    return reply;
}
