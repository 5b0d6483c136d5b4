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

Result<SheetCells> readSheet(const QString &path, const SheetLayout &layout) {
    const Result<QByteArray> file = InputFile::read(path, WorkbookReader::MaxFileBytes);
    if (!file)
        return Failure{file.reason()};
    const QByteArray &data = file.value();
    if (data.isEmpty())
        return Failure{QStringLiteral("it is empty")};
    if (isZip(data))
        return XlsxSheetReader::read(data, layout);
    if (isCompoundDocument(data) && holdsEncryptedPackage(data))
        return Failure{QStringLiteral("it is encrypted")};
    if (isCompoundDocument(data))
        return XlsSheetReader::read(path, layout);
    return Failure{QStringLiteral("it is not a workbook (neither an .xlsx nor an .xls file)")};
}

} // namespace

Result<void> WorkbookReader::open(const QString &path) {
    cells.clear();
    Result<SheetCells> sheet = readSheet(path, layout);
    if (!sheet)
        return Failure{QStringLiteral("Cannot read the workbook \"%1\": %2.")
                           .arg(QDir::toNativeSeparators(path), sheet.reason())};
    cells.swap(sheet.value());
    return {};
}
