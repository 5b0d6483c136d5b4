#pragma once

#include <QPushButton>
#include <QWidget>

class GridView;
class SettingsTable;

// Page 1: the basic settings with their buttons on a 100-pixel panel at the left.
class SettingsPage : public QWidget {
    Q_OBJECT
public:
    SettingsPage(SettingsTable &table, QWidget *parent = nullptr);

    // The grid `strngrd_write`: view row r is settings row r, headings included.
    GridView *grid() const { return strngrd_write; }

    QPushButton *const readSettings;
    QPushButton *const saveSettings;
    QPushButton *const importProfile;
    QPushButton *const exportProfile;

private:
    GridView *strngrd_write;
};
