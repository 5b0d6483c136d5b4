#pragma once

// What the receive path made of a frame it reassembled (ReceivePath::frameReceived).
enum class FrameVerdict {
    Ok,          // the reply to the request outstanding
    BadChecksum, // whole, but its checksum does not match
    Undefined,   // a good frame nobody asked for
    InvalidData, // the awaited command and address, but too short to be the reply
};
