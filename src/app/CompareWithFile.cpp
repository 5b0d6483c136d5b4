#include "CompareWithFile.h"

#include "DifferenceDialog.h"
#include "Session.h"
#include "exchange/FileDialogs.h"
#include "numbers/NumberListDiff.h"
#include "numbers/NumberListExchange.h"
#include "numbers/NumberTable.h"
#include "numbers/TtelephoneSend.h"
#include "operator/Operator.h"
#include "settings/SettingsDiff.h"
#include "settings/SettingsTable.h"
#include "settings/TBasicInf.h"
#include "settings/Tcustomstringgrid_basis.h"

#include <functional>
#include <memory>
#include <optional>

namespace {

const QString Caption = QStringLiteral("Compare with file");

// One comparison under way: the file's table, the device's, and the read that fills the latter,
// which takes the area's replies while `bound` holds them.
struct Comparison {
    virtual ~Comparison() = default;
    virtual TransferBinding bind(Session &session) = 0;
    virtual AreaDifferences differences() const = 0;
    std::optional<TransferBinding> bound;
};

struct NumberComparison : Comparison {
    NumberTable file, device;
    TtelephoneSend transfer;
    explicit NumberComparison(Session &session)
        : transfer(session, device) {}
    TransferBinding bind(Session &session) override { return session.bind(transfer); }
    AreaDifferences differences() const override { return NumberListDiff::between(device, file); }
};

struct SettingsComparison : Comparison {
    SettingsTable file, device;
    TBasicInf transfer;
    explicit SettingsComparison(Session &session)
        : transfer(session, device) {}
    TransferBinding bind(Session &session) override { return session.bind(transfer); }
    AreaDifferences differences() const override { return SettingsDiff::between(device, file); }
};

void readAndShow(QWidget *window, Session &session, std::shared_ptr<Comparison> comparison,
                 const std::function<void()> &start, const QString &whereHeading) {
    comparison->bound.emplace(comparison->bind(session));
    auto ended = std::make_shared<QMetaObject::Connection>();
    auto finish = [comparison, ended](bool ok) {
        QObject::disconnect(*ended);
        comparison->bound.reset();
        return ok;
    };
    *ended = QObject::connect(
        &session, &Session::operationEnded, window,
        [window, finish, comparison, whereHeading](bool ok, const QString &) {
            if (finish(ok))
                (new DifferenceDialog(whereHeading, comparison->differences(), window))->show();
        });
    start();
    // A read that sent nothing never ends: the page's transfer goes back at once.
    if (!session.outcome().running() && *ended)
        finish(false);
}

QString chosenFile(Operator &op, const QString &folder, const char *filter) {
    return op.chooseOpenFile(Caption, folder, FileDialogs::filter(QLatin1String(filter)));
}

} // namespace

namespace CompareWithFile {

void numbers(QWidget *window, Session &session, Operator &op, const QString &folder) {
    const QString path =
        chosenFile(op, folder, "EXCEL or CSV file|*.xlsx;*.xls;*.csv;*.cvs|(*.*)|*.*");
    if (path.isEmpty())
        return;
    auto comparison = std::make_shared<NumberComparison>(session);
    if (!NumberListExchange(comparison->file, session, folder).loadFile(path))
        return;
    readAndShow(
        window, session, comparison, [comparison] { comparison->transfer.StartRead(); },
        QStringLiteral("Serial"));
}

void settings(QWidget *window, Session &session, Operator &op, const QString &folder) {
    const QString path = chosenFile(op, folder, "EXCEL file|*.xlsx;*.xls|(*.*)|*.*");
    if (path.isEmpty())
        return;
    auto comparison = std::make_shared<SettingsComparison>(session);
    if (!Tcustomstringgrid_basis(comparison->file, session, folder).loadProfile(path))
        return;
    readAndShow(
        window, session, comparison, [comparison] { comparison->transfer.StartRead(); },
        QStringLiteral("Row"));
}

} // namespace CompareWithFile
