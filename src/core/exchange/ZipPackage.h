#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

typedef struct zip zip_t;

// Read-only access to the parts of a zip container held in memory, within bounds: a limited
// number of entries and a limited total of unpacked bytes, so that a crafted archive cannot
// exhaust memory. Errors are reasons without the file name; the caller names the file.
class ZipPackage {
public:
    static constexpr qint64 MaxEntries = 10000;
    static constexpr qint64 MaxUnpackedBytes = 64 * 1024 * 1024;

    ZipPackage() = default;
    ~ZipPackage();
    ZipPackage(const ZipPackage &) = delete;
    ZipPackage &operator=(const ZipPackage &) = delete;

    // `data` must outlive the package.
    bool open(const QByteArray &data, QString *reason);
    // Part names compare without regard to case, as the package format asks.
    bool contains(const QString &name) const;
    // Unpacks one part, counting it against the unpacked-size budget.
    bool read(const QString &name, QByteArray *content, QString *reason);
    // Unpacks one part piece by piece into `sink`, counted against the same budget, so that a
    // large part is never held whole. A sink that returns false stops the unpacking (the sink
    // has then set its own reason) and stream() returns false. `reserve`, if given, is sized
    // for the whole part first.
    bool stream(const QString &name, const std::function<bool(const char *, qsizetype)> &sink,
                QString *reason, QByteArray *reserve = nullptr);

private:
    zip_t *archive = nullptr;
    qint64 unpacked = 0;
};
