#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// A bare client on the device's terminal: open, raw termios, read and write, nothing more.
class PtyClient {
public:
    explicit PtyClient(const QString &path);
    ~PtyClient();
    PtyClient(const PtyClient &) = delete;
    PtyClient &operator=(const PtyClient &) = delete;

    bool isOpen() const { return fd >= 0; }
    bool open();
    void close();

    bool send(const QByteArray &bytes);
    // Reads until count bytes are in, or until nothing more comes for quietMs.
    QByteArray read(int count, int quietMs = 3000);
    // Waits up to firstMs for a first byte, then reads until count bytes are in or nothing more
    // comes for quietMs: for replies of unknown length.
    QByteArray readBurst(int count, int quietMs, int firstMs = 3000);
    // Reads one frame: skips bytes up to a start byte, then reads by the length field. Bytes
    // before the start byte go to skipped. Empty when no whole frame comes within quietMs.
    QByteArray readFrame(int quietMs = 3000, QByteArray *skipped = nullptr);
    // True when the device's end goes away within waitMs, as an unplugged adapter does.
    bool seesHangUp(int waitMs = 3000);
    // Sends a request frame and reads the reply frame.
    QByteArray exchange(uint8_t command, int address, const QByteArray &data = {},
                        int quietMs = 3000);

    static QByteArray frame(uint8_t command, int address, const QByteArray &data = {});

private:
    QString path;
    int fd = -1;
};

// The parts of a reply frame, checked with the protocol's own reassembler.
struct ReplyFrame {
    bool good = false; // complete with a matching checksum
    int command = -1;
    int address = -1;
    QByteArray data;

    static ReplyFrame parse(const QByteArray &frame);
};
