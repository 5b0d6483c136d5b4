#pragma once

#include "protocol/TDataPackage.h"

#include <QByteArray>

// The bytes of one frame, built the way every sender builds it.
inline QByteArray frameBytes(uint8_t command, int32_t address, const QByteArray &data = {}) {
    TDataPackage p;
    p.SetCommand(command);
    p.SetLength(int32_t(data.size()));
    p.SetAddress(address);
    p.SetData(data);
    p.BuildFrame();
    return p.frameBytes();
}
