#pragma once

#include "GridView.h"

#include <array>

class QComboBox;
class SettingsTable;

// The settings grid `strngrd_write`: the heading row, then one row per parameter with its
// caption, value and description. The drop-down lists of the six choice rows lie over their
// value cells: a list is placed over its cell when that cell is drawn while the list is hidden
// (the window hides all six when the grid scrolls sideways), and leaving a list writes its
// selected item's text into the cell. Whether a list is shown and what it selects
// live in the table, so the transfers see the same state as the operator.
class SettingsGridView : public GridView {
    Q_OBJECT
public:
    explicit SettingsGridView(SettingsTable &table, QWidget *parent = nullptr);

    SettingsTable &table() const { return settings; }
    // The drop-down list of a choice row (cbb1, cbb2, ...); null for any other row.
    QComboBox *choiceEditor(int row) const;

    // Keys on a cell that takes no typing do nothing: the grid never jumps to a row whose text
    // starts with them, which would hand the next key to that row's value.
    void keyboardSearch(const QString &) override {}

signals:
    // A value cell's text editor opened; it writes the cell at every change until it goes.
    void editorOpened(QWidget *editor);

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QComboBox *makeChoiceEditor(int row, const char *name);
    void choiceShownChanged(int row);
    void choiceIndexChanged(int row);
    void showDrawnChoices();
    static bool leftForGood(const QComboBox &box, Qt::FocusReason reason);

    SettingsTable &settings;
    std::array<QComboBox *, 6> choices{};
    // Choice rows whose cells were drawn while their lists were hidden.
    QList<int> drawnHidden;
};
