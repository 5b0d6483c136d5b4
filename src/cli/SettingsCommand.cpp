#include "AreaDiffCommand.h"
#include "BackupReport.h"
#include "CliRun.h"
#include "CommandTable.h"
#include "RecordOutput.h"
#include "Session.h"
#include "TerminalOperator.h"
#include "exchange/CodePage.h"
#include "exchange/WorkbookWriter.h"
#include "settings/SettingsArea.h"
#include "settings/SettingsTable.h"
#include "settings/SettingsTyping.h"
#include "settings/TBasicInf.h"
#include "settings/Tcustomstringgrid_basis.h"

namespace {

struct Change {
    int row = 0;
    QString value; // the text for a value row, the item's text for a choice row
    int item = -1; // the item index for a choice row
};

// A choice is given as its item index ("1") or its item text, whole ("1:NO") or
// without the index ("NO"); the blank some items end with may be left out.
int choiceItem(int row, const QString &given) {
    const QStringList items = SettingsTable::choiceItems(row);
    bool isNumber = false;
    const int index = given.toInt(&isNumber);
    if (isNumber)
        return index >= 0 && index < items.size() ? index : -1;
    for (int i = 0; i < items.size(); ++i) {
        const QString item = items.at(i).trimmed();
        if (item == given.trimmed() || item.section(u':', 1) == given.trimmed())
            return i;
    }
    return -1;
}

// Parses N=VALUE arguments into changes the editor would accept as they are.
// Returns what is wrong with the first one that is not, or an empty text.
QString parseChanges(const QStringList &arguments, QList<Change> &changes) {
    for (const QString &argument : arguments) {
        const qsizetype eq = argument.indexOf(u'=');
        bool isNumber = false;
        const int row = eq > 0 ? argument.left(eq).toInt(&isNumber) : 0;
        if (!isNumber || row < 1 || row > SettingsTable::ParameterCount)
            return QStringLiteral("\"%1\" is not N=VALUE with N from 1 to 22").arg(argument);
        const QString value = argument.mid(eq + 1);
        Change change{row, value, -1};
        if (SettingsTable::isChoiceRow(row)) {
            change.item = choiceItem(row, value);
            if (change.item < 0)
                return QStringLiteral("row %1 takes one of: %2")
                    .arg(row)
                    .arg(SettingsTable::choiceItems(row).join(QStringLiteral(", ")));
        } else {
            // An empty number cell would reach the device as FF FF.
            if (value.isEmpty() && SettingsTyping::ruleFor(row).digitsOnly)
                return QStringLiteral("row %1 needs a value").arg(row);
            const QString kept = SettingsTyping::typeIntoEmptyCell(row, value);
            if (kept != value)
                return QStringLiteral("row %1 does not take \"%2\": the editor would keep \"%3\"")
                    .arg(row)
                    .arg(value, kept);
        }
        changes << change;
    }
    return {};
}

void print(CliRun &run, const SettingsTable &table) {
    QList<QStringList> records;
    for (int row = 1; row <= SettingsTable::ParameterCount; ++row)
        records << QStringList{QString::number(row), table.cell(SettingsTable::CaptionColumn, row),
                               table.parameterText(row)};
    RecordOutput::print(
        run, {QStringLiteral("Row"), QStringLiteral("Items"), QStringLiteral("Content")}, records);
}

int readSettings(CliRun &run) {
    if (!run.login().ok)
        return ExitFailure;
    SettingsTable table;
    TBasicInf basic(run.session(), table);
    const auto bound = run.session().bind(basic);
    const bool ok = run.await([&basic] { basic.ReadSettings(); }).ok;
    if (!ok)
        return ExitFailure;
    print(run, table);
    return ExitSuccess;
}

// Reads both pages, applies the changes, saves both pages and reads them back:
// the device must then hold what was saved.
int setSettings(CliRun &run) {
    QList<Change> changes;
    const QString problem = parseChanges(run.arguments().mid(1), changes);
    if (!problem.isEmpty()) {
        run.person().message(QStringLiteral("velmora-cli: ") + problem, {}, Operator::Icon::Error);
        return ExitUsage;
    }
    if (!run.login().ok)
        return ExitFailure;
    SettingsTable table;
    TBasicInf basic(run.session(), table);
    const auto bound = run.session().bind(basic);
    const auto step = [&run](const std::function<void()> &start) { return run.await(start).ok; };
    int result = ExitFailure;
    if (step([&basic] { basic.StartRead(); })) {
        for (const Change &c : changes) {
            if (c.item >= 0) {
                table.setChoiceIndex(c.row, c.item);
                table.leaveChoice(c.row);
            } else {
                table.setValue(c.row, c.value);
            }
        }
        QStringList saved;
        for (int row = 1; row <= SettingsTable::ParameterCount; ++row)
            saved << table.parameterText(row);
        basic.setWriteAllPages(run.isSet(QStringLiteral("full")));
        if (step([&basic] { basic.SaveSettings(); }) && step([&basic] { basic.StartRead(); })) {
            result = ExitSuccess;
            for (int row = 1; row <= SettingsTable::ParameterCount; ++row) {
                if (table.parameterText(row) == saved.at(row - 1))
                    continue;
                run.person().message(QStringLiteral("row %1 reads back \"%2\", saved \"%3\"")
                                         .arg(row)
                                         .arg(table.parameterText(row), saved.at(row - 1)));
                result = ExitFailure;
            }
        }
    }
    reportBackup(run, basic.saveGuard());
    return result;
}

// Reads both pages and writes them to a profile workbook.
int exportSettings(CliRun &run, const QString &path) {
    if (!run.login().ok)
        return ExitFailure;
    SettingsTable table;
    TBasicInf basic(run.session(), table);
    const auto bound = run.session().bind(basic);
    const bool ok = run.await([&basic] { basic.StartRead(); }).ok;
    if (!ok || !Tcustomstringgrid_basis(table, run.session(), QString()).saveProfile(path))
        return ExitFailure;
    run.out() << WorkbookWriter::withDefaultExtension(path) << '\n';
    run.out().flush();
    return ExitSuccess;
}

// The settings area as a save writes it from the table.
QByteArray areaBytes(SettingsTable &table) {
    QByteArray bytes(2 * SettingsArea::PageSize, '\0');
    auto *pages = reinterpret_cast<uint8_t *>(bytes.data());
    const SettingsArea area(table);
    const CodePage codePage = CodePage::current();
    area.encodePage1(pages, codePage);
    area.encodePage2(pages + SettingsArea::PageSize, codePage);
    return bytes;
}

} // namespace

