#include "protocol/TComm.h"

#include "protocol/PortProblem.h"
#include "protocol/TCommWorker.h"

#include <QCoreApplication>
#include <QMetaMethod>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace {

// How long ClosePort waits for each thread before leaving it behind.
constexpr int ThreadStopLimitMs = 10000;

speed_t speedFor(qint32 rate) {
    struct Rate {
        qint32 bps;
        speed_t code;
    };
    static constexpr Rate rates[] = {
        {50, B50},           {75, B75},           {110, B110},         {134, B134},
        {150, B150},         {200, B200},         {300, B300},         {600, B600},
        {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
        {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
        {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
        {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
        {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
        {3500000, B3500000}, {4000000, B4000000},
    };
    for (const Rate &r : rates) {
        if (r.bps == rate)
            return r.code;
    }
    return B0;
}

void closeAll(std::initializer_list<int> fds) {
    for (int fd : fds) {
        if (fd >= 0)
            ::close(fd);
    }
}

} // namespace

TComm::TComm(QObject *parent)
    : QObject(parent) {}

TComm::~TComm() {
    ClosePort();
}

void TComm::setCommPort(quint8 port) {
    if (port == commPort)
        return;
    commPort = port;
    if (port != 0)
        commName = QStringLiteral("COM%1").arg(port);
}

void TComm::setBaudRate(qint32 rate) {
    baudRate = rate;
    lineSettingsChanged();
}

void TComm::setByteSize(ByteSizes size) {
    byteSize = size;
    lineSettingsChanged();
}

void TComm::setParity(Parities value) {
    parity = value;
    lineSettingsChanged();
}

void TComm::setStopBits(StopBitsKind value) {
    stopBits = value;
    lineSettingsChanged();
}

void TComm::setParityCheck(bool on) {
    parityCheck = on;
    lineSettingsChanged();
}

void TComm::setOutx_CtsFlow(bool on) {
    outxCtsFlow = on;
    lineSettingsChanged();
}

void TComm::setOutx_DsrFlow(bool on) {
    outxDsrFlow = on;
    lineSettingsChanged();
}

void TComm::setDtrControl(DtrControls value) {
    dtrControl = value;
    lineSettingsChanged();
}

void TComm::setRtsControl(RtsControls value) {
    rtsControl = value;
    lineSettingsChanged();
}

void TComm::setOutx_XonXoffFlow(bool on) {
    outxXonXoff = on;
    lineSettingsChanged();
}

void TComm::setInx_XonXoffFlow(bool on) {
    inxXonXoff = on;
    lineSettingsChanged();
}

void TComm::setXonChar(char c) {
    xonChar = c;
    lineSettingsChanged();
}

void TComm::setXoffChar(char c) {
    xoffChar = c;
    lineSettingsChanged();
}

void TComm::setInputLen(quint16 value) {
    if (value == 0)
        value = inBufferSize;
    if (value > inBufferSize)
        return;
    inputLen = value;
}

void TComm::setInBufferSize(quint16 value) {
    inBufferSize = std::max<quint16>(value, 1);
}

void TComm::lineSettingsChanged() {
    if (worker)
        applyLineSettings(worker->fd());
}

bool TComm::applyLineSettings(int fd) const {
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return false;
    ::cfmakeraw(&t);
    static constexpr tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD | sizes[int(byteSize)];
    switch (parity) {
    case Parities::None:
        break;
    case Parities::Odd:
        t.c_cflag |= PARENB | PARODD;
        break;
    case Parities::Even:
        t.c_cflag |= PARENB;
        break;
    case Parities::Mark:
        t.c_cflag |= PARENB | PARODD | CMSPAR;
        break;
    case Parities::Space:
        t.c_cflag |= PARENB | CMSPAR;
        break;
    }
    // The line has no one-and-a-half stop bits of its own; two is the nearest.
    if (stopBits != StopBitsKind::_1)
        t.c_cflag |= CSTOPB;
    if (outxCtsFlow || rtsControl == RtsControls::RtsHandshake)
        t.c_cflag |= CRTSCTS;
    t.c_iflag &= ~tcflag_t(INPCK | IXON | IXOFF | IXANY);
    if (parityCheck)
        t.c_iflag |= INPCK;
    if (outxXonXoff)
        t.c_iflag |= IXON;
    if (inxXonXoff)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = cc_t(xonChar);
    t.c_cc[VSTOP] = cc_t(xoffChar);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    const speed_t speed = speedFor(baudRate);
    if (speed == B0) {
        errno = EINVAL;
        return false;
    }
    if (::cfsetispeed(&t, speed) != 0 || ::cfsetospeed(&t, speed) != 0)
        return false;
    if (::tcsetattr(fd, TCSANOW, &t) != 0)
        return false;
    // A pseudo-terminal has no modem lines, so these may fail harmlessly.
    int dtr = TIOCM_DTR;
    ::ioctl(fd, dtrControl == DtrControls::DtrDisable ? TIOCMBIC : TIOCMBIS, &dtr);
    int rts = TIOCM_RTS;
    if (rtsControl == RtsControls::RtsEnable)
        ::ioctl(fd, TIOCMBIS, &rts);
    else if (rtsControl == RtsControls::RtsDisable)
        ::ioctl(fd, TIOCMBIC, &rts);
    return true;
}

void TComm::raiseOpenError(const QString &text, const QString &reason) {
    portOpenError = text;
    openFailureReason = reason;
    throw ECommsError(text);
}

void TComm::OpenPort() {
    portOpenError.clear();
    if (worker) {
        portOpenError = QStringLiteral("This serial port already opened");
        return;
    }
    openFailureReason.clear();
    const QString path =
        commName.contains(QLatin1Char('/')) ? commName : QStringLiteral("/dev/") + commName;
    const int fd =
        ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        raiseOpenError(QStringLiteral("Error opening serial port"),
                       PortProblem::explain(error, path));
    }
    if (!::isatty(fd)) {
        ::close(fd);
        portOpenError = QStringLiteral("File handle is not a comm handle ");
        openFailureReason = QStringLiteral("%1 is not a serial port").arg(path);
        return;
    }
    // Two locks, neither absolute: TIOCEXCL refuses further opens of the tty, but not to root
    // (CAP_SYS_ADMIN); flock binds only programs that take the lock too (a second copy of this
    // tool, most terminal programs), not one that opens the port without locking.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        const int error = errno;
        ::close(fd);
        raiseOpenError(QStringLiteral("Error opening serial port"),
                       PortProblem::explain(error, path));
    }
    if (!applyLineSettings(fd)) {
        const int error = errno;
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
        raiseOpenError(QStringLiteral("Cannot setup comm buffer"),
                       PortProblem::explain(error, path));
    }
    ::tcflush(fd, TCIOFLUSH);

    const int closeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    const int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (closeFd < 0 || wakeFd < 0) {
        const int error = errno;
        openFailureReason = PortProblem::explain(error, path);
        ::ioctl(fd, TIOCNXCL);
        closeAll({fd, closeFd, wakeFd});
        portOpenError = QStringLiteral("Unable to create event");
        return;
    }
    auto opened = std::make_shared<TCommWorker>(fd, closeFd, wakeFd, this, ++generation);
    bool readerStarted = false;
    try {
        opened->start(inBufferSize, readerStarted);
    } catch (const std::system_error &e) {
        portOpenError = readerStarted ? QStringLiteral("Unable to create write thread")
                                      : QStringLiteral("Unable to create read thread");
        openFailureReason = QString::fromLocal8Bit(e.what());
        return;
    }
    worker = std::move(opened);
}

void TComm::ClosePort() {
    portOpenError.clear();
    if (!worker)
        return;
    worker->stop(ThreadStopLimitMs);
    worker.reset();
    // Bytes not handed out yet belong to the closed port.
    if (deliveryDepth > 0) {
        rxIndex = rxBatches.size();
        rxOffset = 0;
    } else {
        rxBatches.clear();
    }
}

bool TComm::WriteData(const char *bytes, quint16 count) {
    if (!worker || count == 0)
        return false;
    const TCommWorker::WriteResult result = worker->write(bytes, count);
    // Written at once: the output is empty again, told as the writer would tell it, but only
    // to a listener (a posted event per request would wake the main thread for nothing).
    if (result == TCommWorker::WriteResult::Written &&
        isSignalConnected(QMetaMethod::fromSignal(&TComm::OnSendDataEmpty)))
        QCoreApplication::postEvent(
            this, new TCommEvent(TCommEvent::Kind::SendDataEmpty, worker->generation()));
    return result != TCommWorker::WriteResult::Refused;
}

bool TComm::PortOpen() const {
    return worker != nullptr;
}

void TComm::setPortOpen(bool open) {
    if (open)
        OpenPort();
    else
        ClosePort();
}

bool TComm::event(QEvent *e) {
    if (e->type() != TCommEvent::eventType())
        return QObject::event(e);
    const auto *notice = static_cast<TCommEvent *>(e);
    const bool current = worker && worker->generation() == notice->generation();
    switch (notice->kind()) {
    case TCommEvent::Kind::Received:
        deliverReceived();
        break;
    case TCommEvent::Kind::Hangup:
        if (current)
            emit OnRequestHangup(this);
        break;
    case TCommEvent::Kind::SendDataEmpty:
        if (current)
            emit OnSendDataEmpty(this);
        break;
    }
    return true;
}

void TComm::deliverReceived() {
    if (!worker)
        return;
    QByteArray batch;
    worker->takeReceived(batch);
    if (!batch.isEmpty())
        rxBatches.push_back(std::move(batch));
    ++deliveryDepth;
    while (rxIndex < rxBatches.size()) {
        const QByteArray &block = rxBatches[rxIndex];
        if (rxOffset >= block.size()) {
            ++rxIndex;
            rxOffset = 0;
            continue;
        }
        const qsizetype step = std::min<qsizetype>(inputLen, block.size() - rxOffset);
        const char *bytes = block.constData() + rxOffset;
        rxOffset += step;
        emit OnReceiveData(this, bytes, quint16(step));
    }
    if (--deliveryDepth == 0) {
        rxBatches.clear();
        rxIndex = 0;
        rxOffset = 0;
    }
}
