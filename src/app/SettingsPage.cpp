#include "SettingsPage.h"

#include "PageButtons.h"

#include <QHBoxLayout>

SettingsPage::SettingsPage(SettingsTable &table, QWidget *parent)
    : QWidget(parent)
    , readSettings(makePageButton(QStringLiteral("Read Settings"), makeButtonPanel(this), 8, 45))
    , saveSettings(
          makePageButton(QStringLiteral("Save Settings"), readSettings->parentWidget(), 8, 101))
    , importProfile(
          makePageButton(QStringLiteral("Import profile"), readSettings->parentWidget(), 8, 158))
    , exportProfile(
          makePageButton(QStringLiteral("Export profile"), readSettings->parentWidget(), 8, 214))
    , strngrd_write(new SettingsGridView(table, this)) {
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(readSettings->parentWidget());
    layout->addWidget(strngrd_write, 1);
}
