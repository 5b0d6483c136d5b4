#include "AreaDiffCommand.h"
#include "BackupReport.h"
#include "CliRun.h"
#include "CommandTable.h"
#include "RecordOutput.h"
#include "Session.h"
#include "TerminalOperator.h"
#include "exchange/CsvFile.h"
#include "exchange/WorkbookWriter.h"
#include "numbers/NumberListEdit.h"
#include "numbers/NumberListExchange.h"
#include "numbers/NumberRecord.h"
#include "numbers/NumberTable.h"
#include "numbers/NumberWindowText.h"
#include "numbers/TtelephoneSend.h"

#include <QRegularExpression>
#include <optional>

namespace {

int usage(CliRun &run, const QString &problem) {
    run.person().message(QStringLiteral("velmora-cli: ") + problem, {}, Operator::Icon::Error);
    return ExitUsage;
}

void print(CliRun &run, const NumberTable &table) {
    QStringList columns;
    // The Delete mark is the editor's, not the device's.
    for (int c = 0; c < NumberTable::Delete; ++c)
        columns << table.cell(c, 0).trimmed();
    QList<QStringList> records;
    for (int r = 1; r <= NumberTable::EntryCount; ++r) {
        if (!table.cell(NumberTable::Number, r).isEmpty())
            records << table.rowTexts(r).mid(0, NumberTable::Delete);
    }
    RecordOutput::print(run, columns, records);
}

// Saves the table (its checks first); the save reads back what it wrote, and with --verify every
// page. With --full it writes every page.
int saveList(CliRun &run, TtelephoneSend &numbers) {
    numbers.setWriteAllPages(run.isSet(QStringLiteral("full")));
    numbers.setReadBackAllPages(run.isSet(QStringLiteral("verify")));
    return run.await([&] { numbers.SaveList(); }).ok ? ExitSuccess : ExitFailure;
}

// Reads the list, lets `change` edit it as the editor would, and saves it.
int changeList(CliRun &run, const std::function<bool(NumberTable &)> &change) {
    if (!run.login().ok)
        return ExitFailure;
    NumberTable table;
    TtelephoneSend numbers(run.session(), table);
    const auto bound = run.session().bind(numbers);
    int result = ExitFailure;
    if (run.await([&] { numbers.StartRead(); }).ok && change(table))
        result = saveList(run, numbers);
    reportBackup(run, numbers.saveGuard());
    return result;
}

} // namespace

// A number list workbook (or its comma-separated text, for a .csv or .cvs FILE), checked whole
// before the device is touched, becomes the device's list.
// The device's list is read first, for the backup and as what the review compares with.
int importNumbers(CliRun &run, const QString &path) {
    NumberTable loaded;
    if (!NumberListExchange(loaded, run.session(), QString()).loadFile(path) || !run.login().ok)
        return ExitFailure;
    NumberTable table;
    TtelephoneSend numbers(run.session(), table);
    const auto bound = run.session().bind(numbers);
    int result = ExitFailure;
    if (run.isSet(QStringLiteral("no-backup")) ||
        run.await([&numbers] { numbers.StartRead(); }).ok) {
        table.copyCellsFrom(loaded);
        result = saveList(run, numbers);
    }
    reportBackup(run, numbers.saveGuard());
    return result;
}

