#pragma once

#include "Result.h"

#include <QByteArray>
#include <QString>

typedef struct zip zip_t;
typedef struct zip_source zip_source_t;

// Builds a zip container in memory. Parts are deflated at the fastest level: a workbook's XML
// packs to a few percent of its size either way, and the default level takes five times as long.
class ZipWriter {
public:
    ZipWriter();
    ~ZipWriter();
    ZipWriter(const ZipWriter &) = delete;
    ZipWriter &operator=(const ZipWriter &) = delete;

    // Adds a part under `name`. `content` is read only in finish(), so it must live until then.
    // A failure here also makes finish() fail, with the first reason.
    bool add(const char *name, const QByteArray &content);
    // Packs every part and hands over the container.
    Result<QByteArray> finish();

private:
    bool fail(const QString &what);

    zip_source_t *target = nullptr;
    zip_t *archive = nullptr;
    QString error;
};
