#pragma once

#include <QByteArray>
#include <QString>
#include <QVarLengthArray>
#include <QXmlStreamReader>

#include <functional>

// One cell of a worksheet part as its XML gives it, before its type and style are applied.
struct CellXml {
    int row = 0;
    int column = 0;
    QByteArray type;  // the t attribute: "s", "str", "inlineStr", "b", "e", "d", "n" or none
    QByteArray style; // the s attribute, when hasStyle
    bool hasStyle = false;
    QByteArray value; // the text of <v>, when hasValue
    bool hasValue = false;
    QByteArray inlineText; // the joined texts of <is>, still _xHHHH_-escaped
};

// Reads a worksheet part as it is unpacked, piece by piece, and hands each cell to `sink` as
// soon as its element ends: the part is never held whole, nor turned into a tree. Names are
// compared by their local name, whatever prefix a writer chose. Rows and cells without a
// reference take the place after the one before.
class WorksheetStream {
public:
    // `sink` returns false to stop the read, having set the reason itself.
    using Sink = std::function<bool(const CellXml &)>;

    WorksheetStream(QString partName, Sink sink, QString *reason);

    // False on malformed XML, a bad row or cell reference, or a stop by the sink.
    bool feed(const char *data, qsizetype size);
    // False when the part ended before its document did, or its root is not a worksheet.
    bool finish();

private:
    enum class Kind { Worksheet, SheetData, Row, Cell, Value, Inline, Run, Text, Other };

    bool pump();
    bool start();
    bool fail(const QString &why);
    bool xmlError();
    Kind kindOf(QStringView localName) const;

    QString part;
    Sink sink;
    QString *reason;
    QXmlStreamReader xml;
    QVarLengthArray<Kind, 16> open;
    bool sawRoot = false;
    int rowNumber = 0;
    int column = 0;
    CellXml cell;
};
