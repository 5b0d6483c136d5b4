#include "CliRun.h"
#include "CommandTable.h"
#include "Session.h"
#include "TerminalOperator.h"
#include "backup/BackupFiles.h"
#include "exchange/FileDialogs.h"
#include "history/HistoryExport.h"
#include "history/HistoryTable.h"
#include "history/THistoryInf.h"
#include "numbers/NumberListExchange.h"
#include "numbers/NumberTable.h"
#include "numbers/TtelephoneSend.h"
#include "settings/SettingsTable.h"
#include "settings/TBasicInf.h"
#include "settings/Tcustomstringgrid_basis.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace {

// The three areas read into their tables, one after the other; false at the first that fails.
bool readAreas(CliRun &run, SettingsTable &settings, NumberTable &numbers, HistoryTable &history) {
    Session &session = run.session();
    TBasicInf basic(session, settings);
    TtelephoneSend list(session, numbers);
    THistoryInf events(session, history);
    const auto boundSettings = session.bind(basic);
    const auto boundList = session.bind(list);
    const auto boundEvents = session.bind(events);
    return run.await([&basic] { basic.StartRead(); }).ok &&
           run.await([&list] { list.StartRead(); }).ok &&
           run.await([&events] { events.StartRead(); }).ok;
}

// Reads the three areas of one device, then writes the settings profile, the number list
// workbook and the history workbook into DIR under the names the window proposes, all stamped
// with the moment the backup began and the device's name.
int backup(CliRun &run) {
    const QString folder = run.arguments().first();
    if (!QDir().mkpath(folder)) {
        run.person().message(QStringLiteral("Cannot create the folder \"%1\"").arg(folder), {},
                             Operator::Icon::Error);
        return ExitFailure;
    }
    if (!run.login().ok)
        return ExitFailure;
    const QDateTime now = QDateTime::currentDateTime();
    Session &session = run.session();
    SettingsTable settings;
    NumberTable numbers;
    HistoryTable history;
    if (!readAreas(run, settings, numbers, history))
        return ExitFailure;

    // Each file is claimed under a name of its own before it is written, so that a second
    // backup in the same second (another device, another run) never replaces one.
    const QString device = BackupFiles::deviceTag(session.cm1().CommName());
    QStringList paths;
    QString problem;
    for (const QString &stem : {FileDialogs::proposedName(QStringLiteral("basicinf_R"), now),
                                FileDialogs::proposedName(QStringLiteral("telinf_R"), now),
                                HistoryExport::workbookName(now)}) {
        const QString path = BackupFiles::claim(folder, stem + QLatin1Char('_') + device, problem);
        if (path.isEmpty())
            break;
        paths << path;
    }
    const auto removeClaimed = [&paths] {
        for (const QString &path : std::as_const(paths))
            QFile::remove(path);
    };
    if (paths.size() < 3) {
        removeClaimed();
        run.person().message(problem, {}, Operator::Icon::Error);
        return ExitFailure;
    }
    const QString &profile = paths.at(0);
    const QString &listBook = paths.at(1);
    const QString &historyBook = paths.at(2);
    if (!Tcustomstringgrid_basis(settings, session, QString()).saveProfile(profile) ||
        !NumberListExchange(numbers, session, QString()).saveWorkbook(listBook)) {
        removeClaimed();
        return ExitFailure;
    }
    const Result<void> written = HistoryExport(history, session.statusBar(), session.progressBar())
                                     .writeWorkbook(historyBook);
    if (!written) {
        removeClaimed();
        run.person().message(written.reason(), {}, Operator::Icon::Error);
        return ExitFailure;
    }
    run.out() << profile << '\n' << listBook << '\n' << historyBook << '\n';
    run.out().flush();
    return ExitSuccess;
}

} // namespace

CliCommand backupCommand() {
    CliCommand c;
    c.name = QStringLiteral("backup");
    c.arguments = QStringLiteral("DIR");
    c.summary = QStringLiteral("Log in, read the settings, the number list and the history, and "
                               "write the settings profile, the number list workbook and the "
                               "history workbook into DIR, named as the window proposes them "
                               "with the adapter's serial number (else the port's name) added; "
                               "an existing file is never replaced, the new one gets a suffix.");
    c.minArguments = 1;
    c.maxArguments = 1;
    c.run = backup;
    return c;
}
