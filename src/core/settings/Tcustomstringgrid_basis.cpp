#include "settings/Tcustomstringgrid_basis.h"

#include "Session.h"
#include "exchange/FileDialogs.h"
#include "exchange/SheetCells.h"
#include "exchange/WorkbookReader.h"
#include "exchange/WorkbookWriter.h"
#include "operator/Operator.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"
#include "settings/SettingsTable.h"

namespace {

// The open dialog lists the older extension first.
const char OpenFilter[] = "EXCEL file|*.xls;*.xlsx|(*.*)|*.*";

constexpr int LastRow = SettingsTable::ParameterCount;

// Sheet row and column of grid cell (column, row).
int sheetRow(int row) {
    return row + 1;
}
int sheetColumn(int column) {
    return column + 1;
}

// The item index a choice cell starts with, or -1 when its first character is no digit.
int leadingDigit(const QString &text) {
    return !text.isEmpty() && text[0] >= u'0' && text[0] <= u'9' ? text[0].unicode() - u'0' : -1;
}

} // namespace

Tcustomstringgrid_basis::Tcustomstringgrid_basis(SettingsTable &table, Operator &op,
                                                 Tstatusbar_ctrl &status,
                                                 Tprogressbar_ctrl &progress, QString folder)
    : table(table)
    , op(op)
    , status(status)
    , progress(progress)
    , folder(std::move(folder)) {}

Tcustomstringgrid_basis::Tcustomstringgrid_basis(SettingsTable &table, Session &session,
                                                 QString folder)
    : Tcustomstringgrid_basis(table, session.person(), session.statusBar(), session.progressBar(),
                              std::move(folder)) {}

void Tcustomstringgrid_basis::setColumnWidths(WorkbookWriter &writer) const {
    writer.setColumnWidth(1, 85);
    writer.setColumnWidth(2, 45);
    writer.setColumnWidth(3, 130);
}

bool Tcustomstringgrid_basis::ExportProfile() {
    WorkbookWriter writer;
    setColumnWidths(writer);
    const QString target =
        FileDialogs::chooseWorkbookTarget(op, QStringLiteral("Export profile"), folder,
                                          FileDialogs::proposedName(QStringLiteral("basicinf_R")));
    return !target.isEmpty() && writeCells(writer, target);
}

bool Tcustomstringgrid_basis::saveProfile(const QString &path) {
    WorkbookWriter writer;
    setColumnWidths(writer);
    return writeCells(writer, path);
}

bool Tcustomstringgrid_basis::writeCells(WorkbookWriter &writer, const QString &path) {
    // Every cell is a string cell, so a password such as "0482" keeps its leading zero.
    for (int r = 0; r <= LastRow; ++r) {
        for (int c = 0; c < SettingsTable::ColumnCount; ++c)
            writer.setCellText(sheetRow(r), sheetColumn(c), table.cell(c, r));
        progress.set(quint16(r * 100 / LastRow));
        status.show(QStringLiteral("Save profile"));
    }
    // What counts for a choice is its list's selection, not the text its cell last got.
    for (int row : SettingsTable::ChoiceRows)
        writer.setCellText(sheetRow(row), sheetColumn(SettingsTable::ValueColumn),
                           table.choiceText(row));
    const Result<void> saved = writer.saveAs(path);
    if (!saved)
        op.message(saved.reason(), {}, Operator::Icon::Error);
    return saved.ok();
}

bool Tcustomstringgrid_basis::ImportProfile() {
    const QString path = op.chooseOpenFile(QStringLiteral("Import profile"), folder,
                                           FileDialogs::filter(QLatin1String(OpenFilter)));
    return !path.isEmpty() && loadProfile(path);
}

QString Tcustomstringgrid_basis::choiceProblem(const SheetCells &sheet) const {
    for (int row : SettingsTable::ChoiceRows) {
        const QString text = sheet.value(sheetRow(row), sheetColumn(SettingsTable::ValueColumn));
        const int index = leadingDigit(text);
        if (index < 0)
            return QStringLiteral("'%1' is not a valid integer value").arg(text.left(1));
        // A digit the list has no item for would reach the device as "no selection" (0xFF).
        const QStringList items = SettingsTable::choiceItems(row);
        if (index >= items.size())
            return QStringLiteral("Row %1 \"%2\": \"%3\" names no item of the list; the items "
                                  "are %4 to %5. Nothing was imported.")
                .arg(row)
                .arg(table.cell(SettingsTable::CaptionColumn, row), text, items.first().left(1),
                     items.last().left(1));
    }
    return {};
}

bool Tcustomstringgrid_basis::loadProfile(const QString &path) {
    // Rows past the last setting (a note, or the wrong file) are not read.
    WorkbookReader reader({sheetRow(LastRow), sheetColumn(SettingsTable::ColumnCount - 1), {}});
    if (const Result<void> opened = reader.open(path); !opened) {
        op.message(opened.reason(), {}, Operator::Icon::Error);
        return false;
    }
    if (reader.displayedText(1, 1) != QLatin1String("Items")) {
        op.message(QStringLiteral("Wrong format of the setting profile"));
        return false;
    }
    const QString problem = choiceProblem(reader.sheet());
    if (!problem.isEmpty()) {
        op.message(problem, {}, Operator::Icon::Error);
        return false;
    }
    table.editRows(1, LastRow, [&] {
        // Values and descriptions; the captions stay the program's own.
        for (int r = 1; r <= LastRow; ++r) {
            for (int c = SettingsTable::ValueColumn; c <= SettingsTable::DescriptionColumn; ++c)
                table.setCell(c, r, reader.valueText(sheetRow(r), sheetColumn(c)));
            progress.set(quint16(r * 100 / LastRow));
            status.show(QStringLiteral("Load profile"));
        }
    });
    for (int row : SettingsTable::ChoiceRows)
        table.setChoiceIndex(row, leadingDigit(reader.valueText(
                                      sheetRow(row), sheetColumn(SettingsTable::ValueColumn))));
    // The markers and the review go on comparing with what the device holds, not with the file.
    return true;
}
