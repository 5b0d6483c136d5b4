#include "exchange/ZipWriter.h"

#include <zip.h>

namespace {

constexpr zip_uint32_t FastestDeflate = 1;

} // namespace

ZipWriter::ZipWriter() {
    zip_error_t status;
    zip_error_init(&status);
    target = zip_source_buffer_create(nullptr, 0, 0, &status);
    if (target) {
        // The container's bytes stay in `target` after the archive is closed.
        zip_source_keep(target);
        archive = zip_open_from_source(target, ZIP_TRUNCATE, &status);
    }
    if (!archive)
        error = QString::fromUtf8(zip_error_strerror(&status));
    zip_error_fini(&status);
}

ZipWriter::~ZipWriter() {
    if (archive)
        zip_discard(archive);
    if (target)
        zip_source_free(target);
}

bool ZipWriter::fail(const QString &what) {
    if (error.isEmpty())
        error = what;
    return false;
}

bool ZipWriter::add(const char *name, const QByteArray &content) {
    if (!archive)
        return fail(error);
    zip_source_t *part =
        zip_source_buffer(archive, content.constData(), zip_uint64_t(content.size()), 0);
    if (!part)
        return fail(QString::fromUtf8(zip_strerror(archive)));
    const zip_int64_t index = zip_file_add(archive, name, part, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(part);
        return fail(QString::fromUtf8(zip_strerror(archive)));
    }
    if (zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, FastestDeflate) != 0)
        return fail(QString::fromUtf8(zip_strerror(archive)));
    return true;
}

Result<QByteArray> ZipWriter::finish() {
    if (!archive || !error.isEmpty())
        return Failure{error};
    if (zip_close(archive) != 0)
        return Failure{QString::fromUtf8(zip_strerror(archive))};
    archive = nullptr;

    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(target, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
        zip_source_open(target) != 0)
        return Failure{QString::fromUtf8(zip_error_strerror(zip_source_error(target)))};
    QByteArray container(qsizetype(stat.size), Qt::Uninitialized);
    const zip_int64_t read = zip_source_read(target, container.data(), stat.size);
    zip_source_close(target);
    if (read != zip_int64_t(stat.size))
        return Failure{QStringLiteral("the packed workbook could not be collected")};
    return container;
}
