#pragma once

#include <QObject>
#include <QString>
#include <deque>
#include <memory>
#include <stdexcept>

class TCommWorker;

// Raised by OpenPort when the port cannot be opened or its line settings are refused.
class ECommsError : public std::runtime_error {
public:
    explicit ECommsError(const QString &text)
        : std::runtime_error(text.toStdString())
        , text(text) {}
    QString message() const { return text; }

private:
    QString text;
};

// The serial port: a termios descriptor locked against other openers (not against root), a reader
// thread and a writer thread.
// Bytes written leave in order and whole; bytes received are delivered on the thread that owns
// this object, in order, each exactly once, InputLen bytes per OnReceiveData call at the most
// (one byte per call with the default InputLen of 1).
class TComm : public QObject {
    Q_OBJECT
public:
    enum class ByteSizes { _5, _6, _7, _8 };
    enum class Parities { None, Odd, Even, Mark, Space };
    enum class StopBitsKind { _1, _1_5, _2 };
    enum class DtrControls { DtrEnable, DtrDisable, DtrHandshake };
    enum class RtsControls { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };

    explicit TComm(QObject *parent = nullptr);
    ~TComm() override;

    // A device path, or a bare name under /dev ("ttyUSB0" opens /dev/ttyUSB0).
    QString CommName() const { return commName; }
    void setCommName(const QString &name) { commName = name; }
    // Setting a new non-zero value n also sets CommName to "COM" followed by n.
    quint8 CommPort() const { return commPort; }
    void setCommPort(quint8 port);

    qint32 BaudRate() const { return baudRate; }
    void setBaudRate(qint32 rate);
    ByteSizes ByteSize() const { return byteSize; }
    void setByteSize(ByteSizes size);
    Parities Parity() const { return parity; }
    void setParity(Parities value);
    StopBitsKind StopBits() const { return stopBits; }
    void setStopBits(StopBitsKind value);
    bool ParityCheck() const { return parityCheck; }
    void setParityCheck(bool on);
    bool Outx_CtsFlow() const { return outxCtsFlow; }
    void setOutx_CtsFlow(bool on);
    bool Outx_DsrFlow() const { return outxDsrFlow; }
    void setOutx_DsrFlow(bool on);
    DtrControls DtrControl() const { return dtrControl; }
    void setDtrControl(DtrControls value);
    RtsControls RtsControl() const { return rtsControl; }
    void setRtsControl(RtsControls value);
    bool Outx_XonXoffFlow() const { return outxXonXoff; }
    void setOutx_XonXoffFlow(bool on);
    bool Inx_XonXoffFlow() const { return inxXonXoff; }
    void setInx_XonXoffFlow(bool on);
    quint16 XonLimit() const { return xonLimit; }
    void setXonLimit(quint16 value) { xonLimit = value; }
    quint16 XoffLimit() const { return xoffLimit; }
    void setXoffLimit(quint16 value) { xoffLimit = value; }
    char XonChar() const { return xonChar; }
    void setXonChar(char c);
    char XoffChar() const { return xoffChar; }
    void setXoffChar(char c);

    qint32 ReadIntervalTimeout() const { return readIntervalTimeout; }
    void setReadIntervalTimeout(qint32 ms) { readIntervalTimeout = ms; }
    qint32 ReadTotalTimeoutMultiplier() const { return readTotalTimeoutMultiplier; }
    void setReadTotalTimeoutMultiplier(qint32 ms) { readTotalTimeoutMultiplier = ms; }
    qint32 ReadTotalTimeoutConstant() const { return readTotalTimeoutConstant; }
    void setReadTotalTimeoutConstant(qint32 ms) { readTotalTimeoutConstant = ms; }
    qint32 WriteTotalTimeoutMultiplier() const { return writeTotalTimeoutMultiplier; }
    void setWriteTotalTimeoutMultiplier(qint32 ms) { writeTotalTimeoutMultiplier = ms; }
    qint32 WriteTotalTimeoutConstant() const { return writeTotalTimeoutConstant; }
    void setWriteTotalTimeoutConstant(qint32 ms) { writeTotalTimeoutConstant = ms; }

    // 0 takes the value of InBufferSize; a value above InBufferSize is refused.
    quint16 InputLen() const { return inputLen; }
    void setInputLen(quint16 value);
    // 0 is stored as 1.
    quint16 InBufferSize() const { return inBufferSize; }
    void setInBufferSize(quint16 value);

    QString PortOpenError() const { return portOpenError; }
    void setPortOpenError(const QString &text) { portOpenError = text; }
    // Why the operating system refused the last failed open, in words that name the fix
    // (PortProblem::explain); empty after a good open.
    QString OpenFailureReason() const { return openFailureReason; }

    void OpenPort();
    void ClosePort();
    // Hands a copy of the bytes to the writer thread and returns at once. False without
    // sending when the port is closed, count is 0, or the hand-over fails.
    bool WriteData(const char *bytes, quint16 count);
    bool PortOpen() const;
    void setPortOpen(bool open);
    // Which opening of the port is in use: another one after every close and open (a hang-up
    // closes), 0 while closed. What was learnt of the device holds only for the same opening.
    quint64 connection() const { return worker ? generation : 0; }
    void setOutput(const QByteArray &bytes) { WriteData(bytes.constData(), quint16(bytes.size())); }

signals:
    // The buffer belongs to the link and is valid during the call only: connect directly.
    void OnReceiveData(TComm *sender, const char *buffer, quint16 bufferLength);
    // A thread met an error it cannot handle (device unplugged, read or write failure).
    void OnRequestHangup(TComm *sender);
    void OnSendDataEmpty(TComm *sender);

protected:
    bool event(QEvent *e) override;

private:
    // Implementation members are the implementer's choice.
    QString commName = QStringLiteral("COM1");
    quint8 commPort = 1;
    qint32 baudRate = 9600;
    ByteSizes byteSize = ByteSizes::_8;
    Parities parity = Parities::None;
    StopBitsKind stopBits = StopBitsKind::_1;
    bool parityCheck = false;
    bool outxCtsFlow = false;
    bool outxDsrFlow = false;
    DtrControls dtrControl = DtrControls::DtrDisable;
    RtsControls rtsControl = RtsControls::RtsDisable;
    bool outxXonXoff = false;
    bool inxXonXoff = false;
    quint16 xonLimit = 500;
    quint16 xoffLimit = 500;
    char xonChar = 0x11;
    char xoffChar = 0x13;
    qint32 readIntervalTimeout = 100;
    qint32 readTotalTimeoutMultiplier = 0;
    qint32 readTotalTimeoutConstant = 0;
    qint32 writeTotalTimeoutMultiplier = 0;
    qint32 writeTotalTimeoutConstant = 0;
    quint16 inputLen = 1;
    quint16 inBufferSize = 2048;
    QString portOpenError;
    QString openFailureReason;

    // Sets the descriptor's line settings from the properties; false when the terminal refuses.
    bool applyLineSettings(int fd) const;
    // Re-applies the line settings to an open port after a property change.
    void lineSettingsChanged();
    [[noreturn]] void raiseOpenError(const QString &text, const QString &reason);
    void deliverReceived();

    std::shared_ptr<TCommWorker> worker;
    quint64 generation = 0;
    // Bytes taken from the reader and not yet handed to OnReceiveData. A handler that runs a
    // nested event loop delivers the rest from here, in order; the blocks stay in place until
    // the outermost delivery ends, so no handler's buffer moves under it.
    std::deque<QByteArray> rxBatches;
    size_t rxIndex = 0;
    qsizetype rxOffset = 0;
    int deliveryDepth = 0;
};
