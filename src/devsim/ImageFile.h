#pragma once

#include <QByteArray>
#include <QString>

// The device memory kept in a file between runs: exactly the image bytes, nothing else.
namespace ImageFile {

// Reads the image at path into image. A file of any other size than expectedSize is refused
// with a message in error, and image is left untouched.
bool load(const QString &path, int expectedSize, QByteArray &image, QString &error);
// Writes the image to a temporary file beside path and renames it into place, so that a
// failure or an interruption never leaves a half-written file.
bool save(const QString &path, const QByteArray &image, QString &error);

} // namespace ImageFile
