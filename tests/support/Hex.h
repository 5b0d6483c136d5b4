#pragma once

#include <QByteArray>

// Bytes written as hex pairs, spaces allowed between them: hex("23 83 00").
inline QByteArray hex(const char *text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}
