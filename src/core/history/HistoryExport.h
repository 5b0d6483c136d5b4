#pragma once

#include "Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

class HistoryTable;
class Operator;
class Tprogressbar_ctrl;
class Tstatusbar_ctrl;

// The history table written to files, exactly as the table holds it (after a filter, the
// filtered rows): a workbook of the whole grid, headings and empty rows included, every cell a
// text; and comma-separated lines of the rows that hold a record number. Both report their
// rows on the status bar and the progress bar.
class HistoryExport {
public:
    HistoryExport(const HistoryTable &table, Tstatusbar_ctrl &status, Tprogressbar_ctrl &progress);

    // "Export.XLS" and "Export.CSV": a save dialog in `folder`, then the file. A cancelled
    // dialog writes nothing; a file that cannot be written is reported and nothing else changes.
    void ExportWorkbook(Operator &op, const QString &folder);
    void ExportCsv(Operator &op, const QString &folder);

    // The same files at a path chosen beforehand.
    Result<void> writeWorkbook(const QString &path);
    Result<void> writeCsv(const QString &path);
    // The CSV file's bytes: one line per filled row, ten fields, CR LF, no heading.
    QByteArray csvContent();

    // "hisinf_R2015-03-07_10-05-09" and "hisinf_CSV2015-03-07_10-05-09.cvs".
    static QString workbookName(const QDateTime &at);
    static QString csvName(const QDateTime &at);

private:
    const HistoryTable &table;
    Tstatusbar_ctrl &status;
    Tprogressbar_ctrl &progress;
};
