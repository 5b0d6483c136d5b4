#include "exchange/WorkbookReader.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

// The workbook reader on arbitrary file contents, xlsx or legacy xls as the content says. The
// legacy reader opens files by name, so every input is written to one file, in memory-backed
// /dev/shm where there is one, removed at exit.

namespace {

QString inputPath;

void removeInput() {
    QFile::remove(inputPath);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    const QString folder =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    inputPath = folder + QStringLiteral("/velmora-fuzz-workbook-%1").arg(getpid());
    std::atexit(removeInput);
    // The legacy reader program runs for every .xls input and all it leaks ends with it; its
    // leak check at exit would cost a third of its run. This process has read its options.
    const QByteArray options = qgetenv("ASAN_OPTIONS");
    qputenv("ASAN_OPTIONS", options + (options.isEmpty() ? "" : ":") + "detect_leaks=0");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QFile file(inputPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(inputPath));
        std::abort();
    }
    file.close();
    WorkbookReader reader;
    // Most inputs are refused; only a crash or a sanitizer's report is a finding.
    (void)reader.open(inputPath);
    return 0;
}
