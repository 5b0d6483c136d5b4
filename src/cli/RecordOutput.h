#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class CliRun;

// How a command prints its records on the output stream, chosen with --format:
//   tsv   one line per record, fields separated by TAB; TAB, LF, CR and backslash inside a field
//         are written \t, \n, \r and \\, so every record stays one line (the default)
//   csv   one line per record ending with CR LF, a field quoted as the comma-separated exports
//         quote it
//   json  one array holding an object per record, keyed by the column names
// No format prints a heading line: the output is the records alone.
namespace RecordOutput {

enum class Format { Tsv, Csv, Json };

QCommandLineOption formatOption();
// The format --format names (tsv without it); nothing for a name that is none of the three.
std::optional<Format> format(const QString &name);

QString text(Format format, const QStringList &columns, const QList<QStringList> &records);

// Prints the records in the format of the run's --format. A text that holds the replacement
// character stood for bytes the code page has no character for: the operator is told which
// record and column, since those bytes are not in the output.
void print(CliRun &run, const QStringList &columns, const QList<QStringList> &records);

} // namespace RecordOutput
