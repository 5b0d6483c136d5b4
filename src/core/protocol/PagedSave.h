#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

// The pages one save of an area writes and then reads back. When the device's pages are known
// (as it last read or saved them on the same opening of the port) only the pages whose bytes
// differ are written, in page order; else, or when every page is asked for, all of them. The
// written pages (or, asked for, every page) are read back and must hold what was written.
class PagedSave {
public:
    // `wanted`: every page of the area as the save writes it, page 1 first; `held`: the same
    // pages as the device holds them, empty when that is not known.
    void plan(QList<QByteArray> wanted, const QList<QByteArray> &held, bool everyPage,
              bool readBackEveryPage);

    int writeCount() const { return int(writes.size()); }
    int readBackCount() const { return int(readBacks.size()); }
    // The page number (from 1) of the i-th write or read-back, i from 1.
    uint16_t writePage(int i) const { return writes.at(i - 1); }
    uint16_t readBackPage(int i) const { return readBacks.at(i - 1); }
    const QByteArray &bytes(uint16_t page) const { return pages.at(page - 1); }
    // Every page as the save writes it: what the device holds once the save succeeded.
    const QList<QByteArray> &allPages() const { return pages; }

    // A page came back: noted when it is not what the save wrote (or, not written, what the
    // device already held).
    void compare(uint16_t page, const uint8_t *data);
    const QList<uint16_t> &mismatches() const { return differing; }
    // The planned pages are written and read back once more.
    void clearMismatches() { differing.clear(); }
    // "Pages that read back otherwise than written: 1, 375"
    QString mismatchText() const;

private:
    QList<QByteArray> pages;
    QList<uint16_t> writes;
    QList<uint16_t> readBacks;
    QList<uint16_t> differing;
};
