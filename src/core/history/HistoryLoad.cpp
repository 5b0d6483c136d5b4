#include "history/HistoryLoad.h"

#include "exchange/CodePage.h"
#include "exchange/CsvFile.h"
#include "exchange/CsvLine.h"
#include "exchange/FileDialogs.h"
#include "exchange/WorkbookReader.h"
#include "history/HistoryTable.h"
#include "operator/Operator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>

namespace {

constexpr const char *OpenFilter = "History file|*.xlsx;*.cvs;*.csv|(*.*)|*.*";
// A full export of 1000 records is under 200 kB.
constexpr qint64 MaxCsvBytes = 1024 * 1024;
constexpr int CsvFields = 10;

Failure notTheLayout(const QString &path, const QString &why) {
    return {QStringLiteral("\"%1\" is not a history exported by this program: %2")
                .arg(QDir::toNativeSeparators(path), why)};
}

Result<void> loadWorkbook(const QString &path, QList<QStringList> &records) {
    WorkbookReader reader;
    if (Result<void> opened = reader.open(path); !opened)
        return opened;
    const HistoryTable headings;
    for (int c = 0; c < HistoryTable::ColumnCount; ++c) {
        if (reader.displayedText(1, c + 1) != headings.cell(c, 0))
            return notTheLayout(path, QStringLiteral("row 1 does not hold the headings Serial, "
                                                     "No., Date, Time, From, Action, Executant, "
                                                     "Content"));
    }
    bool outside = false;
    reader.sheet().forEach([&outside](int row, int column, const QString &shown, const QString &) {
        if (!shown.isEmpty() &&
            (row > HistoryTable::RecordCount + 1 || column > HistoryTable::ColumnCount))
            outside = true;
    });
    if (outside)
        return notTheLayout(path, QStringLiteral("it has cells beyond column H or row 1001"));
    for (int r = 1; r <= HistoryTable::RecordCount; ++r) {
        QStringList texts;
        for (int c = HistoryTable::RecordNo; c < HistoryTable::ColumnCount; ++c)
            texts << reader.displayedText(r + 1, c + 1);
        records << texts;
    }
    return {};
}

Result<void> loadCsv(const QString &path, QList<QStringList> &records) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{QStringLiteral("Cannot read \"%1\": %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString())};
    const QByteArray data = file.read(MaxCsvBytes + 1);
    if (data.size() > MaxCsvBytes)
        return notTheLayout(path, QStringLiteral("it is larger than an export of 1000 records"));
    QList<QList<QByteArray>> lines;
    if (!CsvLine::parse(data, lines))
        return notTheLayout(path, QStringLiteral("a quoted field is not closed"));
    const CodePage codePage = CodePage::current();
    int lastRow = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QList<QByteArray> &fields = lines.at(i);
        bool isNumber = false;
        const int row = fields.isEmpty() ? 0 : fields.first().toInt(&isNumber);
        // The export writes rows in grid order, each with its serial, ten fields, the last two
        // empty, and only rows that hold a record number.
        if (fields.size() != CsvFields || !fields.at(8).isEmpty() || !fields.at(9).isEmpty() ||
            !isNumber || row <= lastRow || row > HistoryTable::RecordCount ||
            fields.at(HistoryTable::RecordNo).isEmpty())
            return notTheLayout(path, QStringLiteral("line %1 is not serial, No., Date, Time, "
                                                     "From, Action, Executant, Content and two "
                                                     "empty fields, in the order of the serials")
                                          .arg(i + 1));
        while (records.size() < row - 1)
            records << QStringList();
        QStringList texts;
        for (int c = HistoryTable::RecordNo; c < HistoryTable::ColumnCount; ++c)
            texts << codePage.decode(fields.at(c));
        records << texts;
        lastRow = row;
    }
    return {};
}

} // namespace

namespace HistoryLoad {

Result<void> load(const QString &path, HistoryTable &table) {
    // A device node or a FIFO would never end; only a plain file can be an export.
    if (!QFileInfo(path).isFile())
        return Failure{QStringLiteral("Cannot read \"%1\": it is not a regular file")
                           .arg(QDir::toNativeSeparators(path))};
    QList<QStringList> records;
    Result<void> loaded =
        CsvFile::isCsv(path) ? loadCsv(path, records) : loadWorkbook(path, records);
    if (loaded)
        table.replaceRecords(records);
    return loaded;
}

bool choose(Operator &op, const QString &folder, HistoryTable &table) {
    const QString path = op.chooseOpenFile(QStringLiteral("Load"), folder,
                                           FileDialogs::filter(QLatin1String(OpenFilter)));
    if (path.isEmpty())
        return false;
    const Result<void> loaded = load(path, table);
    if (!loaded)
        op.message(loaded.reason(), {}, Operator::Icon::Error);
    return loaded.ok();
}

} // namespace HistoryLoad
