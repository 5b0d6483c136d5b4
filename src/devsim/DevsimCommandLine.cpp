#include "DevsimCommandLine.h"

#include "DeviceMemoryMap.h"

#include <QCommandLineParser>
#include <limits>

namespace {

struct Number {
    const char *name;
    int minimum;
    int maximum;
    int *target;
};

DevsimCommandLine failure(const QString &text) {
    DevsimCommandLine result;
    result.text = text;
    return result;
}

bool isPlainPassword(const QString &password) {
    if (password.size() != DeviceMemoryMap::PasswordSize)
        return false;
    for (QChar c : password)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    return true;
}

} // namespace

DevsimCommandLine DevsimCommandLine::parse(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A simulated GSM relay controller on a pseudo-terminal. Prints the terminal's path on the "
        "first line, then serves until SIGINT or SIGTERM.\nRequests are counted from 1.");
    parser.addOptions({
        {"image", "Keep the memory in FILE across runs (created from factory defaults).", "FILE"},
        {"history", "Fill a fresh memory with N sample history records (0 to 1000).", "N"},
        {"password", "Start a fresh memory with this 4-character password (default 7482).", "XXXX"},
        {"no-reply-from", "Answer nothing from request K on.", "K"},
        {"bad-checksum-from", "Send replies with a wrong checksum from request K on.", "K"},
        {"cut-after", "Cut every reply off after M bytes.", "M"},
        {"garbage", "Send N stray bytes before every reply.", "N"},
        {"nak-from", "Refuse writes and commands (data byte 0) from request K on.", "K"},
        {"delay", "Wait MS milliseconds before every reply.", "MS"},
        {"short-data-from",
         "Cut the data of every reply to --short-data-length bytes (default 0), in a "
         "well-formed frame, from request K on.",
         "K"},
        {"short-data-length", "How many data bytes --short-data-from leaves (0 to 255).", "L"},
        {"hang-up-at",
         "At request K answer nothing and close the terminal, as an unplugged adapter "
         "vanishes.",
         "K"},
        {"duplicate-from", "Send every reply twice, back to back, from request K on.", "K"},
        {"noise-from", "From request K on, send noise instead of replies, until the next request.",
         "K"},
        {"flood-from",
         "From request K on, send a flood of start bytes (0x23) instead of replies, until the "
         "next request.",
         "K"},
        {"dribble", "Send reply bytes one at a time, MS milliseconds apart.", "MS"},
        {"forget-writes-from", "From request K on, acknowledge page writes but store nothing.",
         "K"},
        {"paced", "Receive and send at the pace of a 115200-baud line."},
    });
    parser.addHelpOption();

    if (!parser.parse(arguments))
        return failure(parser.errorText());
    if (parser.isSet("help")) {
        DevsimCommandLine result;
        result.action = Action::ShowHelp;
        result.text = parser.helpText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return failure(QStringLiteral("Unexpected argument: %1")
                           .arg(parser.positionalArguments().constFirst()));

    DevsimCommandLine result;
    DeviceOptions &options = result.options;
    DeviceFaults &faults = options.faults;
    constexpr int Most = std::numeric_limits<int>::max();
    const Number numbers[] = {
        {"history", 0, DeviceMemoryMap::HistoryRecordCount, &options.historyCount},
        {"no-reply-from", 1, Most, &faults.noReplyFrom},
        {"bad-checksum-from", 1, Most, &faults.badChecksumFrom},
        {"cut-after", 1, Most, &faults.cutAfter},
        {"garbage", 0, 1 << 20, &faults.garbage},
        {"nak-from", 1, Most, &faults.nakFrom},
        {"delay", 0, 3'600'000, &faults.delayMs},
        {"short-data-from", 1, Most, &faults.shortDataFrom},
        {"short-data-length", 0, 255, &faults.shortDataLength},
        {"hang-up-at", 1, Most, &faults.hangUpAt},
        {"duplicate-from", 1, Most, &faults.duplicateFrom},
        {"noise-from", 1, Most, &faults.noiseFrom},
        {"flood-from", 1, Most, &faults.floodFrom},
        {"dribble", 1, 60'000, &faults.dribbleMs},
        {"forget-writes-from", 1, Most, &faults.forgetWritesFrom},
    };
    for (const Number &number : numbers) {
        if (!parser.isSet(number.name))
            continue;
        bool ok = false;
        const QString value = parser.value(number.name);
        const int n = value.toInt(&ok);
        if (!ok || n < number.minimum || n > number.maximum)
            return failure(QStringLiteral("--%1 wants a whole number from %2 to %3, not \"%4\"")
                               .arg(number.name)
                               .arg(number.minimum)
                               .arg(number.maximum)
                               .arg(value));
        *number.target = n;
    }
    if (parser.isSet("short-data-length") && !parser.isSet("short-data-from"))
        return failure(QStringLiteral("--short-data-length needs --short-data-from"));
    if (parser.isSet("password")) {
        const QString password = parser.value("password");
        if (!isPlainPassword(password))
            return failure(QStringLiteral("--password wants 4 printable ASCII characters, not "
                                          "\"%1\"")
                               .arg(password));
        options.password = password.toLatin1();
    }
    options.imagePath = parser.value("image");
    faults.paced = parser.isSet("paced");
    result.action = Action::Serve;
    return result;
}
