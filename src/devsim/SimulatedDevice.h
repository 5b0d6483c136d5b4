#pragma once

#include "DeviceFaults.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>

struct DeviceRequest;

// One good request frame as the device saw it.
struct LoggedRequest {
    uint8_t command = 0;
    int address = 0;
    bool operator==(const LoggedRequest &) const = default;
};

struct DeviceOptions {
    QString imagePath;            // empty: the memory lives only as long as the device
    int historyCount = 0;         // sample history records in a fresh memory
    QByteArray password = "7482"; // the 4 characters a fresh memory starts with
    DeviceFaults faults;
};

// A GSM relay controller on a pseudo-terminal. It serves the device protocol on its own thread
// from a memory image of 0x0000..0x4F3FF, independent of any event loop, until destroyed or
// hung up.
//
// Requests and answers (replies carry the request's command and address):
//   0x83 read   the 256 bytes at the address; a page not wholly inside the memory gets no reply
//   0x82 write  stores the 256 data bytes at the address and answers data byte 1; a write that
//               is not 256 bytes or not wholly inside the memory is refused with data byte 0
//   3 time      keeps the 6 time bytes and answers 1 (another data length is refused with 0)
//   4 checking  answers 1
//   0x85 erase  erases the history area (0x30000 up) to 0xFF and answers 1
// Any other command, and a request with a bad checksum, gets no reply. Every good request is
// kept in a log (command and address).
class SimulatedDevice {
public:
    // Opens the terminal and starts serving. Throws std::runtime_error with a readable message
    // when the options are invalid, the terminal cannot be opened, or the image file cannot be
    // read or created.
    explicit SimulatedDevice(const DeviceOptions &options = {});
    ~SimulatedDevice();
    SimulatedDevice(const SimulatedDevice &) = delete;
    SimulatedDevice &operator=(const SimulatedDevice &) = delete;

    // The terminal the tool opens.
    QString slavePath() const { return path; }

    DeviceFaults faults() const;
    void setFaults(const DeviceFaults &faults);

    QByteArray memory() const;
    QByteArray memoryRange(int address, int size) const;
    // Puts bytes into the memory as if the device had stored them; false when they do not fit.
    bool writeMemory(int address, const QByteArray &bytes);
    // Good request frames received so far.
    int requestCount() const;
    // The last good request frame, start byte to checksum.
    QByteArray lastRequest() const;
    // Every good request so far, in the order it came.
    QList<LoggedRequest> requestLog() const;
    // The 6 bytes of the last accepted time synchronisation.
    QByteArray lastTimeBytes() const;

    // Puts bytes on the line at once, outside any reply. False once the device has hung up.
    bool sendRaw(const QByteArray &bytes);
    // Vanishes as an unplugged adapter does: stops serving and closes the terminal, so that the
    // tool's end sees a hang-up. Nothing is served afterwards; a new device is the one plugged
    // in again. Called from the thread that owns the device, as the destructor is.
    void hangUp();

private:
    using Clock = std::chrono::steady_clock;

    void openTerminal();
    void stopServing();
    void closeTerminal();
    void serve();
    // False when the request hung the device up.
    bool handleRequest(const DeviceRequest &request, Clock::time_point arrived);
    std::optional<QByteArray> replyBytes(const DeviceRequest &request, int number,
                                         const DeviceFaults &faults);
    std::optional<QByteArray> answer(const DeviceRequest &request, bool refuse, bool forget);
    void persist();
    void send(const QByteArray &bytes, const DeviceFaults &faults, Clock::time_point arrived);
    bool writeAll(const char *data, qsizetype size);
    // False when the device is told to stop, or (with orRequest) when the tool sends again.
    bool waitUntil(Clock::time_point deadline, bool orRequest = false);
    void sendChatter();

    QString path;
    QString imagePath;
    // The terminal's ends change only under lineLock, once the worker runs.
    std::mutex lineLock;
    int masterFd = -1;
    int slaveFd = -1; // kept open so that the tool may close and reopen without a hang-up
    int stopFd = -1;
    // When each direction of the paced line is free again; the worker's own.
    Clock::time_point requestLineFreeAt{};
    Clock::time_point replyLineFreeAt{};
    // What the line carries instead of a reply until the next request: 0x23, any other byte for
    // noise, or nothing.
    std::optional<char> chatter;

    mutable std::mutex stateLock;
    QByteArray image;
    DeviceFaults activeFaults;
    int requests = 0;
    QByteArray lastRequestBytes;
    QList<LoggedRequest> log;
    QByteArray timeBytes;

    std::thread worker;
};
