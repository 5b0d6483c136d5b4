#include "numbers/NumberListExchange.h"

#include "Session.h"
#include "exchange/AtomicFile.h"
#include "exchange/CodePage.h"
#include "exchange/CsvCodePage.h"
#include "exchange/CsvFile.h"
#include "exchange/FileDialogs.h"
#include "exchange/InputFile.h"
#include "exchange/SheetCells.h"
#include "exchange/WorkbookReader.h"
#include "exchange/WorkbookWriter.h"
#include "numbers/NumberListCsv.h"
#include "numbers/NumberListRowCheck.h"
#include "numbers/NumberTable.h"
#include "operator/Operator.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"

#include <QDir>
#include <QFile>

namespace {

// The open dialog lists the older extension first.
const char OpenFilter[] = "EXCEL file|*.xls;*.xlsx|(*.*)|*.*";
const char CsvFilter[] = "CVS file|*.cvs;*.cvs|(*.*)|*.*";
const char CsvOpenFilter[] = "CSV file|*.csv;*.cvs|(*.*)|*.*";
constexpr qint64 MaxCsvBytes = 4 * 1024 * 1024;

} // namespace

NumberListExchange::NumberListExchange(NumberTable &table, Operator &op, Tstatusbar_ctrl &status,
                                       Tprogressbar_ctrl &progress, QString folder)
    : table(table)
    , op(op)
    , status(status)
    , progress(progress)
    , folder(std::move(folder)) {}

NumberListExchange::NumberListExchange(NumberTable &table, Session &session, QString folder)
    : NumberListExchange(table, session.person(), session.statusBar(), session.progressBar(),
                         std::move(folder)) {}

void NumberListExchange::setColumnWidths(WorkbookWriter &writer) const {
    const int widths[] = {4, 20, 16, 16, 16, 16};
    for (int c = 1; c <= 6; ++c)
        writer.setColumnWidth(c, widths[c - 1]);
}

bool NumberListExchange::ExportListWorkbook() {
    WorkbookWriter writer;
    setColumnWidths(writer);
    const QString target =
        FileDialogs::chooseWorkbookTarget(op, QStringLiteral("Export .XLS"), folder,
                                          FileDialogs::proposedName(QStringLiteral("telinf_R")));
    return !target.isEmpty() && writeCells(writer, target);
}

bool NumberListExchange::saveWorkbook(const QString &path) {
    WorkbookWriter writer;
    setColumnWidths(writer);
    return writeCells(writer, path);
}

bool NumberListExchange::writeCells(WorkbookWriter &writer, const QString &path) {
    // Every cell carries the Text format, so "+49...", "0987..." and dates stay texts when the
    // workbook is edited.
    for (int r = 0; r <= NumberTable::EntryCount; ++r) {
        for (int c = 0; c < NumberTable::ColumnCount; ++c) {
            writer.setTextFormat(r + 1, c + 1);
            writer.setCellText(r + 1, c + 1, table.cell(c, r));
        }
        if (r > 0) {
            progress.set(quint16(r * 100 / NumberTable::EntryCount));
            status.show(QStringLiteral("Save:%1/%2").arg(r).arg(NumberTable::EntryCount));
        }
    }
    const Result<void> saved = writer.saveAs(path);
    status.clearDirect();
    if (!saved)
        op.message(saved.reason(), {}, Operator::Icon::Error);
    return saved.ok();
}

bool NumberListExchange::ImportListWorkbook() {
    const QString path = op.chooseOpenFile(QStringLiteral("Import .XLS"), folder,
                                           FileDialogs::filter(QLatin1String(OpenFilter)));
    return !path.isEmpty() && loadWorkbook(path);
}