// Loads a profile (checked whole before the device is touched), saves it and reads it back: the
// device must then hold what the save wrote. Texts may read back otherwise without being wrong
// ("0010" reads "10", an empty port "65535", a 50-character text its first 40 bytes). The
// device's settings are read first, for the backup and as what the review compares with.
int importSettings(CliRun &run, const QString &path) {
    SettingsTable loaded;
    if (!Tcustomstringgrid_basis(loaded, run.session(), QString()).loadProfile(path) ||
        !run.login().ok)
        return ExitFailure;
    SettingsTable table;
    TBasicInf basic(run.session(), table);
    const auto bound = run.session().bind(basic);
    const auto step = [&run](const std::function<void()> &start) { return run.await(start).ok; };
    const bool ready =
        run.isSet(QStringLiteral("no-backup")) || step([&basic] { basic.StartRead(); });
    if (ready)
        table.copyContentFrom(loaded);
    int result = ExitFailure;
    basic.setWriteAllPages(run.isSet(QStringLiteral("full")));
    if (ready && step([&basic] { basic.SaveSettings(); })) {
        const QByteArray saved = areaBytes(table);
        QStringList texts;
        for (int row = 1; row <= SettingsTable::ParameterCount; ++row)
            texts << table.parameterText(row);
        if (step([&basic] { basic.StartRead(); })) {
            result = areaBytes(table) == saved ? ExitSuccess : ExitFailure;
            for (int row = 1; result == ExitFailure && row <= SettingsTable::ParameterCount; ++row)
                if (table.parameterText(row) != texts.at(row - 1))
                    run.person().message(QStringLiteral("row %1 reads back \"%2\", saved \"%3\"")
                                             .arg(row)
                                             .arg(table.parameterText(row), texts.at(row - 1)));
        }
    }
    reportBackup(run, basic.saveGuard());
    return result;
}

CliCommand settingsCommand() {
    CliCommand c;
    c.name = QStringLiteral("settings");
    c.arguments =
        QStringLiteral("read | set N=VALUE [N=VALUE...] | export FILE | import FILE | diff FILE");
    c.summary = QStringLiteral("Log in, then: read prints the 22 basic settings "
                               "as number, caption and value; set "
                               "reads them, changes row N to VALUE (a choice by "
                               "its item number or text), saves, "
                               "and reads back to verify; export reads them into "
                               "a profile workbook FILE; import loads the profile "
                               "FILE, saves it and reads back to verify. Every "
                               "save asks first, summing up the changes, and backs up "
                               "the settings it read in the configuration folder (its "
                               "path goes to the error stream); import reads them first "
                               "for that. diff reads them and prints each row that "
                               "differs from the profile or backup FILE: row, device, file.");
    c.minArguments = 1;
    c.maxArguments = 1 + SettingsTable::ParameterCount;
    c.options = {
        {QStringLiteral("no-backup"), QStringLiteral("import: save without reading the device's "
                                                     "settings first for a backup.")},
        {QStringLiteral("full"), QStringLiteral("set, import: write both pages, not only the "
                                                "one that differs from the device.")},
        RecordOutput::formatOption(),
    };
    c.run = [](CliRun &run) {
        const QString action = run.arguments().first();
        if (action == QStringLiteral("read") && run.arguments().size() == 1)
            return readSettings(run);
        if (action == QStringLiteral("set") && run.arguments().size() > 1)
            return setSettings(run);
        if (action == QStringLiteral("export") && run.arguments().size() == 2)
            return exportSettings(run, run.arguments().at(1));
        if (action == QStringLiteral("import") && run.arguments().size() == 2)
            return importSettings(run, run.arguments().at(1));
        if (action == QStringLiteral("diff") && run.arguments().size() == 2)
            return diffSettings(run, run.arguments().at(1));
        run.person().message(
            QStringLiteral("velmora-cli: usage: velmora-cli settings read | set N=VALUE ... | "
                           "export FILE | import FILE | diff FILE"),
            {}, Operator::Icon::Error);
        return int(ExitUsage);
    };
    return c;
}
