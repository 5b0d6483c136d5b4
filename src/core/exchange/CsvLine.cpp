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

bool parse(const QByteArray &text, QList<QList<QByteArray>> &lines) {
    enum class State { FieldStart, Plain, Quoted, AfterQuote };
    lines.clear();
    QList<QList<QByteArray>> out;
    QList<QByteArray> fields;
    QByteArray field;
    State state = State::FieldStart;
    bool lineStarted = false;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = text[i];
        if (state == State::Quoted) {
            if (c == '"')
                state = State::AfterQuote;
            else
                field += c;
            continue;
        }
        if (state == State::AfterQuote && c == '"') {
            field += '"';
            state = State::Quoted;
            continue;
        }
        // The CR of a CR LF belongs to the line ending that the LF completes.
        if (c == '\r' && i + 1 < size && text[i + 1] == '\n')
            continue;
        if (c == ',' || c == '\n') {
            fields << field;
            field.clear();
            state = State::FieldStart;
            lineStarted = c == ',';
            if (c == '\n') {
                out << fields;
                fields.clear();
            }
            continue;
        }
        if (state == State::AfterQuote)
            return false;
        lineStarted = true;
        if (state == State::FieldStart && c == '"') {
            state = State::Quoted;
            continue;
        }
        field += c;
        state = State::Plain;
    }
    if (state == State::Quoted)
        return false;
    if (lineStarted || state != State::FieldStart) {
        fields << field;
        out << fields;
    }
    lines.swap(out);
    return true;
}

} // namespace CsvLine
