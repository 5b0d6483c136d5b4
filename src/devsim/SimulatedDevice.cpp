#include "SimulatedDevice.h"

#include "DeviceFrames.h"
#include "DeviceMemoryMap.h"
#include "FactoryImage.h"
#include "ImageFile.h"

#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

using namespace DeviceMemoryMap;
using namespace DeviceCommand;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int TimeBytes = 6;

// 115200 baud with a start and a stop bit: 10 bits per byte.
constexpr long long BitsPerSecond = 115200;
constexpr long long BitsPerByte = 10;
// Paced bytes go out in small pieces so that the tool sees a steady trickle, as from a UART.
constexpr int PacedChunk = 8;
// Noise or a flood goes out in pieces of this many bytes, this far apart.
constexpr int ChatterChunk = 8;
constexpr int ChatterEveryMs = 5;
constexpr char FloodByte = 0x23;

Clock::duration wireTime(qsizetype bytes) {
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::nanoseconds(bytes * BitsPerByte * 1'000'000'000LL / BitsPerSecond));
}

// From request `from` on (counting from 1); 0 or less never.
bool fromRequest(int from, int request) {
    return from > 0 && request >= from;
}

bool inImage(int address, int size) {
    return address >= 0 && address <= ImageSize - size;
}

QByteArray acknowledge(bool accepted) {
    return QByteArray(1, accepted ? char(1) : char(0));
}

// Line noise: any bytes but the start byte, which would open a frame.
QByteArray garbageBytes(int count) {
    static constexpr char Noise[] = {'\x00', '\x55', '\xAA', '\xFF',
                                     '\x0D', '\x0A', '\x7E', '\x24'};
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += Noise[i % int(sizeof Noise)];
    return bytes;
}

[[noreturn]] void fail(const char *what) {
    throw std::runtime_error(std::string(what) + ": " + strerror(errno));
}

} // namespace

SimulatedDevice::SimulatedDevice(const DeviceOptions &options)
    : imagePath(options.imagePath)
    , activeFaults(options.faults) {
    if (options.password.size() != PasswordSize)
        throw std::runtime_error("The password must be 4 characters long");
    if (options.historyCount < 0 || options.historyCount > HistoryRecordCount)
        throw std::runtime_error("The history holds 0 to " + std::to_string(HistoryRecordCount) +
                                 " records");

    if (!imagePath.isEmpty() && QFileInfo::exists(imagePath)) {
        Result<QByteArray> loaded = ImageFile::load(imagePath, ImageSize);
        if (!loaded)
            throw std::runtime_error(loaded.reason().toStdString());
        image = std::move(loaded).value();
    } else {
        image = FactoryImage::build(options.password, options.historyCount);
        if (!imagePath.isEmpty()) {
            if (const Result<void> saved = ImageFile::save(imagePath, image); !saved)
                throw std::runtime_error(saved.reason().toStdString());
        }
    }

    try {
        openTerminal();
    } catch (...) {
        for (int fd : {masterFd, slaveFd, stopFd})
            if (fd >= 0)
                ::close(fd);
        throw;
    }
    worker = std::thread([this] { serve(); });
}

SimulatedDevice::~SimulatedDevice() {
    hangUp();
    ::close(stopFd);
}

void SimulatedDevice::hangUp() {
    stopServing();
    closeTerminal();
}

void SimulatedDevice::stopServing() {
    const uint64_t one = 1;
    if (::write(stopFd, &one, sizeof one) != sizeof one)
        std::perror("velmora-devsim: stop signal");
    if (worker.joinable())
        worker.join();
}

// Closing the master is what the tool notices; the kept slave goes too, so that nothing of the
// terminal stays behind and a device plugged in again may get the same name, as an adapter does.
void SimulatedDevice::closeTerminal() {
    std::lock_guard guard(lineLock);
    for (int *fd : {&masterFd, &slaveFd}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void SimulatedDevice::openTerminal() {
    masterFd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (masterFd < 0)
        fail("Cannot open a pseudo-terminal");
    ::fcntl(masterFd, F_SETFD, FD_CLOEXEC);
    if (::grantpt(masterFd) != 0 || ::unlockpt(masterFd) != 0)
        fail("Cannot unlock the pseudo-terminal");
    char name[128];
    if (::ptsname_r(masterFd, name, sizeof name) != 0)
        fail("Cannot name the pseudo-terminal");
    path = QString::fromLocal8Bit(name);

    slaveFd = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveFd < 0)
        fail("Cannot open the pseudo-terminal's slave side");
    termios tio{};
    if (::tcgetattr(slaveFd, &tio) != 0)
        fail("Cannot read the terminal settings");
    ::cfmakeraw(&tio);
    ::cfsetspeed(&tio, B115200);
    if (::tcsetattr(slaveFd, TCSANOW, &tio) != 0)
        fail("Cannot set the terminal to raw mode");

    // Writes must never block the thread beyond the reach of the stop signal.
    ::fcntl(masterFd, F_SETFL, ::fcntl(masterFd, F_GETFL) | O_NONBLOCK);
    stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd < 0)
        fail("Cannot create the stop signal");
}

