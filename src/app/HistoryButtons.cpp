#include "HistoryButtons.h"

#include "EnabledWatch.h"
#include "HistoryPage.h"
#include "TForm1.h"
#include "history/HistoryExport.h"
#include "history/HistoryFilter.h"
#include "history/HistoryLoad.h"
#include "history/HistoryReadCopy.h"
#include "history/THistoryInf.h"

#include <memory>

namespace {

void deleteAll(Session &session) {
    if (session.person().warnOkCancel(
            QStringLiteral("Warning: Thie operation will DELETE all of the historical data on GSM "
                           "device! ")))
        session.sendDeleteHistory();
}

// "Show all" and the rows it brings back. The button is usable while the grid is narrowed and the
// filter itself is (not during an operation, not logged out).
struct ShowAll {
    HistoryReadCopy rows;
    bool reading = false;

    void update(const HistoryPage &page) const {
        page.showAll->setEnabled(rows.canShowAll() && page.filter->isEnabled());
    }
};

void connectShowAll(TForm1 &window, THistoryInf &history) {
    HistoryPage *page = window.historyPage();
    auto state = std::make_shared<ShowAll>();
    QObject::connect(page->readData, &QPushButton::clicked, &window, [&window, &history, state] {
        history.StartRead();
        state->reading = window.session().outcome().running();
    });
    // A read that ends, however it ends, leaves the rows the grid shows from now on.
    QObject::connect(&window.session(), &Session::operationEnded, &window, [&window, page, state] {
        if (!state->reading)
            return;
        state->reading = false;
        state->rows.keep(window.historyTable());
        state->update(*page);
    });
    QObject::connect(page->filter, &QPushButton::clicked, &window, [page, &history, state] {
        if (history.FilterRows(
                {page->dtp1->date(), page->dtp2->time(), page->dtp3->date(), page->dtp4->time()}))
            state->rows.narrowed();
        state->update(*page);
    });
    QObject::connect(page->showAll, &QPushButton::clicked, &window, [&window, page, state] {
        state->rows.showAll(window.historyTable());
        state->update(*page);
    });
    // A loaded file takes the place of the last read: the filter narrows it, "Show all" brings
    // it back.
    QObject::connect(page->load, &QPushButton::clicked, &window, [&window, page, state] {
        if (!HistoryLoad::choose(window.operatorInterface(), window.configurationFolder(),
                                 window.historyTable()))
            return;
        state->rows.keep(window.historyTable());
        state->update(*page);
    });
    // A read writes into the grid: no file may be loaded meanwhile.
    QObject::connect(&window.session(), &Session::operationRunning, page->load,
                     [page](bool running) { page->load->setEnabled(!running); });
    watchEnabled(page->filter, [page, state](bool) { state->update(*page); });
}

HistoryExport exporter(TForm1 &window) {
    return HistoryExport(window.historyTable(), window.session().statusBar(),
                         window.session().progressBar());
}

} // namespace

void connectHistoryButtons(TForm1 &window, THistoryInf &history) {
    HistoryPage *page = window.historyPage();
    connectShowAll(window, history);
    QObject::connect(page->clearGrid, &QPushButton::clicked, &window,
                     [&window] { window.historyTable().replaceRecords({}); });
    QObject::connect(page->deleteAll, &QPushButton::clicked, &window,
                     [&window] { deleteAll(window.session()); });
    QObject::connect(page->exportXls, &QPushButton::clicked, &window, [&window] {
        exporter(window).ExportWorkbook(window.operatorInterface(), window.configurationFolder());
    });
    QObject::connect(page->exportCsv, &QPushButton::clicked, &window, [&window] {
        exporter(window).ExportCsv(window.operatorInterface(), window.configurationFolder());
    });
}
