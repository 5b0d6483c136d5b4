#include "TForm1.h"

#include "CompareWithFile.h"
#include "ConfigurationFolder.h"
#include "GridUndo.h"
#include "GridView.h"
#include "HelpPage.h"
#include "HistoryButtons.h"
#include "HistoryPage.h"
#include "NumberPage.h"
#include "PageControl.h"
#include "SettingsCellDelegate.h"
#include "SettingsGridView.h"
#include "SettingsPage.h"
#include "StatusPanels.h"
#include "TraceWindow.h"
#include "numbers/NumberListExchange.h"
#include "settings/Tcustomstringgrid_basis.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>

#include <algorithm>

namespace {

QLabel *topLabel(const QString &text, QWidget *parent, int left, int width) {
    auto *l = new QLabel(text, parent);
    l->setGeometry(left, 6, width, 24);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QPushButton *topButton(const QString &caption, QWidget *parent, int left) {
    auto *b = new QPushButton(caption, parent);
    b->setGeometry(left, 5, 75, 26);
    return b;
}

int changedRows(const StringGrid &grid) {
    int changed = 0;
    for (int row = 1; row < grid.rows(); ++row)
        changed += grid.isRowChanged(row) ? 1 : 0;
    return changed;
}

} // namespace

TForm1::TForm1(QWidget *parent)
    : TForm1(nullptr, parent) {}

TForm1::TForm1(Operator &person, QWidget *parent)
    : TForm1(&person, parent) {}

TForm1::TForm1(Operator *given, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
    , statusBar(new StatusPanels(this))
    , windowOperator(*statusBar, *this)
    , person(given ? *given : windowOperator)
    , core(person)
    , basicInf(core, settingsGrid)
    , telephoneSend(core, numberGrid)
    , historyInf(core, historyGrid) {
    setWindowTitle(QStringLiteral("Velmora Configurator V1.7"));
    // The cells and panels were sized for a narrow 11-pixel sans serif. Liberation Sans (the
    // metrics of Arial) is named outright: a fallback chosen by the system may be wider.
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(11);
    setFont(f);
    buildTopBar();
    buildPages();
    setFixedSize(ClientWidth, ClientHeight);
    fitChildren();
    FormCreate();
}

TForm1::~TForm1() {
    // The pages' views, proxies and undo histories work on the tables and the session, members
    // that go before QWidget deletes its children: the pages go first, while all is whole.
    delete pages;
}

QPoint TForm1::centredPosition(QSize screen, QSize window) {
    return QPoint((screen.width() - window.width()) / 2,
                  (screen.height() - (window.height() + 40)) / 2);
}

QRect TForm1::placement(const QRect &screen, const QRect &available, QSize window) {
    // The frame around the client area is counted as 40 pixels of height, as the centring does.
    constexpr int frame = 40;
    const QSize fits(std::min(window.width(), available.width()),
                     std::min(window.height(), available.height() - frame));
    const QPoint centred = screen.topLeft() + centredPosition(screen.size(), window);
    const auto within = [](int at, int low, int high) { return std::max(low, std::min(at, high)); };
    return QRect(QPoint(within(centred.x(), available.left(),
                               available.left() + available.width() - fits.width()),
                        within(centred.y(), available.top(),
                               available.top() + available.height() - frame - fits.height())),
                 fits);
}

void TForm1::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    fitChildren();
}

void TForm1::fitChildren() {
    statusBar->setGeometry(0, height() - StatusPanels::Height, width(), StatusPanels::Height);
    pages->setGeometry(0, TopBarHeight, width(), height() - TopBarHeight - StatusPanels::Height);
}

void TForm1::buildTopBar() {
    topLabel(QStringLiteral("COM Port:"), this, 4, 60);
    portList = new PortComboBox(Trecognitionserial(), this);
    portList->setGeometry(70, 6, 150, 24);
    openButton = topButton(QStringLiteral("Open"), this, 230);
    topLabel(QStringLiteral("Password:"), this, 320, 60);
    passwordEdit = new QLineEdit(QStringLiteral("7482"), this);
    passwordEdit->setGeometry(386, 6, 90, 24);
    loginButton = topButton(QStringLiteral("Log in"), this, 486);
    timeSyncButton = topButton(QStringLiteral("同步时间"), this, 600);
    checkingModeButton = topButton(QStringLiteral("HEX设置模式"), this, 680);
    timeSyncButton->hide();
    checkingModeButton->hide();
}

void TForm1::buildPages() {
    pages = new PageControl(this);
    settings = new SettingsPage(settingsGrid);
    numbers = new NumberPage(numberGrid);
    history = new HistoryPage(historyGrid);
    help = new HelpPage;
    // The captions of the first three pages are set when the window is first shown.
    pages->addTab(settings, QString());
    pages->addTab(numbers, QString());
    pages->addTab(history, QString());
    pages->addTab(help, QStringLiteral("Help"));
    pages->setCurrentIndex(0);
}

void TForm1::FormCreate() {
    // Only the operator's scrolling counts (the bar, or the wheel over the grid): the value also
    // changes while the layout sets the bar's range.
    QScrollBar *settingsBar = settings->grid()->horizontalScrollBar();
    connect(settingsBar, &QScrollBar::actionTriggered, this,
            [this, settingsBar] { settingsScrolled(settingsBar->sliderPosition()); });
    // The settings editor says in the status panel why it left a character out.
    connect(qobject_cast<SettingsCellDelegate *>(settings->grid()->itemDelegate()),
            &SettingsCellDelegate::typingRefused, &core.statusBar(), &Tstatusbar_ctrl::show);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect place = placement(screen->geometry(), screen->availableGeometry(), size());
        setFixedSize(place.size());
        fitChildren();
        move(place.topLeft());
    }
    core.setBasicTransfer(&basicInf);
    core.setNumberListTransfer(&telephoneSend);
    core.setHistoryTransfer(&historyInf);
    setOperationsLocked(true);
    connect(&core, &Session::operationsUnlocked, this,
            [this](bool unlocked) { setOperationsLocked(!unlocked); });
    connect(&core, &Session::operationRunning, this, [this](bool running) {
        operationRunning = running;
        updateOperationButtons();
    });
    connect(&core, &Session::portLost, this, &TForm1::showPortClosed);
    connect(openButton, &QPushButton::clicked, this, &TForm1::btn8Click);
    connect(loginButton, &QPushButton::clicked, this, &TForm1::btn1Click);
    // Enter in the password logs in, as the button would (not while an operation runs).
    connect(passwordEdit, &QLineEdit::returnPressed, loginButton, &QPushButton::click);
    connect(timeSyncButton, &QPushButton::clicked, &core, &Session::sendTimeSync);
    connect(checkingModeButton, &QPushButton::clicked, &core, &Session::sendCheckingMode);
    connect(settings->readSettings, &QPushButton::clicked, this,
            [this] { basicInf.ReadSettings(); });
    connect(settings->saveSettings, &QPushButton::clicked, this,
            [this] { basicInf.SaveSettings(); });
    connect(numbers->read, &QPushButton::clicked, this, [this] { telephoneSend.ReadList(); });
    connect(numbers->save, &QPushButton::clicked, this, [this] { telephoneSend.SaveList(); });
    // After the reads' own slots: a read that went ahead is not undoable and empties the page's
    // undo history.
    settings->undo()->followDeviceReads(*settings->readSettings, core);
    numbers->undo()->followDeviceReads(*numbers->read, core);
    // The file buttons work on the grids alone; their dialogs open in the configuration folder.
    connect(settings->exportProfile, &QPushButton::clicked, this,
            [this] { Tcustomstringgrid_basis(settingsGrid, core, configFolder).ExportProfile(); });
    connect(settings->importProfile, &QPushButton::clicked, this,
            [this] { Tcustomstringgrid_basis(settingsGrid, core, configFolder).ImportProfile(); });
    connect(numbers->exportXls, &QPushButton::clicked, this,
            [this] { NumberListExchange(numberGrid, core, configFolder).ExportListWorkbook(); });
    connect(numbers->importXls, &QPushButton::clicked, this,
            [this] { NumberListExchange(numberGrid, core, configFolder).ImportListWorkbook(); });
    connect(numbers->importCsv, &QPushButton::clicked, this,
            [this] { NumberListExchange(numberGrid, core, configFolder).ImportListCsv(); });
    connect(numbers->exportCsv, &QPushButton::clicked, this,
            [this] { NumberListExchange(numberGrid, core, configFolder).ExportListCsv(); });
    connect(numbers->compareFile, &QPushButton::clicked, this,
            [this] { CompareWithFile::numbers(this, core, person, configFolder); });
    connect(settings->compareFile, &QPushButton::clicked, this,
            [this] { CompareWithFile::settings(this, core, person, configFolder); });
    connectHistoryButtons(*this, historyInf);
    connect(new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+T")), this),
            &QShortcut::activated, this, &TForm1::showTrace);
    statusBar->setPanelText(0, QStringLiteral("COM Port:"));
    // No data cell shows as selected at start: the settings grid's current cell is a heading.
    settings->grid()->selectionModel()->setCurrentIndex(settingsGrid.index(0, 1),
                                                        QItemSelectionModel::NoUpdate);
    numbers->grid()->setCurrentIndex(QModelIndex());
    configFolder = ConfigurationFolder::prepare();
}

