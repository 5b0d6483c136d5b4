#include "NumberPage.h"

#include "NumberGridView.h"
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
    , strngrd3(new NumberGridView(table, this)) {
    btn11->hide();
    connect(btn6, &QPushButton::clicked, &table, &NumberTable::flipAllAlways);
    connect(btn7, &QPushButton::clicked, &table, &NumberTable::flipDeleteAll);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(read->parentWidget());
    layout->addWidget(strngrd3, 1);
}
