#include "SettingsPage.h"

#include "EnabledWatch.h"
#include "GridUndo.h"
#include "PageButtons.h"
#include "settings/SettingsTable.h"

#include <QHBoxLayout>

namespace {

// The six lists' selections go back with the texts; a list's value cell shows its selection.
GridUndo::SideState choiceSelections(SettingsTable &table) {
    GridUndo::SideState side;
    side.read = [&table] {
        QList<int> indexes;
        for (int row : SettingsTable::ChoiceRows)
            indexes << table.choiceIndex(row);
        return indexes;
    };
    side.write = [&table](const QList<int> &indexes) {
        for (size_t i = 0; i < SettingsTable::ChoiceRows.size(); ++i)
            table.setChoiceIndex(SettingsTable::ChoiceRows[i], indexes.value(qsizetype(i), -1));
    };
    side.shownIn = [](int col, int row) {
        return col == SettingsTable::ValueColumn && SettingsTable::isChoiceRow(row);
    };
    return side;
}

} // namespace

SettingsPage::SettingsPage(SettingsTable &table, QWidget *parent)
    : QWidget(parent)
    , readSettings(makePageButton(QStringLiteral("Read Settings"), makeButtonPanel(this), 8, 45))
    , saveSettings(
          makePageButton(QStringLiteral("Save Settings"), readSettings->parentWidget(), 8, 101))
    , importProfile(
          makePageButton(QStringLiteral("Import profile"), readSettings->parentWidget(), 8, 158))
    , exportProfile(
          makePageButton(QStringLiteral("Export profile"), readSettings->parentWidget(), 8, 214))
    , compareFile(makePageButton(QStringLiteral("Compare with file…"), readSettings->parentWidget(),
                                 8, 271))
    , strngrd_write(new SettingsGridView(table, this))
    , history(new GridUndo(table, *this, choiceSelections(table))) {
    connect(&table, &SettingsTable::choiceIndexChanged, history, &GridUndo::sideStateTouched);
    connect(strngrd_write, &SettingsGridView::editorOpened, history,
            [this](QWidget *editor) { history->holdStepWhileOpen(*editor); });
    watchEnabled(readSettings, [this](bool enabled) { compareFile->setEnabled(enabled); });
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(readSettings->parentWidget());
    layout->addWidget(strngrd_write, 1);
}