namespace {

// Reads the list into a workbook, or into comma-separated text for a .cvs or .csv FILE.
int exportNumbers(CliRun &run, const QString &path) {
    if (!run.login().ok)
        return ExitFailure;
    NumberTable table;
    TtelephoneSend numbers(run.session(), table);
    const auto bound = run.session().bind(numbers);
    const bool ok = run.await([&numbers] { numbers.StartRead(); }).ok;
    if (!ok)
        return ExitFailure;
    NumberListExchange exchange(table, run.session(), QString());
    const bool csv = CsvFile::isCsv(path);
    if (!(csv ? exchange.saveCsv(path) : exchange.saveWorkbook(path)))
        return ExitFailure;
    run.out() << (csv ? path : WorkbookWriter::withDefaultExtension(path)) << '\n';
    run.out().flush();
    return ExitSuccess;
}

int readNumbers(CliRun &run) {
    if (!run.login().ok)
        return ExitFailure;
    NumberTable table;
    TtelephoneSend numbers(run.session(), table);
    const auto bound = run.session().bind(numbers);
    const bool ok = run.await([&numbers] { numbers.ReadList(); }).ok;
    if (!ok)
        return ExitFailure;
    print(run, table);
    return ExitSuccess;
}

int addNumber(CliRun &run, const QString &number) {
    // A "+" alone, or one between digits, calls nobody.
    static const QRegularExpression form(QStringLiteral(R"(^\+?[0-9]+$)"));
    if (!form.match(number).hasMatch() || !NumberRecord::isDeviceNumber(number))
        return usage(run, QStringLiteral("\"%1\" is not a number the device takes: digits, "
                                         "perhaps after a \"+\", at most 22 characters")
                              .arg(number));
    const bool from = run.isSet(QStringLiteral("from"));
    const bool to = run.isSet(QStringLiteral("to"));
    std::optional<NumberListEdit::Window> window;
    if (from || to) {
        const auto start = NumberWindowText::typedMoment(run.value(QStringLiteral("from")));
        const auto end = NumberWindowText::typedMoment(run.value(QStringLiteral("to")));
        if (!start || !end)
            return usage(run, QStringLiteral("--from and --to take \"YYYY/MM/DD HH:MM\", both "
                                             "of them, and dates and times must be real"));
        window = NumberListEdit::Window{*start, *end};
    }
    return changeList(run, [&](NumberTable &table) {
        if (NumberListEdit::add(table, number, window) != 0)
            return true;
        run.person().message(QStringLiteral("The number list is full"), {}, Operator::Icon::Error);
        return false;
    });
}

int removeNumber(CliRun &run, const QString &number) {
    return changeList(run, [&](NumberTable &table) {
        if (NumberListEdit::remove(table, number) != 0)
            return true;
        run.person().message(QStringLiteral("%1 is not in the number list").arg(number), {},
                             Operator::Icon::Error);
        return false;
    });
}

} // namespace

CliCommand numbersCommand() {
    CliCommand c;
    c.name = QStringLiteral("numbers");
    c.arguments =
        QStringLiteral("read | add NUMBER | remove NUMBER | export FILE | import FILE | diff FILE");
    c.summary = QStringLiteral(
        "Log in, then: read prints each entry of the authorized number list as serial, number, "
        "start date, start time, end date, end time and Always; add puts NUMBER into the row "
        "that holds it, else the first empty row, valid from --from to --to or Always without "
        "them; remove marks the rows that hold NUMBER for deletion. add and remove read the "
        "whole list, change it, check it and save it; export reads it into the workbook FILE "
        "(comma-separated text for a .cvs or .csv FILE); import checks the workbook FILE (or "
        "the comma-separated text of a .cvs or .csv FILE) and saves it as the whole list; "
        "a save writes only the pages that differ from the list it read and reads them back; "
        "--verify reads every page back. Every save asks first, summing up the changes, and "
        "backs up the list it read in the configuration folder (its path goes to the error "
        "stream); import reads the list first for that. diff reads the list and prints each "
        "entry that differs from the workbook, comma-separated text or backup FILE: serial, "
        "device, file.");
    c.minArguments = 1;
    c.maxArguments = 2;
    c.options = {
        {QStringLiteral("from"), QStringLiteral("add: valid from this moment."),
         QStringLiteral("YYYY/MM/DD HH:MM")},
        {QStringLiteral("to"), QStringLiteral("add: valid until this moment."),
         QStringLiteral("YYYY/MM/DD HH:MM")},
        {QStringLiteral("verify"), QStringLiteral("add, remove, import: read every page back, "
                                                  "not only the written ones, and fail when one "
                                                  "differs.")},
        {QStringLiteral("full"), QStringLiteral("add, remove, import: write every page, not only "
                                                "those that differ from the device.")},
        {QStringLiteral("no-backup"), QStringLiteral("import: save without reading the device's "
                                                     "list first for a backup.")},
        RecordOutput::formatOption(),
    };
    c.run = [](CliRun &run) {
        const QStringList &args = run.arguments();
        const QString action = args.first();
        if (action == QStringLiteral("read") && args.size() == 1)
            return readNumbers(run);
        if (action == QStringLiteral("add") && args.size() == 2)
            return addNumber(run, args.at(1));
        if (action == QStringLiteral("remove") && args.size() == 2)
            return removeNumber(run, args.at(1));
        if (action == QStringLiteral("export") && args.size() == 2)
            return exportNumbers(run, args.at(1));
        if (action == QStringLiteral("import") && args.size() == 2)
            return importNumbers(run, args.at(1));
        if (action == QStringLiteral("diff") && args.size() == 2)
            return diffNumbers(run, args.at(1));
        return usage(run, QStringLiteral("usage: velmora-cli numbers read | add NUMBER "
                                         "[--from \"YYYY/MM/DD HH:MM\" --to \"YYYY/MM/DD HH:MM\"] "
                                         "[--verify] | remove NUMBER [--verify] | export FILE | "
                                         "import FILE [--verify] | diff FILE"));
    };
    return c;
}
