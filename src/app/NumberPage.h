#pragma once

#include "NumberGridView.h"

#include <QPushButton>
#include <QWidget>

class GridUndo;
class NumberFindBar;
class NumberTable;

// Page 2: the authorized number list with its buttons on a 100-pixel panel at the left.
class NumberPage : public QWidget {
    Q_OBJECT
public:
    NumberPage(NumberTable &table, QWidget *parent = nullptr);

    NumberGridView *grid() const { return strngrd3; }
    GridUndo *undo() const { return history; }
    NumberFindBar *findBar() const { return finder; }

    QPushButton *const read;
    QPushButton *const save;
    QPushButton *const importXls;
    QPushButton *const exportXls;
    QPushButton *const exportCsv;
    QPushButton *const allAlways; // "All Always"
    QPushButton *const deleteAll; // "Delete all"
    QPushButton *const clearGrid; // hidden "clear the grid"
    QPushButton *const importCsv;
    // Marks every entry whose window has ended for deletion, as one undo step.
    QPushButton *const removeExpired;
    // "Compare with file…": locked and unlocked with "Read", as it reads too.
    QPushButton *const compareFile;

private:
    NumberGridView *strngrd3;
    GridUndo *history;
    NumberFindBar *finder = nullptr;
};
