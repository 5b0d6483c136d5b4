#pragma once

#include <QString>

// Which files the exchanges take for comma-separated text: a name ending in ".csv", or in the
// ".cvs" the program's own exports have always carried, in any case. Every other is a workbook.
namespace CsvFile {

bool isCsv(const QString &path);

} // namespace CsvFile