void TForm1::settingsScrolled(int position) {
    // The operator's action has moved the slider; the bar's value follows right after.
    setWindowTitle(QStringLiteral("滚动条位置:") + QString::number(position));
    // A drop-down would stay behind over a cell that scrolled away; drawing shows it again.
    settingsGrid.hideChoices();
}

void TForm1::btn8Click() {
    if (openCount % 2 == 0) {
        // Every way an open can fail leaves the port closed, and the operator is told so, with
        // the system's reason beneath the usual text.
        if (const Result<void> opened = core.openPort(portList->portPath()); !opened) {
            person.message(QStringLiteral("COM Port error"), QString(), Operator::Icon::None,
                           opened.reason());
            openButton->setText(QStringLiteral("Open"));
            return;
        }
        ++openCount;
        openButton->setText(QStringLiteral("Close"));
        statusBar->showPortOpen(true);
    } else {
        core.cm1().ClosePort();
        showPortClosed();
    }
}

void TForm1::showPortClosed() {
    ++openCount;
    openButton->setText(QStringLiteral("Open"));
    statusBar->showPortOpen(false);
}

void TForm1::btn1Click() {
    core.login(passwordEdit->text());
}

void TForm1::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!shown) {
        shown = true;
        FormShow();
    }
}

void TForm1::closeEvent(QCloseEvent *event) {
    const int unsaved = changedRows(settingsGrid) + changedRows(numberGrid);
    if (unsaved == 0 && !operationRunning) {
        event->accept();
        return;
    }
    QString text = operationRunning
                       ? QStringLiteral("A transfer with the device is still running. ")
                       : QString();
    if (unsaved == 1)
        text += QStringLiteral("Quit and lose 1 unsaved change?");
    else if (unsaved > 1)
        text += QStringLiteral("Quit and lose %1 unsaved changes?").arg(unsaved);
    else
        text += QStringLiteral("Quit now?");
    if (person.confirm(text, QString(), QStringLiteral("Quit"), QStringLiteral("Cancel"),
                       Operator::Icon::Question))
        event->accept();
    else
        event->ignore();
}

