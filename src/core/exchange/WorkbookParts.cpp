#include "exchange/WorkbookParts.h"

namespace WorkbookParts {

const char SheetPartName[] = "xl/worksheets/sheet1.xml";

namespace {

#define XML_HEADER "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
#define MAIN_NS "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
#define RELATIONSHIPS_NS "http://schemas.openxmlformats.org/package/2006/relationships"
#define DOCUMENT_RELATIONSHIP "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
#define CONTENT_TYPE "application/vnd.openxmlformats-officedocument.spreadsheetml."

const char ContentTypes[] = XML_HEADER
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" CONTENT_TYPE "sheet.main+xml\"/>"
    "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
    "ContentType=\"" CONTENT_TYPE "worksheet+xml\"/>"
    "<Override PartName=\"/xl/styles.xml\" ContentType=\"" CONTENT_TYPE "styles+xml\"/>"
    "</Types>";

const char PackageRelationships[] =
    XML_HEADER "<Relationships xmlns=\"" RELATIONSHIPS_NS "\">"
               "<Relationship Id=\"rId1\" Type=\"" DOCUMENT_RELATIONSHIP "/officeDocument\" "
               "Target=\"xl/workbook.xml\"/>"
               "</Relationships>";

const char Workbook[] =
    XML_HEADER "<workbook xmlns=\"" MAIN_NS "\" xmlns:r=\"" DOCUMENT_RELATIONSHIP "\">"
               "<bookViews><workbookView/></bookViews>"
               "<sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"
               "</workbook>";

const char WorkbookRelationships[] = XML_HEADER
    "<Relationships xmlns=\"" RELATIONSHIPS_NS "\">"
    "<Relationship Id=\"rId1\" Type=\"" DOCUMENT_RELATIONSHIP "/worksheet\" "
    "Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"" DOCUMENT_RELATIONSHIP "/styles\" Target=\"styles.xml\"/>"
    "</Relationships>";

// Style 0 is the default; style 1 differs only by number format 49, the built-in "@".
const char Styles[] = XML_HEADER
    "<styleSheet xmlns=\"" MAIN_NS "\">"
    "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/>"
    "</font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
    "</cellStyleXfs>"
    "<cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"49\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
    "applyNumberFormat=\"1\"/></cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";

const Part Parts[] = {
    {"[Content_Types].xml", QByteArray::fromRawData(ContentTypes, sizeof ContentTypes - 1)},
    {"_rels/.rels", QByteArray::fromRawData(PackageRelationships, sizeof PackageRelationships - 1)},
    {"xl/workbook.xml", QByteArray::fromRawData(Workbook, sizeof Workbook - 1)},
    {"xl/_rels/workbook.xml.rels",
     QByteArray::fromRawData(WorkbookRelationships, sizeof WorkbookRelationships - 1)},
    {"xl/styles.xml", QByteArray::fromRawData(Styles, sizeof Styles - 1)},
};

} // namespace

std::span<const Part> fixedParts() {
    return Parts;
}

} // namespace WorkbookParts
