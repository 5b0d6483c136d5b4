#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file as a whole: the new content goes to a temporary file in the target's folder,
// which is renamed onto the target only when it is complete. A failure therefore never leaves a
// half-written file and never destroys the file that was there. Only a regular file is replaced
// (a device node or a FIFO at the target is refused), and the new one keeps the old one's mode,
// owner and group. The temporary file of an export that was killed half way is removed by the
// next export to the same target.
class AtomicFile {
public:
    explicit AtomicFile(QString targetPath);
    // Removes the temporary file unless it was committed.
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Creates the empty temporary file, open and locked; false with errorString() when the
    // target is not a regular file or the folder refuses it.
    bool create();
    QString targetPath() const { return target; }

    // Flushes the temporary file to disk and renames it onto the target, keeping the permissions
    // of the file it replaces. False with errorString() on failure; the target is then untouched.
    bool commit();
    QString errorString() const { return error; }

    // The whole round for callers that hold the content in memory. Returns an empty string on
    // success, otherwise the reason, naming the file.
    static QString writeAll(const QString &path, const QByteArray &content);

private:
    bool fail(const QString &reason);

    QString target;
    QString tempPath;
    int fd = -1; // the temporary file, locked while it lives
    QString error;
    bool committed = false;
};
