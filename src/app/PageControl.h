#pragma once

#include <QTabWidget>

class SideTabBar;

// The window's page control: one page per task, tabs on the left.
class PageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget *parent = nullptr);

    SideTabBar *sideTabBar() const { return bar; }

private:
    SideTabBar *bar;
};
