#include "exchange/WorkbookWriter.h"

#include "exchange/AtomicFile.h"
#include "exchange/XlsxText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>

namespace {

// The spreadsheet's built-in number format "@" (Text).
constexpr uint8_t TextNumberFormat = 49;

} // namespace

bool WorkbookWriter::addressCell(int row, int column, const char *what) {
    if (row >= 1 && row <= MaxRows && column >= 1 && column <= MaxColumns) {
        if (rows.size() < size_t(row))
            rows.resize(size_t(row));
        auto &cells = rows[size_t(row - 1)];
        if (cells.size() < size_t(column))
            cells.resize(size_t(column));
        return true;
    }
    if (rejected.isEmpty())
        rejected = QStringLiteral("%1 of cell (%2, %3) is outside the sheet")
                       .arg(QLatin1String(what))
                       .arg(row)
                       .arg(column);
    return false;
}

bool WorkbookWriter::setColumnWidth(int column, double width) {
    if (column < 1 || column > MaxColumns || !(width >= 0 && width <= 255)) {
        if (rejected.isEmpty())
            rejected =
                QStringLiteral("column %1 cannot be %2 characters wide").arg(column).arg(width);
        return false;
    }
    widths[column] = width;
    return true;
}

bool WorkbookWriter::setTextFormat(int row, int column) {
    if (!addressCell(row, column, "the format"))
        return false;
    rows[size_t(row - 1)][size_t(column - 1)].textFormat = true;
    return true;
}

bool WorkbookWriter::setCellText(int row, int column, const QString &text) {
    if (!addressCell(row, column, "the text"))
        return false;
    if (text.size() > MaxCellLength) {
        if (rejected.isEmpty())
            rejected = QStringLiteral("cell (%1, %2) holds %3 characters, more than the %4 a "
                                      "workbook cell can hold")
                           .arg(row)
                           .arg(column)
                           .arg(text.size())
                           .arg(MaxCellLength);
        return false;
    }
    rows[size_t(row - 1)][size_t(column - 1)].text = text;
    return true;
}

QString WorkbookWriter::withDefaultExtension(const QString &path) {
    if (!QFileInfo(path).fileName().contains(QLatin1Char('.')))
        return path + QStringLiteral(".xlsx");
    return path;
}

bool WorkbookWriter::saveAs(const QString &path) {
    const QString target = withDefaultExtension(path);
    auto failWith = [&](const QString &reason) {
        error =
            QStringLiteral("Cannot save \"%1\": %2").arg(QDir::toNativeSeparators(target), reason);
        return false;
    };
    if (!rejected.isEmpty())
        return failWith(rejected);

    AtomicFile file(target);
    if (!file.create()) {
        error = file.errorString();
        return false;
    }
    const QByteArray tempName = QFile::encodeName(file.temporaryPath());
    QByteArray tempFolder = QFile::encodeName(QFileInfo(target).absolutePath());
    lxw_workbook_options options = {};
    // The library's scratch files go beside the target too, so the save needs no other folder.
    options.tmpdir = tempFolder.data();
    // Rows go straight to the file with their strings inline: less memory and faster than a
    // shared string table for the few repeated texts of a list. Cells are written row by row.
    options.constant_memory = 1;
    lxw_workbook *book = workbook_new_opt(tempName.constData(), &options);
    if (!book)
        return failWith(QStringLiteral("out of memory"));
    lxw_worksheet *sheet = workbook_add_worksheet(book, nullptr);
    lxw_format *textFormat = workbook_add_format(book);
    if (!sheet || !textFormat) {
        workbook_close(book);
        return failWith(QStringLiteral("out of memory"));
    }
    format_set_num_format_index(textFormat, TextNumberFormat);

    lxw_error status = LXW_NO_ERROR;
    for (const auto &[column, width] : widths) {
        status = worksheet_set_column(sheet, lxw_col_t(column - 1), lxw_col_t(column - 1), width,
                                      nullptr);
        if (status != LXW_NO_ERROR)
            break;
    }
    for (size_t r = 0; r < rows.size() && status == LXW_NO_ERROR; ++r) {
        const auto &cells = rows[r];
        for (size_t c = 0; c < cells.size() && status == LXW_NO_ERROR; ++c) {
            const Cell &cell = cells[c];
            lxw_format *format = cell.textFormat ? textFormat : nullptr;
            if (!cell.text.isEmpty())
                status = worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c),
                                                XlsxText::encode(cell.text).constData(), format);
            else if (format)
                status = worksheet_write_blank(sheet, lxw_row_t(r), lxw_col_t(c), format);
        }
    }
    if (status != LXW_NO_ERROR) {
        workbook_close(book);
        return failWith(QString::fromUtf8(lxw_strerror(status)));
    }
    status = workbook_close(book);
    if (status != LXW_NO_ERROR)
        return failWith(QString::fromUtf8(lxw_strerror(status)));
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    error.clear();
    return true;
}
