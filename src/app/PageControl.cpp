#include "PageControl.h"

#include "SideTabBar.h"

PageControl::PageControl(QWidget *parent)
    : QTabWidget(parent)
    , bar(new SideTabBar(this)) {
    setTabBar(bar);
    setTabPosition(QTabWidget::West);
}
