#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file as a whole: the new content goes to a temporary file in the target's folder,
// which is renamed onto the target only when it is complete. A failure therefore never leaves a
// half-written file and never destroys the file that was there.
class AtomicFile {
public:
    explicit AtomicFile(QString targetPath);
    // Removes the temporary file unless it was committed.
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Creates the empty temporary file; false with errorString() when the folder refuses it.
    bool create();
    QString temporaryPath() const { return tempPath; }
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
    QString error;
    bool committed = false;
};
