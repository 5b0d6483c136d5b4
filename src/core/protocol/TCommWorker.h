#pragma once

#include <QByteArray>
#include <QEvent>
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

// The events the link's threads post to the TComm object that owns them.
class TCommEvent : public QEvent {
public:
    enum class Kind { Received, Hangup, SendDataEmpty };

    TCommEvent(Kind kind, quint64 generation);
    Kind kind() const { return what; }
    quint64 generation() const { return gen; }
    static QEvent::Type eventType();

private:
    Kind what;
    quint64 gen;
};

// One open port: its descriptor, the close signal, the reader and writer threads and the two
// hand-over queues. The threads share ownership so that a thread that outlives the close time
// limit never touches freed memory; the descriptors close with the last owner.
class TCommWorker : public std::enable_shared_from_this<TCommWorker> {
public:
    TCommWorker(int fd, int closeFd, int wakeFd, QObject *target, quint64 generation);
    ~TCommWorker();
    TCommWorker(const TCommWorker &) = delete;
    TCommWorker &operator=(const TCommWorker &) = delete;

    int fd() const { return portFd; }
    quint64 generation() const { return gen; }

    // Starts the reader, then the writer. Throws std::system_error when a thread cannot start;
    // the reader is then stopped again. `readerStarted` tells which one failed.
    void start(int readSize, bool &readerStarted);
    // Signals both threads to end and waits for them up to `limitMs`; a thread still running
    // then is left to end on its own and never posts again.
    void stop(int limitMs);

    enum class WriteResult { Refused, Queued, Written };
    // Writes the bytes at once when the writer has nothing in hand and the line takes them all
    // (a request of a few bytes nearly always does), which spares a hand-over to the writer
    // thread per request; otherwise queues what is left for the writer. Refused once the writer
    // has ended.
    WriteResult write(const char *bytes, int count);
    // Moves everything received so far into `out`; the next arrival posts a new event.
    void takeReceived(QByteArray &out);
    // True while the writer has nothing left to write.
    bool sendDataEmpty() const { return sendEmpty.load(); }

private:
    void readLoop(int readSize);
    void writeLoop();
    bool writeWhole(const QByteArray &block);
    void post(TCommEvent::Kind kind);
    void postHangup();
    void threadFinished();

    const int portFd;
    const int closeFd;
    const int wakeFd;
    const quint64 gen;

    std::mutex receiveMutex; // guards received, receivePosted and target
    QByteArray received;
    bool receivePosted = false;
    QObject *target;

    std::mutex sendMutex; // guards outgoing and writing, and orders the writes on the line
    std::deque<QByteArray> outgoing;
    bool writing = false; // the writer holds blocks it has not finished writing
    std::atomic<bool> sendEmpty{true};
    std::atomic<bool> writerAlive{false};
    std::atomic<bool> hangupPosted{false};

    std::mutex finishMutex;
    std::condition_variable finishedCv;
    int running = 0;
    std::thread reader;
    std::thread writer;
};
