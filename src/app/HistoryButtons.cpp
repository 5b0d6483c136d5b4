#include "HistoryButtons.h"

#include "HistoryPage.h"
#include "TForm1.h"
#include "history/HistoryExport.h"
#include "history/HistoryFilter.h"
#include "history/THistoryInf.h"

namespace {

void deleteAll(Session &session) {
    if (session.person().warnOkCancel(
            QStringLiteral("Warning: Thie operation will DELETE all of the historical data on GSM "
                           "device! ")))
        session.sendDeleteHistory();
}

HistoryExport exporter(TForm1 &window) {
    return HistoryExport(window.historyTable(), window.session().statusBar(),
                         window.session().progressBar());
}

} // namespace

void connectHistoryButtons(TForm1 &window, THistoryInf &history) {
    HistoryPage *page = window.historyPage();
    QObject::connect(page->readData, &QPushButton::clicked, &window,
                     [&history] { history.StartRead(); });
    QObject::connect(page->filter, &QPushButton::clicked, &window, [page, &history] {
        history.FilterRows(
            {page->dtp1->date(), page->dtp2->time(), page->dtp3->date(), page->dtp4->time()});
    });
    QObject::connect(page->btn2, &QPushButton::clicked, &window,
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
