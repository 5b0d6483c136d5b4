#include "RecordOutput.h"

#include "CliRun.h"
#include "TerminalOperator.h"
#include "exchange/CodePage.h"
#include "exchange/CsvLine.h"

namespace {

QString tsvField(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString jsonString(const QString &text) {
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '"' || u == '\\')
            out += u'\\' + QString(c);
        else if (u == '\n')
            out += QStringLiteral("\\n");
        else if (u == '\r')
            out += QStringLiteral("\\r");
        else if (u == '\t')
            out += QStringLiteral("\\t");
        else if (u < 0x20)
            out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + u'"';
}

QString tsv(const QList<QStringList> &records) {
    QString out;
    for (const QStringList &record : records) {
        QStringList fields;
        for (const QString &f : record)
            fields << tsvField(f);
        out += fields.join(u'\t') + u'\n';
    }
    return out;
}

QString csv(const QList<QStringList> &records) {
    QString out;
    for (const QStringList &record : records) {
        QList<QByteArray> fields;
        for (const QString &f : record)
            fields << f.toUtf8();
        out += QString::fromUtf8(CsvLine::line(fields));
    }
    return out;
}

QString json(const QStringList &columns, const QList<QStringList> &records) {
    QStringList objects;
    for (const QStringList &record : records) {
        QStringList members;
        for (qsizetype i = 0; i < columns.size() && i < record.size(); ++i)
            members << jsonString(columns.at(i)) + QStringLiteral(": ") + jsonString(record.at(i));
        objects << u'{' + members.join(QStringLiteral(", ")) + u'}';
    }
    if (objects.isEmpty())
        return QStringLiteral("[]\n");
    return QStringLiteral("[\n") + objects.join(QStringLiteral(",\n")) + QStringLiteral("\n]\n");
}

} // namespace

namespace RecordOutput {

QCommandLineOption formatOption() {
    return {QStringLiteral("format"),
            QStringLiteral("Print the records as tsv (the default: TAB between "
                           "fields, and \\t \\n \\r \\\\ inside them), csv (quoted as the "
                           "exports are) or json (an array of objects keyed by column)."),
            QStringLiteral("tsv|csv|json"), QStringLiteral("tsv")};
}

std::optional<Format> format(const QString &name) {
    if (name == QLatin1String("tsv"))
        return Format::Tsv;
    if (name == QLatin1String("csv"))
        return Format::Csv;
    if (name == QLatin1String("json"))
        return Format::Json;
    return std::nullopt;
}

QString text(Format format, const QStringList &columns, const QList<QStringList> &records) {
    switch (format) {
    case Format::Csv:
        return csv(records);
    case Format::Json:
        return json(columns, records);
    case Format::Tsv:
        break;
    }
    return tsv(records);
}

void print(CliRun &run, const QStringList &columns, const QList<QStringList> &records) {
    // CliApp refuses any other name before the command runs.
    const Format chosen = format(run.value(QStringLiteral("format"))).value_or(Format::Tsv);
    run.out() << text(chosen, columns, records);
    run.out().flush();
    for (qsizetype r = 0; r < records.size(); ++r) {
        for (qsizetype c = 0; c < records.at(r).size() && c < columns.size(); ++c) {
            if (records.at(r).at(c).contains(QChar::ReplacementCharacter))
                run.person().message(
                    QStringLiteral("Record %1, %2: bytes that code page %3 has no character for "
                                   "are printed as U+FFFD")
                        .arg(r + 1)
                        .arg(columns.at(c))
                        .arg(CodePage::current().number()));
        }
    }
}

} // namespace RecordOutput
