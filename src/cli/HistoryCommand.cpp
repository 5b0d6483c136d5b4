#include "CliRun.h"
#include "CommandTable.h"
#include "RecordOutput.h"
#include "Session.h"
#include "TerminalOperator.h"
#include "exchange/CsvFile.h"
#include "history/HistoryExport.h"
#include "history/HistoryFilter.h"
#include "history/HistoryLoad.h"
#include "history/HistoryTable.h"
#include "history/THistoryInf.h"

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <optional>

namespace {

const QString DeleteWarning = QStringLiteral(
    "Warning: Thie operation will DELETE all of the historical data on GSM device! ");

int usage(CliRun &run, const QString &problem) {
    run.person().message(QStringLiteral("velmora-cli: ") + problem, {}, Operator::Icon::Error);
    return ExitUsage;
}

// "YYYY-MM-DD H:MM:SS", as the pickers show a moment.
std::optional<QDateTime> parseMoment(const QString &text) {
    static const QRegularExpression form(
        QStringLiteral(R"(^(\d{4})-(\d{2})-(\d{2}) (\d{1,2}):(\d{2}):(\d{2})$)"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

// The window of --from and --to: none without them; `bad` names what is wrong with them.
std::optional<HistoryWindow> windowOf(CliRun &run, QString &bad) {
    const bool from = run.isSet(QStringLiteral("from"));
    const bool to = run.isSet(QStringLiteral("to"));
    bad.clear();
    if (!from && !to)
        return std::nullopt;
    const auto start = parseMoment(run.value(QStringLiteral("from")));
    const auto end = parseMoment(run.value(QStringLiteral("to")));
    if (!start || !end) {
        bad = QStringLiteral("--from and --to take \"YYYY-MM-DD H:MM:SS\", both of them");
        return std::nullopt;
    }
    const HistoryWindow window{start->date(), start->time(), end->date(), end->time()};
    // Known before the device is asked: reading 500 pages first would only end the same way.
    if (!HistoryFilter::isValid(window)) {
        bad = QStringLiteral("Time selection error: --to must come after --from");
        return std::nullopt;
    }
    return window;
}

// Narrows the table to the window, if one was given. False after the reason was shown.
bool narrow(CliRun &run, HistoryTable &table, const std::optional<HistoryWindow> &window) {
    if (!window)
        return true;
    const HistoryFilter::Result result = HistoryFilter::apply(table, *window);
    if (!result.filtered)
        run.person().message(result.message);
    return result.filtered;
}

// Reads the whole history and, with a window, narrows it. False after the reason was shown.
bool readHistory(CliRun &run, HistoryTable &table, const std::optional<HistoryWindow> &window) {
    if (!run.login().ok)
        return false;
    THistoryInf history(run.session(), table);
    const auto bound = run.session().bind(history);
    const bool ok = run.await([&history] { history.StartRead(); }).ok;
    run.person().finishStatusLine();
    return ok && narrow(run, table, window);
}

void print(CliRun &run, const HistoryTable &table) {
    QStringList columns;
    for (int c = HistoryTable::Date; c < HistoryTable::ColumnCount; ++c)
        columns << table.cell(c, 0);
    QList<QStringList> records;
    for (int r = 1; r <= HistoryTable::RecordCount; ++r) {
        if (!table.cell(HistoryTable::RecordNo, r).isEmpty())
            records << table.recordTexts(r).mid(1);
    }
    RecordOutput::print(run, columns, records);
}

int readCommand(CliRun &run, const std::optional<HistoryWindow> &window) {
    HistoryTable table;
    if (!readHistory(run, table, window))
        return ExitFailure;
    print(run, table);
    return ExitSuccess;
}

// An exported history file, printed as read prints the device's.
int showCommand(CliRun &run, const QString &path, const std::optional<HistoryWindow> &window) {
    HistoryTable table;
    if (const Result<void> loaded = HistoryLoad::load(path, table); !loaded) {
        run.person().message(loaded.reason(), {}, Operator::Icon::Error);
        return ExitFailure;
    }
    if (!narrow(run, table, window))
        return ExitFailure;
    print(run, table);
    return ExitSuccess;
}

int exportCommand(CliRun &run, const QString &path, const std::optional<HistoryWindow> &window) {
    const bool workbook = QFileInfo(path).suffix().toLower() == QLatin1String("xlsx");
    if (!workbook && !CsvFile::isCsv(path))
        return usage(run, QStringLiteral("history export writes a .xlsx workbook or a .cvs/.csv "
                                         "file, not \"%1\"")
                              .arg(path));
    HistoryTable table;
    if (!readHistory(run, table, window))
        return ExitFailure;
    HistoryExport files(table, run.session().statusBar(), run.session().progressBar());
    const Result<void> written = workbook ? files.writeWorkbook(path) : files.writeCsv(path);
    run.person().finishStatusLine();
    if (!written) {
        run.person().message(written.reason(), {}, Operator::Icon::Error);
        return ExitFailure;
    }
    return ExitSuccess;
}

int deleteCommand(CliRun &run) {
    if (!run.login().ok)
        return ExitFailure;
    Session &session = run.session();
    const bool ok = run.await([&session] {
                           if (session.person().warnOkCancel(DeleteWarning))
                               session.sendDeleteHistory();
                       })
                        .ok;
    return ok ? ExitSuccess : ExitFailure;
}

} // namespace

CliCommand historyCommand() {
    CliCommand c;
    c.name = QStringLiteral("history");
    c.arguments = QStringLiteral("read | show FILE | export FILE | delete");
    c.summary = QStringLiteral(
        "Log in, then: read reads the device's 1000 history slots and prints each event kept as "
        "date, time, from, action, executant and content, oldest slot first, or with --from "
        "and --to only those strictly between them, by date and time; export reads likewise and "
        "writes FILE, a workbook (.xlsx) or comma-separated (.cvs, .csv); delete erases the "
        "history on the device after asking. show needs no device: it prints the history FILE "
        "that export (or the window) wrote, as read prints it, --from and --to included.");
    c.minArguments = 1;
    c.maxArguments = 2;
    c.needsPort = false; // show reads a file; the other actions ask for --port themselves
    c.options = {
        {QStringLiteral("from"),
         QStringLiteral("read, show, export: only events after this moment."),
         QStringLiteral("YYYY-MM-DD H:MM:SS")},
        {QStringLiteral("to"),
         QStringLiteral("read, show, export: only events before this moment."),
         QStringLiteral("YYYY-MM-DD H:MM:SS")},
        RecordOutput::formatOption(),
    };
    c.run = [](CliRun &run) {
        const QStringList &args = run.arguments();
        const QString action = args.first();
        QString bad;
        const std::optional<HistoryWindow> window = windowOf(run, bad);
        if (!bad.isEmpty())
            return usage(run, bad);
        if (action == QStringLiteral("show") && args.size() == 2)
            return showCommand(run, args.at(1), window);
        const bool read = action == QStringLiteral("read") && args.size() == 1;
        const bool write = action == QStringLiteral("export") && args.size() == 2;
        const bool erase = action == QStringLiteral("delete") && args.size() == 1 && !window;
        // Only show works without the device.
        if ((read || write || erase) && run.value(QStringLiteral("port")).trimmed().isEmpty())
            return usage(run, QStringLiteral("history %1 needs --port").arg(action));
        if (read)
            return readCommand(run, window);
        if (write)
            return exportCommand(run, args.at(1), window);
        if (erase)
            return deleteCommand(run);
        return usage(run, QStringLiteral("usage: velmora-cli history read | show FILE | export "
                                         "FILE [--from \"YYYY-MM-DD H:MM:SS\" --to \"YYYY-MM-DD "
                                         "H:MM:SS\"] | delete"));
    };
    return c;
}
