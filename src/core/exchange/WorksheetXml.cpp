#include "exchange/WorksheetXml.h"

#include "exchange/CellReference.h"
#include "exchange/WorkbookParts.h"
#include "exchange/XlsxText.h"

#include <cmath>

namespace {

// Calibri 11, the default font: digits are 7 pixels wide and a cell adds 5 pixels of padding.
constexpr double DigitPixels = 7;
constexpr double PaddingPixels = 5;

// Column letters of the first columns, the ones a list uses, are made once.
constexpr int NamedColumns = 64;

bool isXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

} // namespace

WorksheetXml::WorksheetXml(int lastRow, int lastColumn, qsizetype cellCount) {
    xml.reserve(512 + cellCount * 64);
    xml += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
           "<dimension ref=\"A1";
    if (lastRow > 1 || lastColumn > 1) {
        xml += ':';
        xml += CellReference::columnLetters(std::max(lastColumn, 1));
        xml += QByteArray::number(std::max(lastRow, 1));
    }
    xml += "\"/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
           "<sheetFormatPr defaultRowHeight=\"15\"/>";
    columnNames.reserve(NamedColumns);
    for (int column = 1; column <= NamedColumns; ++column)
        columnNames.push_back(CellReference::columnLetters(column));
}

double WorksheetXml::storedWidth(double width) {
    if (width <= 0)
        return 0;
    const double pixels = width < 1 ? std::floor(width * (DigitPixels + PaddingPixels) + 0.5)
                                    : std::floor(width * DigitPixels + 0.5) + PaddingPixels;
    return std::floor(pixels / DigitPixels * 256) / 256;
}

void WorksheetXml::addColumnWidth(int column, double width) {
    if (!columnsOpen) {
        xml += "<cols>";
        columnsOpen = true;
    }
    const QByteArray index = QByteArray::number(column);
    xml += "<col min=\"" + index + "\" max=\"" + index + "\" width=\"" +
           QByteArray::number(storedWidth(width), 'g', 15) + "\" customWidth=\"1\"";
    if (width <= 0)
        xml += " hidden=\"1\"";
    xml += "/>";
}

void WorksheetXml::beginSheetData() {
    if (columnsOpen) {
        xml += "</cols>";
        columnsOpen = false;
    }
    xml += "<sheetData>";
    sheetDataOpen = true;
}

void WorksheetXml::addCell(int row, int column, const QString &text, bool textFormat) {
    if (!sheetDataOpen)
        beginSheetData();
    if (row != openRow) {
        if (openRow)
            xml += "</row>";
        openRow = row;
        rowNumber = QByteArray::number(row);
        xml += "<row r=\"" + rowNumber + "\">";
    }
    xml += "<c r=\"";
    xml += column <= NamedColumns ? columnNames[size_t(column - 1)]
                                  : CellReference::columnLetters(column);
    xml += rowNumber;
    xml += '"';
    if (textFormat)
        xml += " s=\"" + QByteArray::number(WorkbookParts::TextStyle) + '"';
    if (text.isEmpty()) {
        xml += "/>";
        return;
    }
    const QByteArray utf8 = XlsxText::encode(text);
    // Without the mark, spreadsheet applications drop spaces at either end.
    xml += isXmlSpace(utf8.front()) || isXmlSpace(utf8.back())
               ? " t=\"inlineStr\"><is><t xml:space=\"preserve\">"
               : " t=\"inlineStr\"><is><t>";
    appendText(utf8);
    xml += "</t></is></c>";
}

void WorksheetXml::appendText(const QByteArray &utf8) {
    const char *run = utf8.constBegin();
    for (const char *p = run; p != utf8.constEnd(); ++p) {
        const char *entity = *p == '&'   ? "&amp;"
                             : *p == '<' ? "&lt;"
                             : *p == '>' ? "&gt;"
                                         : nullptr;
        if (!entity)
            continue;
        xml.append(run, p - run);
        xml += entity;
        run = p + 1;
    }
    xml.append(run, utf8.constEnd() - run);
}

QByteArray WorksheetXml::finish() {
    if (!sheetDataOpen)
        beginSheetData();
    if (openRow)
        xml += "</row>";
    xml += "</sheetData><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" "
           "header=\"0.3\" footer=\"0.3\"/></worksheet>";
    return std::move(xml);
}
