#include "CsvLine.h"

namespace CsvLine {

QByteArray field(const QByteArray &text) {
    const bool quoted =
        text.contains(',') || text.contains('"') || text.contains('\r') || text.contains('\n');
    if (!quoted)
        return text;
    QByteArray out = text;
    out.replace("\"", "\"\"");
    return '"' + out + '"';
}

QByteArray line(const QList<QByteArray> &fields) {
    QByteArray out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        out += field(fields[i]);
    }
    return out + "\r\n";
}

} // namespace CsvLine
