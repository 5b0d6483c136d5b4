#include "exchange/WorkbookWriter.h"

#include "exchange/AtomicFile.h"
#include "exchange/WorkbookParts.h"
#include "exchange/WorksheetXml.h"
#include "exchange/ZipWriter.h"

#include <QDir>
#include <QFileInfo>

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
    const QString name = QFileInfo(path).fileName();
    if (!name.contains(QLatin1Char('.')))
        return path + QStringLiteral(".xlsx");
    // What is written is an xlsx file: under the legacy extension a spreadsheet program would
    // warn that format and name disagree.
    if (name.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive))
        return path.chopped(4) + QStringLiteral(".xlsx");
    return path;
}

Result<void> WorkbookWriter::saveAs(const QString &path) {
    const QString target = withDefaultExtension(path);
    auto failWith = [&](const QString &reason) {
        return Failure{
            QStringLiteral("Cannot save \"%1\": %2").arg(QDir::toNativeSeparators(target), reason)};
    };
    if (!rejected.isEmpty())
        return failWith(rejected);

    const QByteArray sheet = sheetXml();
    ZipWriter zip;
    for (const WorkbookParts::Part &part : WorkbookParts::fixedParts())
        zip.add(part.name, part.content);
    zip.add(WorkbookParts::SheetPartName, sheet);
    const Result<QByteArray> container = zip.finish();
    if (!container)
        return failWith(container.reason());
    return AtomicFile::writeAll(target, container.value());
}

QByteArray WorkbookWriter::sheetXml() const {
    int lastColumn = 0;
    qsizetype cellCount = 0;
    for (const auto &cells : rows) {
        lastColumn = std::max(lastColumn, int(cells.size()));
        cellCount += qsizetype(cells.size());
    }
    WorksheetXml sheet(int(rows.size()), lastColumn, cellCount);
    for (const auto &[column, width] : widths)
        sheet.addColumnWidth(column, width);
    for (size_t r = 0; r < rows.size(); ++r) {
        const auto &cells = rows[r];
        for (size_t c = 0; c < cells.size(); ++c) {
            if (cells[c].textFormat || !cells[c].text.isEmpty())
                sheet.addCell(int(r + 1), int(c + 1), cells[c].text, cells[c].textFormat);
        }
    }
    return sheet.finish();
}
