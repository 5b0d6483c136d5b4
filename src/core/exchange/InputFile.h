#pragma once

#include "Result.h"

#include <QByteArray>
#include <QString>

// Reading a file the operator named for an import or a restore. Only a regular file is read: a
// FIFO would block until someone writes into it, a device such as /dev/zero never ends. It is
// told before the file is opened, and at most `limit` bytes are read whatever the file claims.
namespace InputFile {

// The file's bytes; fails (the reason without the file's name) for a file that cannot be opened,
// is not a regular file or holds more than `limit` bytes.
Result<QByteArray> read(const QString &path, qint64 limit);

} // namespace InputFile
