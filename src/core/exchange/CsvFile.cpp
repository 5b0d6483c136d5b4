#include "exchange/CsvFile.h"

#include <QFileInfo>

namespace CsvFile {

bool isCsv(const QString &path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("cvs") || suffix == QLatin1String("csv");
}

} // namespace CsvFile
