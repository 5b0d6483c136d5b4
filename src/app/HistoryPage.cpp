#include "HistoryPage.h"

#include "CellDelegate.h"
#include "GridView.h"
#include "HeadingHeader.h"
#include "HeadingRowProxy.h"
#include "PageButtons.h"
#include "history/HistoryTable.h"

#include <QDateTime>
#include <QGridLayout>
#include <QLabel>

namespace {

QWidget *panel(QWidget *page) {
    return new QWidget(page);
}

QLabel *label(const QString &text, QWidget *parent, int left) {
    auto *l = new QLabel(text, parent);
    l->setGeometry(left, 8, 36, 30);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

template <class Picker>
Picker *picker(const QString &format, QWidget *parent, int left, int width) {
    auto *p = new Picker(parent);
    p->setDisplayFormat(format);
    p->setGeometry(left, 11, width, 24);
    return p;
}

} // namespace

HistoryPage::HistoryPage(HistoryTable &table, QWidget *parent)
    : QWidget(parent)
    , readData(makePageButton(QStringLiteral("Read data"), panel(this), 8, 8))
    , dtp1(picker<QDateEdit>(QStringLiteral("yyyy-MM-dd"), readData->parentWidget(), 150, 100))
    , dtp2(picker<QTimeEdit>(QStringLiteral("H:mm:ss"), readData->parentWidget(), 254, 80))
    , dtp3(picker<QDateEdit>(QStringLiteral("yyyy-MM-dd"), readData->parentWidget(), 390, 100))
    , dtp4(picker<QTimeEdit>(QStringLiteral("H:mm:ss"), readData->parentWidget(), 494, 80))
    , filter(makePageButton(QStringLiteral("Filter"), readData->parentWidget(), 600, 8))
    , showAll(makePageButton(QStringLiteral("Show all"), readData->parentWidget(), 692, 8))
    , exportCsv(makePageButton(QStringLiteral("Export.CSV"), panel(this), 8, 20))
    , exportXls(makePageButton(QStringLiteral("Export.XLS"), exportCsv->parentWidget(), 8, 76))
    , clearGrid(makePageButton(QStringLiteral("清空界面记录"), exportCsv->parentWidget(), 8, 132))
    , deleteAll(makePageButton(QStringLiteral("Delete all"), exportCsv->parentWidget(), 8, 188))
    , load(makePageButton(QStringLiteral("Load"), exportCsv->parentWidget(), 8, 244))
    , strngrd4(new GridView({38, 71, 74, 70, 95, 112, 129, 235}, 24, this)) {
    QWidget *top = readData->parentWidget();
    top->setFixedHeight(47);
    label(QStringLiteral("Start:"), top, 110);
    label(QStringLiteral("End:"), top, 350);
    dtp1->setCalendarPopup(true);
    dtp3->setCalendarPopup(true);
    dtp1->setDate(QDate(2015, 3, 3));
    dtp2->setTime(QTime(0, 0, 0));
    // The window sets the end of the window to the moment it starts.
    const QDateTime now = QDateTime::currentDateTime();
    dtp3->setDate(now.date());
    dtp4->setTime(now.time());
    exportCsv->parentWidget()->setFixedWidth(100);
    clearGrid->hide();
    // Nothing to bring back until the filter has narrowed the grid.
    showAll->setEnabled(false);

    // The history's fixed cells take the caption-text colour, white on the usual desktop.
    const QColor fixed(Qt::white);
    strngrd4->setHorizontalHeader(new HeadingHeader(fixed, strngrd4));
    auto *proxy = new HeadingRowProxy(strngrd4);
    proxy->setSourceModel(&table);
    strngrd4->setModel(proxy);
    strngrd4->applyColumnWidths();
    strngrd4->horizontalHeader()->setFixedHeight(24);
    // The record number is held and exported but not seen.
    strngrd4->setColumnHidden(HistoryTable::RecordNo, true);
    strngrd4->setItemDelegate(new CellDelegate({fixed, fixed, false}, strngrd4));

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top, 0, 0, 1, 2);
    layout->addWidget(exportCsv->parentWidget(), 1, 0);
    layout->addWidget(strngrd4, 1, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
}
