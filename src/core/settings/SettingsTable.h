#pragma once

#include "StringGrid.h"

#include <QStringList>
#include <array>

// The settings grid: 3 columns × 23 rows. Row 0 holds the headings; row n (1..22) holds
// parameter n with its caption in column 0, its value in column 1 and its description in
// column 2. Six parameters are choices: a drop-down list lies over their value cell, and
// what counts for the device is that list's selected item index, kept here with the list's
// items and whether it is shown.
class SettingsTable : public StringGrid {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 3;
    static constexpr int RowCount = 23;
    static constexpr int ParameterCount = 22;
    static constexpr int CaptionColumn = 0;
    static constexpr int ValueColumn = 1;
    static constexpr int DescriptionColumn = 2;
    static constexpr std::array<int, 6> ChoiceRows = {3, 4, 8, 9, 11, 12};

    // Filled with the start-up contents; the choice editors start hidden.
    explicit SettingsTable(QObject *parent = nullptr);

    // Headings, captions, descriptions and default contents, as at start-up.
    void setUp();

    QString value(int row) const { return cell(ValueColumn, row); }
    void setValue(int row, const QString &text) { setCell(ValueColumn, row, text); }

    // What parameter n stands at, as a person reads it: the selected item's text for a choice
    // row (whatever its cell shows), the value cell otherwise.
    QString parameterText(int row) const;

    static bool isChoiceRow(int row);
    // The fixed items of a choice row's list; empty for other rows.
    static QStringList choiceItems(int row);

    // -1 means no selection.
    int choiceIndex(int row) const;
    // An index for which the list has no item leaves the list with no selection.
    void setChoiceIndex(int row, int index);
    // The displayed text of the selected item; empty without a selection.
    QString choiceText(int row) const;

    bool isChoiceShown(int row) const;
    void showChoice(int row);
    // The horizontal-scroll hook hides all six; drawing their cells shows them again.
    void hideChoices();
    // Leaving a list writes its selected item's text into the row's value cell.
    void leaveChoice(int row);

    // Only value cells are editable: headings, captions and descriptions are not.
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // A choice row counts as changed by its list's selection alone: its value cell may only be
    // catching up with the list.
    void markBaselineRows(int firstRow, int lastRow) override;
    bool isCellChanged(int col, int row) const override;
    bool isRowChanged(int row) const override;
    // Cells and selections of another settings table.
    void copyContentFrom(const SettingsTable &other);
    // The baseline becomes another settings table's cells and selections.
    void setBaselineFrom(const SettingsTable &other);

signals:
    void choiceIndexChanged(int row);
    void choiceShownChanged(int row);

private:
    struct Choice {
        int index = -1;
        bool shown = false;
    };
    Choice *choice(int row);
    const Choice *choice(int row) const;

    std::array<Choice, ChoiceRows.size()> choices{};
    std::array<int, ChoiceRows.size()> baselineChoices{};
};
