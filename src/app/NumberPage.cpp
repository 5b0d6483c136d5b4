#include "NumberPage.h"

#include "CellDelegate.h"
#include "GridView.h"
#include "HeadingHeader.h"
#include "HeadingRowProxy.h"
#include "PageButtons.h"
#include "numbers/NumberTable.h"

#include <QHBoxLayout>

NumberPage::NumberPage(NumberTable &table, QWidget *parent)
    : QWidget(parent)
    , read(makePageButton(QStringLiteral("Read"), makeButtonPanel(this), 8, 45))
    , save(makePageButton(QStringLiteral("Save"), read->parentWidget(), 8, 101))
    , importXls(makePageButton(QStringLiteral("Import .XLS"), read->parentWidget(), 8, 158))
    , exportXls(makePageButton(QStringLiteral("Export .XLS"), read->parentWidget(), 8, 214))
    , exportCsv(makePageButton(QStringLiteral("Export .CSV"), read->parentWidget(), 8, 271))
    , btn6(makePageButton(QStringLiteral("All Always"), read->parentWidget(), 8, 330))
    , btn7(makePageButton(QStringLiteral("Delete all"), read->parentWidget(), 8, 385))
    , btn11(makePageButton(QStringLiteral("清空界面信息"), read->parentWidget(), 8, 539))
    , strngrd3(new GridView({45, 145, 83, 91, 89, 86, 78, 76}, 24, this)) {
    btn11->hide();

    const QColor face = palette().color(QPalette::Button);
    strngrd3->setHorizontalHeader(new HeadingHeader(face, strngrd3));
    auto *proxy = new HeadingRowProxy(strngrd3);
    proxy->setSourceModel(&table);
    strngrd3->setModel(proxy);
    strngrd3->applyColumnWidths();
    strngrd3->horizontalHeader()->setFixedHeight(24);
    // Entry 20 is a little lower than the others, as the device tool has always shown it.
    strngrd3->verticalHeader()->resizeSection(19, 21);
    strngrd3->setItemDelegate(new CellDelegate(
        {face, face, false, {NumberTable::Always, NumberTable::Delete}}, strngrd3));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(read->parentWidget());
    layout->addWidget(strngrd3, 1);
}
