#pragma once

#include <QTabBar>

// Tabs on the left of the page control, 75 wide and 80 high, with their captions written
// across in a bold 15-pixel font: blue on the selected tab, black on the others. A caption's
// "\r\n" breaks the line.
class SideTabBar : public QTabBar {
    Q_OBJECT
public:
    static constexpr int TabWidth = 75;
    static constexpr int TabHeight = 80;

    explicit SideTabBar(QWidget *parent = nullptr);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent *event) override;
};
