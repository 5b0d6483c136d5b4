#include "CliApp.h"

#include "CliRun.h"
#include "CommandTable.h"
#include "RecordOutput.h"
#include "exchange/CodePage.h"

#include <QCommandLineParser>

namespace {

const QCommandLineOption portOption(QStringLiteral("port"),
                                    QStringLiteral("The serial port: a device path, or a name "
                                                   "under /dev such as ttyUSB0. Every command "
                                                   "but ports needs it."),
                                    QStringLiteral("P"));
const QCommandLineOption passwordOption(QStringLiteral("password"),
                                        QStringLiteral("The device password (default 7482)."),
                                        QStringLiteral("PW"), QStringLiteral("7482"));
const QCommandLineOption passwordStdinOption(
    QStringLiteral("password-stdin"),
    QStringLiteral("Read the device password from the first line of the input stream, out of "
                   "sight of the machine's other users (who can see every command line)."));
const QCommandLineOption yesOption(QStringLiteral("yes"),
                                   QStringLiteral("Accept every confirmation without asking. "
                                                  "Without a terminal to ask on, questions are "
                                                  "refused unless this is given."));
const QCommandLineOption traceOption(QStringLiteral("trace"),
                                     QStringLiteral("Write every frame sent and received to the "
                                                    "error stream, one line each: its time, "
                                                    "meaning and bytes in hex."));
const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                    QStringLiteral("Show this help."));
const QCommandLineOption versionOption(QStringLiteral("version"),
                                       QStringLiteral("Show the program's name and version."));

const QList<QCommandLineOption> &globalOptions() {
    static const QList<QCommandLineOption> options = {
        portOption,  passwordOption, passwordStdinOption, yesOption,
        traceOption, helpOption,     versionOption};
    return options;
}

QString optionLabel(const QCommandLineOption &o) {
    QStringList names;
    for (const QString &n : o.names())
        names << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
    QString label = names.join(QStringLiteral(", "));
    if (!o.valueName().isEmpty())
        label += QLatin1Char(' ') + o.valueName();
    return label;
}

bool hasName(const QList<QCommandLineOption> &options, const QString &name) {
    for (const QCommandLineOption &o : options) {
        if (o.names().contains(name))
            return true;
    }
    return false;
}

void addRow(QString &text, const QString &left, const QString &right) {
    constexpr int column = 26;
    text += QStringLiteral("  ") + left;
    // A call too long for its column leaves the description its own line: run into the call,
    // neither a reader nor help2man (which makes the man page) could tell the two apart.
    if (left.size() > column)
        text += QLatin1Char('\n') + QString(column + 3, QLatin1Char(' '));
    else
        text += QString(column + 1 - left.size(), QLatin1Char(' '));
    text += right + '\n';
}

} // namespace

CliApp::CliApp(const TerminalOperator::Streams &streams, Trecognitionserial ports)
    : io(streams)
    , ports(std::move(ports)) {}

QString CliApp::helpText() {
    QString text = QStringLiteral(
        "Usage: velmora-cli [--port P] [--password PW] [--yes] [--trace] COMMAND [ARGUMENTS]\n\n"
        "Configures a GSM relay controller over its USB serial cable.\n"
        "The output stream carries a command's data alone (the device's answers, the files\n"
        "written); every message, question, status text and progress goes to the error stream.\n"
        "\nCommands:\n");
    for (const CliCommand &c : commandTable()) {
        const QString call =
            c.arguments.isEmpty() ? c.name : c.name + QLatin1Char(' ') + c.arguments;
        addRow(text, call, c.summary);
    }
    text += QStringLiteral("\nOptions:\n");
    for (const QCommandLineOption &o : globalOptions())
        addRow(text, optionLabel(o), o.description());
    for (const CliCommand &c : commandTable()) {
        for (const QCommandLineOption &o : c.options)
            addRow(text, optionLabel(o), QStringLiteral("(%1) %2").arg(c.name, o.description()));
    }
    text += QStringLiteral(
        "\nExit status:\n"
        "  0  the operation ended with its success message\n"
        "  1  it ended with an error message or \"Receive timeout\", the port could not be\n"
        "     opened, or a question was refused\n"
        "  2  the command line was wrong, or the texts' code page cannot be converted\n");
    return text;
}

int CliApp::usageError(const QString &text) {
    io.err << "velmora-cli: " << text << "\n(--help lists the commands)\n";
    io.err.flush();
    return ExitUsage;
}

int CliApp::run(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.addOptions(globalOptions());
    // Commands may share an option's name (--from, --to); the parser takes each name once.
    QStringList added;
    for (const CliCommand &c : commandTable()) {
        for (const QCommandLineOption &o : c.options) {
            if (!added.contains(o.names().first()))
                parser.addOption(o);
            added << o.names();
        }
    }
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        io.out << helpText();
        io.out.flush();
        return ExitSuccess;
    }
    if (parser.isSet(versionOption)) {
        io.out << "velmora-cli " << VELMORA_VERSION << '\n';
        io.out.flush();
        return ExitSuccess;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString name = positional.first();
    const auto &table = commandTable();
    const auto command = std::find_if(table.begin(), table.end(),
                                      [&](const CliCommand &c) { return c.name == name; });
    if (command == table.end())
        return usageError(QStringLiteral("unknown command \"%1\"").arg(name));
    const QStringList commandArguments = positional.mid(1);
    if (commandArguments.size() < command->minArguments ||
        commandArguments.size() > command->maxArguments) {
        const QString call = (name + QLatin1Char(' ') + command->arguments).trimmed();
        return usageError(QStringLiteral("usage: velmora-cli %1").arg(call));
    }
    for (const QString &option : parser.optionNames()) {
        if (!hasName(globalOptions(), option) && !hasName(command->options, option))
            return usageError(QStringLiteral("--%1 does not go with %2").arg(option, name));
    }
    if (parser.isSet(QStringLiteral("format")) &&
        !RecordOutput::format(parser.value(QStringLiteral("format"))))
        return usageError(QStringLiteral("--format takes tsv, csv or json, not \"%1\"")
                              .arg(parser.value(QStringLiteral("format"))));
    if (command->needsPort && parser.value(portOption).trimmed().isEmpty())
        return usageError(QStringLiteral("%1 needs --port").arg(name));
    QString password = parser.value(passwordOption);
    if (parser.isSet(passwordStdinOption)) {
        if (parser.isSet(passwordOption))
            return usageError(QStringLiteral("--password and --password-stdin exclude each other"));
        password = io.in.readLine();
        if (password.isNull())
            return usageError(QStringLiteral("--password-stdin found no line to read"));
    }

    // Without a converter for the code page a command could wipe the device's texts.
    if (const QString problem = CodePage::current().conversionProblem(); !problem.isEmpty()) {
        io.err << "velmora-cli: " << problem << '\n';
        io.err.flush();
        return ExitUsage;
    }
    TerminalOperator op(io, parser.isSet(yesOption));
    CliRun run(parser, commandArguments, parser.value(portOption), password, op, io.out);
    run.setPortList(ports);
    if (parser.isSet(traceOption))
        run.traceFramesTo(io.err);
    return command->run(run);
}
