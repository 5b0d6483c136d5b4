#pragma once

#include "Result.h"

#include <QByteArray>
#include <QString>

// Replaces a file as a whole: the new content goes to a temporary file in the target's folder,
// which is renamed onto the target only when it is complete. A failure therefore never leaves a
// half-written file and never destroys the file that was there. Only a regular file is replaced
// (a device node or a FIFO at the target is refused), and the new one keeps the old one's mode,
// owner and group. The temporary file of an export that was killed half way is removed by the
// next export to the same target.
//
// Not QSaveFile: that refuses to replace a file its user may not write (an export here replaces
// it and keeps it read-only) and writes through a symbolic link instead of replacing the link.
class AtomicFile {
public:
    explicit AtomicFile(QString targetPath);
    // Removes the temporary file unless it was committed.
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Creates the empty temporary file, open and locked; fails when the target is not a regular
    // file or the folder refuses it.
    Result<void> create();
    QString targetPath() const { return target; }

    // Flushes the temporary file to disk and renames it onto the target, keeping the permissions
    // of the file it replaces. On failure the target is untouched.
    Result<void> commit();

    // The whole round for callers that hold the content in memory.
    static Result<void> writeAll(const QString &path, const QByteArray &content);

private:
    // Every reason names the file.
    Failure fail(const QString &reason) const;

    QString target;
    QString tempPath;
    int fd = -1; // the temporary file, locked while it lives
    bool committed = false;
};