DeviceFaults SimulatedDevice::faults() const {
    std::lock_guard guard(stateLock);
    return activeFaults;
}

void SimulatedDevice::setFaults(const DeviceFaults &faults) {
    std::lock_guard guard(stateLock);
    activeFaults = faults;
}

QByteArray SimulatedDevice::memory() const {
    std::lock_guard guard(stateLock);
    return image;
}

QByteArray SimulatedDevice::memoryRange(int address, int size) const {
    std::lock_guard guard(stateLock);
    if (size < 0 || !inImage(address, size))
        return {};
    return image.mid(address, size);
}

bool SimulatedDevice::writeMemory(int address, const QByteArray &bytes) {
    std::lock_guard guard(stateLock);
    if (!inImage(address, int(bytes.size())))
        return false;
    image.replace(address, bytes.size(), bytes);
    persist();
    return true;
}

int SimulatedDevice::requestCount() const {
    std::lock_guard guard(stateLock);
    return requests;
}

QByteArray SimulatedDevice::lastRequest() const {
    std::lock_guard guard(stateLock);
    return lastRequestBytes;
}

QList<LoggedRequest> SimulatedDevice::requestLog() const {
    std::lock_guard guard(stateLock);
    return log;
}

QByteArray SimulatedDevice::lastTimeBytes() const {
    std::lock_guard guard(stateLock);
    return timeBytes;
}

bool SimulatedDevice::sendRaw(const QByteArray &bytes) {
    std::lock_guard guard(lineLock);
    return masterFd >= 0 && writeAll(bytes.constData(), bytes.size());
}

void SimulatedDevice::serve() {
    // Paced bytes are due at exact times; the default 50 us of timer slack would show up as
    // a late last byte on every reply.
    ::prctl(PR_SET_TIMERSLACK, 1UL);
    RequestReader reader;
    char buffer[4096];
    pollfd fds[2] = {{masterFd, POLLIN, 0}, {stopFd, POLLIN, 0}};
    for (;;) {
        const int ready = ::poll(fds, 2, chatter ? ChatterEveryMs : -1);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            std::perror("velmora-devsim: poll");
            return;
        }
        if (fds[1].revents != 0)
            return;
        if (ready == 0) {
            sendChatter();
            continue;
        }
        chatter.reset();
        const ssize_t n = (fds[0].revents & POLLIN) ? ::read(masterFd, buffer, sizeof buffer) : 0;
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0) {
            // The slave side is held open here, so a hang-up or an error is not expected; should
            // one come, back off instead of spinning on it.
            if (!waitUntil(Clock::now() + std::chrono::milliseconds(20)))
                return;
            continue;
        }
        // Paced, the bytes just read cross the line one after the other, from when they came or
        // when the line was free; a request is seen once its last byte is in.
        const Clock::time_point readAt = Clock::now();
        const bool paced = faults().paced;
        const Clock::time_point lineStart = paced ? std::max(readAt, requestLineFreeAt) : readAt;
        for (ssize_t i = 0; i < n; ++i) {
            if (!reader.take(buffer[i]))
                continue;
            const Clock::time_point arrived = paced ? lineStart + wireTime(i + 1) : readAt;
            if (!waitUntil(arrived) || !handleRequest(reader.request(), arrived))
                return;
        }
        if (paced)
            requestLineFreeAt = lineStart + wireTime(n);
    }
}

bool SimulatedDevice::handleRequest(const DeviceRequest &request, Clock::time_point arrived) {
    int number = 0;
    DeviceFaults faults;
    std::optional<QByteArray> bytes;
    {
        std::lock_guard guard(stateLock);
        number = ++requests;
        lastRequestBytes = request.frame;
        log.append({request.command, int(request.address)});
        faults = activeFaults;
        if (faults.onlyAt > 0 && number != faults.onlyAt)
            faults = DeviceFaults{.hangUpAt = faults.hangUpAt, .paced = faults.paced};
        if (fromRequest(faults.floodFrom, number))
            chatter = FloodByte;
        else if (fromRequest(faults.noiseFrom, number))
            chatter = '\0';
        if (number != faults.hangUpAt)
            bytes = replyBytes(request, number, faults);
    }
    if (number == faults.hangUpAt) {
        closeTerminal();
        return false;
    }
    if (bytes)
        send(*bytes, faults, arrived);
    return true;
}

