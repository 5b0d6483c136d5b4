#include "Hex.h"
#include "ProtocolHarness.h"
#include "protocol/FrameTrace.h"

#include <QTest>

namespace {

using Verdict = FrameVerdict;

const QTime at(12, 30, 45, 123);

} // namespace

class TestFrameTrace : public QObject {
    Q_OBJECT
private slots:
    void sentLines_data() {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QString>("line");
        QTest::newRow("read") << hex("23 83 00 00 10 00 00 00 93")
                              << "12:30:45.123 → 83 read 0x001000  23 83 00 00 10 00 00 00 93";
        QTest::newRow("time sync") << hex("23 03 00 00 00 00 00 06 18 05 11 0c 1e 2d 36")
                                   << "12:30:45.123 → 03 time sync 0x000000 6 bytes  "
                                      "23 03 00 00 00 00 00 06 18 05 11 0c 1e 2d 36";
    }
    void sentLines() {
        QFETCH(QByteArray, frame);
        QFETCH(QString, line);
        QCOMPARE(FrameTrace::sentLine(at, frame), line);
    }

    void receivedLines_data() {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("verdict");
        QTest::addColumn<QString>("line");
        QTest::newRow("write reply") << hex("23 82 00 00 10 00 00 01 01 92") << int(Verdict::Ok)
                                     << "12:30:45.123 ← 82 0x001000 1 byte ok  "
                                        "23 82 00 00 10 00 00 01 01 92";
        QTest::newRow("bad checksum")
            << hex("23 04 00 00 00 00 00 01 01 00") << int(Verdict::BadChecksum)
            << "12:30:45.123 ← 04 0x000000 1 byte bad checksum  23 04 00 00 00 00 00 01 01 00";
        QTest::newRow("undefined") << hex("23 99 00 00 00 00 00 00 99") << int(Verdict::Undefined)
                                   << "12:30:45.123 ← 99 0x000000 0 bytes undefined  "
                                      "23 99 00 00 00 00 00 00 99";
        QTest::newRow("invalid data")
            << hex("23 83 00 00 10 00 00 02 aa bb 80") << int(Verdict::InvalidData)
            << "12:30:45.123 ← 83 0x001000 2 bytes invalid data  23 83 00 00 10 00 00 02 aa bb 80";
    }
    void receivedLines() {
        QFETCH(QByteArray, frame);
        QFETCH(int, verdict);
        QFETCH(QString, line);
        QCOMPARE(FrameTrace::receivedLine(at, frame, Verdict(verdict)), line);
    }

    // What the receive path makes of each frame that follows a request.
    void receivePathReportsEveryFrame_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("address");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("events");
        const QString request = "sent 23 04 00 00 00 00 00 00 04";
        QTest::newRow("the reply, after noise")
            << 0x04 << 0 << hex("55 23 04 00 00 00 00 00 01 01 04")
            << QStringList{request, "received 0 23 04 00 00 00 00 00 01 01 04"};
        QTest::newRow("bad checksum")
            << 0x04 << 0 << hex("23 04 00 00 00 00 00 01 01 05")
            << QStringList{request, "received 1 23 04 00 00 00 00 00 01 01 05"};
        QTest::newRow("another address")
            << 0x04 << 0 << hex("23 04 00 00 00 01 00 01 01 05")
            << QStringList{request, "received 2 23 04 00 00 00 01 00 01 01 05"};
        QTest::newRow("cut off") << 0x04 << 0 << hex("23 04 00 00 00 00 00 01")
                                 << QStringList{request};
        QTest::newRow("page shorter than a page")
            << 0x83 << 0x1000 << hex("23 83 00 00 10 00 00 02 aa bb 80")
            << QStringList{"sent 23 83 00 00 10 00 00 00 93",
                           "received 3 23 83 00 00 10 00 00 02 aa bb 80"};
    }
    void receivePathReportsEveryFrame() {
        QFETCH(int, command);
        QFETCH(int, address);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, events);
        ProtocolHarness h;
        QStringList seen;
        connect(&h.sender, &RequestSender::frameSent,
                [&seen](const QByteArray &frame) { seen << "sent " + frame.toHex(' '); });
        connect(&h.receive, &ReceivePath::frameReceived,
                [&seen](const QByteArray &frame, Verdict verdict) {
                    seen << QString("received %1 %2").arg(int(verdict)).arg(frame.toHex(' '));
                });
        h.request(uint8_t(command), address);
        h.feed(bytes);
        QCOMPARE(seen, events);
    }

    // A trace that goes (its window deleted) leaves the frames flowing and their replies taken.
    void traceGoneWhileFramesFlow() {
        ProtocolHarness h;
        QStringList lines;
        {
            FrameTrace trace;
            trace.follow(h.sender, h.receive);
            connect(&trace, &FrameTrace::line, [&lines](const QString &l) { lines << l; });
            h.request(0x04, 0);
        }
        h.feed(hex("23 04 00 00 00 00 00 01 01 04"));
        h.request(0x04, 0);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(h.outcomes, (QList<QPair<bool, QString>>{{true, "Enter"}}));
    }
};

QTEST_GUILESS_MAIN(TestFrameTrace)
#include "tst_frametrace.moc"
