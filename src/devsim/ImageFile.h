#pragma once

// Header-only and QtCore-only: the device still links nothing of core.
#include "../core/Result.h"

#include <QByteArray>
#include <QString>

// The device memory kept in a file between runs: exactly the image bytes, nothing else.
namespace ImageFile {

// Reads the image at path. A file of any other size than expectedSize is refused.
Result<QByteArray> load(const QString &path, int expectedSize);
// Writes the image to a temporary file beside path and renames it into place, so that a
// failure or an interruption never leaves a half-written file.
Result<void> save(const QString &path, const QByteArray &image);

} // namespace ImageFile