bool NumberListExchange::loadWorkbook(const QString &path) {
    WorkbookReader reader(
        {NumberTable::EntryCount + 1, NumberTable::ColumnCount,
         QStringLiteral("the list holds more than %1 entries").arg(NumberTable::EntryCount)});
    if (const Result<void> opened = reader.open(path); !opened) {
        op.message(opened.reason(), {}, Operator::Icon::Error);
        return false;
    }
    // The import shares its refusal text with the settings profile's.
    if (reader.displayedText(1, 1) != QLatin1String("Serial")) {
        op.message(QStringLiteral("Wrong format of the setting profile"));
        return false;
    }
    return loadSheet(reader.sheet(), QStringLiteral("Import.xls"));
}

bool NumberListExchange::ImportListCsv() {
    const QString path = op.chooseOpenFile(QStringLiteral("Import .CSV"), folder,
                                           FileDialogs::filter(QLatin1String(CsvOpenFilter)));
    return !path.isEmpty() && loadCsv(path);
}

bool NumberListExchange::loadCsv(const QString &path) {
    // The list's own export is some 200 kB; anything far larger is not one.
    const Result<QByteArray> data = InputFile::read(path, MaxCsvBytes);
    if (!data) {
        op.message(QStringLiteral("Cannot read \"%1\": %2")
                       .arg(QDir::toNativeSeparators(path), data.reason()),
                   {}, Operator::Icon::Error);
        return false;
    }
    SheetCells sheet;
    if (!NumberListCsv::read(data.value(), CodePage::current(), sheet)) {
        op.message(QStringLiteral("Wrong format of the setting profile"));
        return false;
    }
    return loadSheet(sheet, QStringLiteral("Import.csv"));
}

bool NumberListExchange::loadFile(const QString &path) {
    return CsvFile::isCsv(path) ? loadCsv(path) : loadWorkbook(path);
}

bool NumberListExchange::loadSheet(const SheetCells &sheet, const QString &statusText) {
    const QString problems = NumberListRowCheck::problems(sheet);
    if (!problems.isEmpty()) {
        op.message(problems);
        return false;
    }
    const QString yes = QStringLiteral("yes");
    const QString no = QStringLiteral("no");
    table.editRows(1, NumberTable::EntryCount, [&] {
        for (int r = 1; r <= NumberTable::EntryCount; ++r) {
            for (int c = NumberTable::Number; c <= NumberTable::EndTime; ++c)
                table.setCell(c, r, sheet.value(r + 1, c + 1));
            table.setCell(NumberTable::Always, r, sheet.displayed(r + 1, 7) == yes ? yes : no);
            progress.set(quint16(r * 100 / NumberTable::EntryCount));
            status.show(statusText);
        }
    });
    // The markers and the review go on comparing with what the device holds, not with the file.
    return true;
}

QByteArray NumberListExchange::csvBytes() {
    return NumberListCsv::build(table, CodePage::current(), [this](int line) {
        progress.set(quint16(line * 100 / NumberListCsv::LineCount));
        status.show(QStringLiteral("Export.csv:%1/%2").arg(line - 1).arg(NumberTable::EntryCount));
    });
}

bool NumberListExchange::ExportListCsv() {
    if (!csvHoldsTable())
        return false;
    const QByteArray content = csvBytes();
    const QString path = op.chooseSaveFile(QStringLiteral("Export .CSV"), folder,
                                           FileDialogs::proposedName(QStringLiteral("telinf_CSV")) +
                                               QStringLiteral(".cvs"),
                                           FileDialogs::filter(QLatin1String(CsvFilter)));
    return !path.isEmpty() && writeCsv(path, content);
}

bool NumberListExchange::saveCsv(const QString &path) {
    return csvHoldsTable() && writeCsv(path, csvBytes());
}

bool NumberListExchange::csvHoldsTable() {
    const QString problem = CsvCodePage::unheldCell(table, CodePage::current());
    if (!problem.isEmpty())
        op.message(problem, {}, Operator::Icon::Error);
    return problem.isEmpty();
}

bool NumberListExchange::writeCsv(const QString &path, const QByteArray &content) {
    const Result<void> written = AtomicFile::writeAll(path, content);
    if (!written)
        op.message(written.reason(), {}, Operator::Icon::Error);
    return written.ok();
}
