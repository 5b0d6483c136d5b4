#pragma once

#include "PortComboBox.h"
#include "Session.h"
#include "WindowOperator.h"
#include "history/HistoryTable.h"
#include "history/THistoryInf.h"
#include "numbers/NumberTable.h"
#include "numbers/TtelephoneSend.h"
#include "settings/SettingsTable.h"
#include "settings/TBasicInf.h"

#include <QComboBox>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QWidget>

class HelpPage;
class HistoryPage;
class NumberPage;
class PageControl;
class SettingsPage;
class StatusPanels;
class TraceWindow;

// The main window: the connection controls on top, one page per task, the status bar below.
// It owns the grids' tables and every long-lived object of the run.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 1054;
    static constexpr int ClientHeight = 653;
    static constexpr int TopBarHeight = 36;

    // `standIn` answers the message boxes and file dialogs in place of a person (tests).
    explicit TForm1(Operator *standIn = nullptr, QWidget *parent = nullptr);

    // The window's place on a screen: centred, with 40 pixels more height counted for the
    // frame; integer halves rounded toward zero, negative on a screen smaller than the window.
    static QPoint centredPosition(QSize screen, QSize window);
    // Where the window goes and how big it is on a screen with the `available` area (what
    // panels and docks leave): centred where that fits, otherwise moved into the area, and
    // smaller than the design where the area is, its grids scrolling within.
    static QRect placement(const QRect &screen, const QRect &available, QSize window);

    QComboBox *cbb9() const { return portList; }
    QPushButton *btn8() const { return openButton; }
    QLineEdit *edt3() const { return passwordEdit; }
    QPushButton *btn1() const { return loginButton; }
    PageControl *pageControl() const { return pages; }
    StatusPanels *stat1() const { return statusBar; }
    SettingsPage *settingsPage() const { return settings; }
    NumberPage *numberPage() const { return numbers; }
    HistoryPage *historyPage() const { return history; }
    HelpPage *helpPage() const { return help; }

    SettingsTable &settingsTable() { return settingsGrid; }
    NumberTable &numberTable() { return numberGrid; }
    HistoryTable &historyTable() { return historyGrid; }
    Operator &operatorInterface() { return windowOperator; }
    Session &session() { return core; }
    QString configurationFolder() const { return configFolder; }

    // Puts a port at the top of the port list and selects it (the simulated device's terminal).
    void offerPort(const QString &path);
    // Opens the frame trace beside the window (Ctrl+Shift+T); it records from then on.
    void showTrace();

    // The buttons that only a logged-in operator may use, in the order the login sets them.
    QList<QPushButton *> operationButtons() const;
    // The login's lock state; while an operation runs they stay disabled whatever it is.
    void setOperationsLocked(bool locked);

protected:
    void showEvent(QShowEvent *event) override;
    // Edits not yet saved to the device, and a transfer under way, are not lost unasked.
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildTopBar();
    void buildPages();
    // The page control and the status bar take the client area's height, the top bar aside.
    void fitChildren();
    void FormCreate();
    void FormShow();
    void settingsScrolled(int position);
    void btn8Click();
    void btn1Click();
    // The port shows closed, as after "Close"; the next click on btn8 opens it.
    void showPortClosed();
    void updateOperationButtons();

    SettingsTable settingsGrid;
    NumberTable numberGrid;
    HistoryTable historyGrid;

    PortComboBox *portList = nullptr;
    QPushButton *openButton = nullptr;
    QLineEdit *passwordEdit = nullptr;
    QPushButton *loginButton = nullptr;
    // Hidden: the operator never sees them, but the login locks and unlocks them with the rest.
    QPushButton *checkingModeButton = nullptr;
    QPushButton *timeSyncButton = nullptr;

    PageControl *pages = nullptr;
    SettingsPage *settings = nullptr;
    NumberPage *numbers = nullptr;
    HistoryPage *history = nullptr;
    HelpPage *help = nullptr;
    StatusPanels *statusBar = nullptr;
    TraceWindow *trace = nullptr;

    WindowOperator windowOperator;
    Session core;
    TBasicInf basicInf;
    TtelephoneSend telephoneSend;
    THistoryInf historyInf;
    // Even: the next click on btn8 opens the port; odd: it closes it.
    qint32 openCount = 0;
    bool loginLocked = true;
    bool operationRunning = false;
    QString configFolder;
    bool shown = false;
};
