#include "exchange/ZipPackage.h"

#include <zip.h>

namespace {

QString zipErrorText(zip_error_t *error) {
    return QString::fromUtf8(zip_error_strerror(error));
}

bool isEncryption(int code) {
    return code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_ENCRNOTSUPP;
}

} // namespace

ZipPackage::~ZipPackage() {
    if (archive)
        zip_discard(archive);
}

bool ZipPackage::open(const QByteArray &data, QString *reason) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source =
        zip_source_buffer_create(data.constData(), zip_uint64_t(data.size()), 0, &error);
    if (!source) {
        *reason = zipErrorText(&error);
        zip_error_fini(&error);
        return false;
    }
    archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive) {
        zip_source_free(source);
        *reason = QStringLiteral("the zip container is damaged or incomplete (%1)")
                      .arg(zipErrorText(&error));
        zip_error_fini(&error);
        return false;
    }
    zip_error_fini(&error);
    const zip_int64_t entries = zip_get_num_entries(archive, 0);
    if (entries > MaxEntries) {
        *reason = QStringLiteral("the zip container holds %1 parts, more than the %2 a workbook "
                                 "may have")
                      .arg(entries)
                      .arg(MaxEntries);
        return false;
    }
    return true;
}

bool ZipPackage::contains(const QString &name) const {
    return zip_name_locate(archive, name.toUtf8().constData(), ZIP_FL_NOCASE | ZIP_FL_ENC_GUESS) >=
           0;
}

bool ZipPackage::read(const QString &name, QByteArray *content, QString *reason) {
    content->clear();
    const bool ok = stream(
        name,
        [content](const char *data, qsizetype size) {
            content->append(data, size);
            return true;
        },
        reason, content);
    if (!ok)
        content->clear();
    return ok;
}

bool ZipPackage::stream(const QString &name,
                        const std::function<bool(const char *, qsizetype)> &sink, QString *reason,
                        QByteArray *reserve) {
    const zip_int64_t index =
        zip_name_locate(archive, name.toUtf8().constData(), ZIP_FL_NOCASE | ZIP_FL_ENC_GUESS);
    if (index < 0) {
        *reason = QStringLiteral("the part %1 is missing").arg(name);
        return false;
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, zip_uint64_t(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE)) {
        *reason = QStringLiteral("the part %1 cannot be examined").arg(name);
        return false;
    }
    if (stat.size > zip_uint64_t(MaxUnpackedBytes - unpacked)) {
        *reason = QStringLiteral("its parts would unpack to more than %1 MiB")
                      .arg(MaxUnpackedBytes / (1024 * 1024));
        return false;
    }
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE) {
        *reason = QStringLiteral("it is encrypted");
        return false;
    }
    zip_file_t *file = zip_fopen_index(archive, zip_uint64_t(index), 0);
    if (!file) {
        zip_error_t *error = zip_get_error(archive);
        *reason = isEncryption(zip_error_code_zip(error))
                      ? QStringLiteral("it is encrypted")
                      : QStringLiteral("the part %1 cannot be unpacked (%2)")
                            .arg(name, zipErrorText(error));
        return false;
    }
    if (reserve)
        reserve->reserve(qsizetype(stat.size));
    // One byte more than announced would mean a size that lies; the CRC check runs at the end.
    const zip_uint64_t announced = stat.size;
    zip_uint64_t got = 0;
    bool exact = true;
    bool stopped = false;
    char buffer[65536];
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
        if (n < 0)
            exact = false;
        if (n <= 0)
            break;
        got += zip_uint64_t(n);
        if (got > announced) {
            exact = false;
            break;
        }
        if (!sink(buffer, qsizetype(n))) {
            stopped = true;
            break;
        }
    }
    exact = exact && (stopped || got == announced);
    QString unpackError = zipErrorText(zip_file_get_error(file));
    if (const int closeError = zip_fclose(file); closeError != 0 && !stopped) {
        zip_error_t error;
        zip_error_init_with_code(&error, closeError);
        unpackError = zipErrorText(&error);
        zip_error_fini(&error);
    } else if (exact) {
        unpacked += qint64(got);
        return !stopped;
    }
    *reason = QStringLiteral("the part %1 is damaged (%2)").arg(name, unpackError);
    return false;
}
