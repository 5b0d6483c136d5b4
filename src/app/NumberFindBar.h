#pragma once

#include <QList>
#include <QWidget>

class NumberGridView;
class NumberTable;
class QLabel;
class QLineEdit;

// The find field above the number grid: the rows whose number holds the typed digits are
// marked, the first of them (in the grid's present order) becomes current, and Enter moves on to
// the next one, round to the first after the last. Beside it the count of matches.
class NumberFindBar : public QWidget {
    Q_OBJECT
public:
    NumberFindBar(NumberTable &table, NumberGridView &grid, QWidget *parent = nullptr);

    QLineEdit *field() const { return edit; }
    QLabel *countLabel() const { return count; }

    // Ctrl+F: the field takes the focus with its text selected.
    void focusField();

private:
    void search();
    // The next match below the current row, or the current row itself when `fromCurrent` and it
    // matches; round to the first after the last.
    void goToMatch(bool fromCurrent);
    // The matches as view rows, top to bottom.
    QList<int> matchedViewRows() const;

    NumberTable &table;
    NumberGridView &grid;
    QLineEdit *edit;
    QLabel *count;
    QList<int> matches; // table rows
};