// Called with the state locked: what goes on the line for request `number`, faults and all.
std::optional<QByteArray> SimulatedDevice::replyBytes(const DeviceRequest &request, int number,
                                                      const DeviceFaults &faults) {
    // A device that has gone silent, or chatters instead, does nothing at all.
    if (fromRequest(faults.noReplyFrom, number) || chatter)
        return std::nullopt;
    std::optional<QByteArray> data = answer(request, fromRequest(faults.nakFrom, number),
                                            fromRequest(faults.forgetWritesFrom, number));
    if (!data)
        return std::nullopt;
    if (fromRequest(faults.shortDataFrom, number))
        data->truncate(std::max(0, faults.shortDataLength));
    QByteArray frame = replyFrame(request.command, request.address, *data);
    if (fromRequest(faults.badChecksumFrom, number))
        frame.back() = char(frame.back() ^ 0xFF);
    if (faults.cutAfter > 0)
        frame.truncate(faults.cutAfter);
    QByteArray bytes = garbageBytes(faults.garbage) + frame;
    if (fromRequest(faults.duplicateFrom, number))
        bytes += frame;
    return bytes;
}

std::optional<QByteArray> SimulatedDevice::answer(const DeviceRequest &request, bool refuse,
                                                  bool forget) {
    const int address = int(request.address);
    const qsizetype length = request.data.size();
    switch (request.command) {
    case ReadPage:
        if (!inImage(address, PageSize))
            return std::nullopt;
        return image.mid(address, PageSize);
    case WritePage:
        if (refuse || length != PageSize || !inImage(address, PageSize))
            return acknowledge(false);
        if (forget)
            return acknowledge(true);
        image.replace(address, PageSize, request.data);
        persist();
        return acknowledge(true);
    case TimeSync:
        if (refuse || length != TimeBytes)
            return acknowledge(false);
        timeBytes = request.data;
        return acknowledge(true);
    case CheckingMode:
        return acknowledge(!refuse);
    case DeleteHistory:
        if (refuse)
            return acknowledge(false);
        image.replace(HistoryStart, ImageSize - HistoryStart,
                      QByteArray(ImageSize - HistoryStart, char(0xFF)));
        persist();
        return acknowledge(true);
    default:
        return std::nullopt;
    }
}

// Called with the state locked, so the file always matches the memory a reply reports.
void SimulatedDevice::persist() {
    if (imagePath.isEmpty())
        return;
    if (const Result<void> saved = ImageFile::save(imagePath, image); !saved)
        std::fprintf(stderr, "velmora-devsim: %s\n", qPrintable(saved.reason()));
}

void SimulatedDevice::send(const QByteArray &bytes, const DeviceFaults &faults,
                           Clock::time_point arrived) {
    const Clock::time_point due = arrived + std::chrono::milliseconds(faults.delayMs);
    if (faults.dribbleMs > 0) {
        for (qsizetype i = 0; i < bytes.size(); ++i)
            if (!waitUntil(due + i * std::chrono::milliseconds(faults.dribbleMs), true) ||
                !writeAll(bytes.constData() + i, 1))
                return;
        return;
    }
    if (!faults.paced) {
        if (waitUntil(due))
            writeAll(bytes.constData(), bytes.size());
        return;
    }
    // Each byte is due when its last bit has crossed the wire, counted from when the request was
    // in or the line is free. Sleeping to absolute times keeps the small oversleeps from adding up.
    const Clock::time_point start = std::max(due, replyLineFreeAt);
    for (qsizetype sent = 0; sent < bytes.size();) {
        const qsizetype chunk = std::min<qsizetype>(PacedChunk, bytes.size() - sent);
        if (!waitUntil(start + wireTime(sent + chunk)) ||
            !writeAll(bytes.constData() + sent, chunk))
            return;
        sent += chunk;
    }
    replyLineFreeAt = start + wireTime(bytes.size());
}

bool SimulatedDevice::writeAll(const char *data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(masterFd, data, size_t(size));
        if (n > 0) {
            data += n;
            size -= n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return false;
        // The tool is not reading and the terminal's queue is full: wait for room or the stop.
        pollfd fds[2] = {{masterFd, POLLOUT, 0}, {stopFd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return false;
        if (fds[1].revents != 0)
            return false;
    }
    return true;
}

void SimulatedDevice::sendChatter() {
    const QByteArray bytes =
        *chatter == FloodByte ? QByteArray(ChatterChunk, FloodByte) : garbageBytes(ChatterChunk);
    writeAll(bytes.constData(), bytes.size());
}

bool SimulatedDevice::waitUntil(Clock::time_point deadline, bool orRequest) {
    pollfd fds[2] = {{stopFd, POLLIN, 0}, {masterFd, POLLIN, 0}};
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (now >= deadline)
            return true;
        const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - now);
        const timespec timeout{time_t(left.count() / 1'000'000'000),
                               long(left.count() % 1'000'000'000)};
        const int r = ::ppoll(fds, orRequest ? 2 : 1, &timeout, nullptr);
        if (r > 0)
            return false;
        if (r < 0 && errno != EINTR)
            return false;
    }
}
