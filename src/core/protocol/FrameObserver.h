#pragma once

#include <QByteArrayView>

// Told of every frame the sender hands to the link and every frame the receive path
// reassembles, with what the receive path made of it. For tracing; nothing is told when no
// observer is set.
class FrameObserver {
public:
    enum class Verdict {
        Ok,          // the reply to the request outstanding
        BadChecksum, // whole, but its checksum does not match
        Undefined,   // a good frame nobody asked for
        InvalidData, // the awaited command and address, but too short to be the reply
    };

    virtual ~FrameObserver() = default;
    virtual void frameSent(QByteArrayView frame) = 0;
    virtual void frameReceived(QByteArrayView frame, Verdict verdict) = 0;
};
