#pragma once

#include <QPushButton>
#include <QWidget>

// Page 1: the basic settings with their buttons on a 100-pixel panel at the left.
class SettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit SettingsPage(QWidget *parent = nullptr);

    QPushButton *const readSettings;
    QPushButton *const saveSettings;
    QPushButton *const importProfile;
    QPushButton *const exportProfile;
};
