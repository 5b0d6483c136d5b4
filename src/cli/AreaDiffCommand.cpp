#include "AreaDiffCommand.h"

#include "CliCommand.h"
#include "CliRun.h"
#include "RecordOutput.h"
#include "Session.h"
#include "TerminalOperator.h"
#include "exchange/AreaDifference.h"
#include "numbers/NumberListDiff.h"
#include "numbers/NumberListExchange.h"
#include "numbers/NumberTable.h"
#include "numbers/TtelephoneSend.h"
#include "settings/SettingsDiff.h"
#include "settings/SettingsTable.h"
#include "settings/TBasicInf.h"
#include "settings/Tcustomstringgrid_basis.h"

#include <optional>

namespace {

// `where` names the first column: "Serial" or "Row".
int report(CliRun &run, const QString &where, const AreaDifferences &differences) {
    QList<QStringList> records;
    for (const AreaDifference &d : differences)
        records << QStringList{d.where, d.device, d.file};
    RecordOutput::print(run, {where, QStringLiteral("Device"), QStringLiteral("File")}, records);
    run.person().setStatusText(differences.isEmpty()
                                   ? QStringLiteral("The device and the file agree")
                                   : QStringLiteral("%1 differences").arg(differences.size()));
    run.person().finishStatusLine();
    return differences.isEmpty() ? ExitSuccess : ExitFailure;
}

// The file's list loaded, the device's read and compared; nothing when either failed (the reason
// has been shown).
std::optional<AreaDifferences> numberDifferences(CliRun &run, const QString &path) {
    NumberTable file;
    if (!NumberListExchange(file, run.session(), QString()).loadFile(path) || !run.login().ok)
        return std::nullopt;
    NumberTable device;
    TtelephoneSend numbers(run.session(), device);
    const auto bound = run.session().bind(numbers);
    const bool read = run.await([&numbers] { numbers.StartRead(); }).ok;
    if (!read)
        return std::nullopt;
    return NumberListDiff::between(device, file);
}

} // namespace

int diffNumbers(CliRun &run, const QString &path) {
    const auto differences = numberDifferences(run, path);
    return differences ? report(run, QStringLiteral("Serial"), *differences) : int(ExitFailure);
}

int diffSettings(CliRun &run, const QString &path) {
    SettingsTable file;
    if (!Tcustomstringgrid_basis(file, run.session(), QString()).loadProfile(path) ||
        !run.login().ok)
        return ExitFailure;
    SettingsTable device;
    TBasicInf basic(run.session(), device);
    const auto bound = run.session().bind(basic);
    const bool read = run.await([&basic] { basic.StartRead(); }).ok;
    return read ? report(run, QStringLiteral("Row"), SettingsDiff::between(device, file))
                : int(ExitFailure);
}
