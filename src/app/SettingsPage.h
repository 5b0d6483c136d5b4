#pragma once

#include "SettingsGridView.h"

#include <QPushButton>
#include <QWidget>

class GridUndo;
class SettingsTable;

// Page 1: the basic settings with their buttons on a 100-pixel panel at the left.
class SettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit SettingsPage(SettingsTable &table, QWidget *parent = nullptr);

    SettingsGridView *grid() const { return strngrd_write; }
    GridUndo *undo() const { return history; }

    QPushButton *const readSettings;
    QPushButton *const saveSettings;
    QPushButton *const importProfile;
    QPushButton *const exportProfile;
    // "Compare with file…": locked and unlocked with "Read Settings", as it reads too.
    QPushButton *const compareFile;

private:
    SettingsGridView *strngrd_write;
    GridUndo *history;
};