void TForm1::FormShow() {
    // A grid narrower than its columns scrolls to its current cell while it is laid out; the
    // operator meets it at its left edge.
    settings->grid()->horizontalScrollBar()->setValue(0);
    pages->setTabText(0, QStringLiteral("Basic\r\nSettings"));
    pages->setTabText(1, QStringLiteral("Number\r\nList"));
    pages->setTabText(2, QStringLiteral("Historical\r\nData"));
}

void TForm1::offerPort(const QString &path) {
    portList->offer(path);
}

void TForm1::showTrace() {
    if (!trace)
        trace = new TraceWindow(core, this);
    trace->show();
    trace->raise();
    trace->activateWindow();
}

QList<QPushButton *> TForm1::operationButtons() const {
    return {checkingModeButton,     timeSyncButton,          settings->readSettings,
            settings->saveSettings, settings->importProfile, settings->exportProfile,
            numbers->read,          numbers->save,           numbers->importXls,
            numbers->exportXls,     history->readData,       history->filter,
            history->deleteAll,     history->exportXls,      history->exportCsv,
            history->clearGrid,     numbers->exportCsv,      numbers->allAlways,
            numbers->deleteAll,     numbers->clearGrid,      numbers->importCsv};
}

void TForm1::setOperationsLocked(bool locked) {
    loginLocked = locked;
    updateOperationButtons();
}

void TForm1::updateOperationButtons() {
    // While an operation runs nothing else may start, not even another login.
    for (QPushButton *b : operationButtons())
        b->setEnabled(!loginLocked && !operationRunning);
    loginButton->setEnabled(!operationRunning);
}
