#include "exchange/WorkbookReader.h"

#include "exchange/InputFile.h"
#include "exchange/XlsSheetReader.h"
#include "exchange/XlsxSheetReader.h"

#include <QDir>

namespace {

bool startsWith(const QByteArray &data, const char *magic, qsizetype size) {
    return data.size() >= size && std::equal(magic, magic + size, data.constData());
}

bool isZip(const QByteArray &data) {
    return startsWith(data, "PK\x03\x04", 4) || startsWith(data, "PK\x05\x06", 4);
}

// A compound document: legacy workbooks, but also password-protected xlsx files.
bool isCompoundDocument(const QByteArray &data) {
    return startsWith(data, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
}

// A password-protected xlsx is a compound document holding the encrypted package.
bool holdsEncryptedPackage(const QByteArray &data) {
    static const QByteArray name =
        QByteArray::fromRawData("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
    return data.contains(name);
}

} // namespace

bool WorkbookReader::open(const QString &path) {
    cells.clear();
    QString reason;
    QByteArray data;
    if (InputFile::read(path, MaxFileBytes, &data, &reason)) {
        if (data.isEmpty())
            reason = QStringLiteral("it is empty");
        else if (isZip(data))
            XlsxSheetReader::read(data, &cells, &reason, layout);
        else if (isCompoundDocument(data) && holdsEncryptedPackage(data))
            reason = QStringLiteral("it is encrypted");
        else if (isCompoundDocument(data))
            XlsSheetReader::read(path, &cells, &reason, layout);
        else
            reason = QStringLiteral("it is not a workbook (neither an .xlsx nor an .xls file)");
    }
    if (reason.isEmpty()) {
        error.clear();
        return true;
    }
    cells.clear();
    error = QStringLiteral("Cannot read the workbook \"%1\": %2.")
                .arg(QDir::toNativeSeparators(path), reason);
    return false;
}
