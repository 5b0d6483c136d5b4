#include "SettingsPage.h"

#include "CellDelegate.h"
#include "GridView.h"
#include "PageButtons.h"
#include "settings/SettingsTable.h"

#include <QHBoxLayout>
#include <QHeaderView>

namespace {

QWidget *leftPanel(QWidget *page) {
    auto *panel = new QWidget(page);
    panel->setFixedWidth(100);
    return panel;
}

} // namespace

SettingsPage::SettingsPage(SettingsTable &table, QWidget *parent)
    : QWidget(parent)
    , readSettings(makePageButton(QStringLiteral("Read Settings"), leftPanel(this), 8, 45))
    , saveSettings(
          makePageButton(QStringLiteral("Save Settings"), readSettings->parentWidget(), 8, 101))
    , importProfile(
          makePageButton(QStringLiteral("Import profile"), readSettings->parentWidget(), 8, 158))
    , exportProfile(
          makePageButton(QStringLiteral("Export profile"), readSettings->parentWidget(), 8, 214))
    , strngrd_write(new GridView({275, 201, 391}, 24, this)) {
    // Only 23 rows: the headings stay a row of the grid, as the settings code addresses them.
    strngrd_write->horizontalHeader()->hide();
    strngrd_write->setModel(&table);
    strngrd_write->applyColumnWidths();
    strngrd_write->verticalHeader()->resizeSection(1, 22);
    strngrd_write->verticalHeader()->resizeSection(8, 26);
    strngrd_write->setSelectionMode(QAbstractItemView::ContiguousSelection);
    const QColor face = palette().color(QPalette::Button);
    strngrd_write->setItemDelegate(new CellDelegate({face, QColor(166, 202, 240), true}, this));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(readSettings->parentWidget());
    layout->addWidget(strngrd_write, 1);
}
