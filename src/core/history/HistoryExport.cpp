#include "HistoryExport.h"

#include "HistoryTable.h"
#include "exchange/AtomicFile.h"
#include "exchange/CodePage.h"
#include "exchange/CsvCodePage.h"
#include "exchange/CsvLine.h"
#include "exchange/FileDialogs.h"
#include "exchange/WorkbookWriter.h"
#include "operator/Operator.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"

#include <QList>

namespace {

constexpr double ColumnWidths[HistoryTable::ColumnCount] = {5, 16, 13, 13, 16, 16, 22, 22};
// The lines carry two empty fields after the grid's eight columns.
constexpr int CsvFields = 10;

constexpr const char *CsvFilter = "CVS file|*.cvs;*.cvs|(*.*)|*.*";

// ASCII is the same in every 8-bit code page; only the other texts need the converter, which is
// slow to set up for each of the ten thousand fields.
QByteArray bytesOf(const QString &text, const CodePage &codePage) {
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return codePage.encode(text);
    return text.toLatin1();
}

} // namespace

HistoryExport::HistoryExport(const HistoryTable &table, Tstatusbar_ctrl &status,
                             Tprogressbar_ctrl &progress)
    : table(table)
    , status(status)
    , progress(progress) {}

QString HistoryExport::workbookName(const QDateTime &at) {
    return FileDialogs::proposedName(QStringLiteral("hisinf_R"), at);
}

QString HistoryExport::csvName(const QDateTime &at) {
    return FileDialogs::proposedName(QStringLiteral("hisinf_CSV"), at) + QStringLiteral(".cvs");
}

void HistoryExport::ExportWorkbook(Operator &op, const QString &folder) {
    const QString target = FileDialogs::chooseWorkbookTarget(
        op, QString(), folder, workbookName(QDateTime::currentDateTime()));
    if (target.isEmpty())
        return;
    if (const Result<void> written = writeWorkbook(target); !written)
        op.message(written.reason(), QString(), Operator::Icon::Error);
}

void HistoryExport::ExportCsv(Operator &op, const QString &folder) {
    if (const QString problem = CsvCodePage::unheldCell(table, CodePage::current());
        !problem.isEmpty()) {
        op.message(problem, QString(), Operator::Icon::Error);
        return;
    }
    const QByteArray content = csvContent();
    const QString path = op.chooseSaveFile(QString(), folder, csvName(QDateTime::currentDateTime()),
                                           FileDialogs::filter(QLatin1String(CsvFilter)));
    if (path.isEmpty())
        return;
    if (const Result<void> written = AtomicFile::writeAll(path, content); !written)
        op.message(written.reason(), QString(), Operator::Icon::Error);
}

Result<void> HistoryExport::writeWorkbook(const QString &path) {
    WorkbookWriter book;
    for (int c = 0; c < HistoryTable::ColumnCount; ++c)
        book.setColumnWidth(c + 1, ColumnWidths[c]);
    const int last = table.rows() - 1;
    for (int r = 0; r <= last; ++r) {
        for (int c = 0; c < HistoryTable::ColumnCount; ++c) {
            book.setTextFormat(r + 1, c + 1);
            book.setCellText(r + 1, c + 1, table.cell(c, r));
        }
        if (r > 0)
            progress.set(quint16(r * 100 / last));
        status.show(QStringLiteral("historical information records:%1/%2").arg(r).arg(last));
    }
    return book.saveAs(path);
}

Result<void> HistoryExport::writeCsv(const QString &path) {
    if (QString problem = CsvCodePage::unheldCell(table, CodePage::current()); !problem.isEmpty())
        return Failure{problem};
    return AtomicFile::writeAll(path, csvContent());
}

QByteArray HistoryExport::csvContent() {
    const CodePage codePage = CodePage::current();
    const int rows = table.rows();
    QByteArray content;
    for (int r = 1; r < rows; ++r) {
        if (table.cell(HistoryTable::RecordNo, r).isEmpty())
            continue;
        QList<QByteArray> fields;
        for (int c = 0; c < CsvFields; ++c)
            fields << bytesOf(table.cell(c, r), codePage);
        content += CsvLine::line(fields);
        progress.set(quint16(r * 100 / rows));
        status.show(QStringLiteral("Export.csv:%1/%2").arg(r - 1).arg(rows - 1));
    }
    return content;
}
