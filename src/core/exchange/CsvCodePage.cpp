#include "exchange/CsvCodePage.h"

#include "StringGrid.h"
#include "exchange/CodePage.h"

QString CsvCodePage::unheldCell(const StringGrid &grid, const CodePage &codePage) {
    for (int r = 1; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.colCount(); ++c) {
            const QString text = grid.cell(c, r);
            const qsizetype at = codePage.firstUnheld(text);
            if (at >= 0)
                return QStringLiteral("Row %1, column \"%2\": %3, so a CSV file cannot keep this "
                                      "text. Nothing was written; export a workbook instead.")
                    .arg(r)
                    .arg(grid.cell(c, 0), codePage.unheldText(text, at));
        }
    }
    return {};
}
