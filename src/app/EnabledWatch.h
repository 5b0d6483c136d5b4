#pragma once

#include <functional>

class QWidget;

// Calls `changed` with the widget's new state whenever it is enabled or disabled. The window
// locks and unlocks its operation buttons one by one; a button beside one of them follows it this
// way without joining the window's list.
void watchEnabled(QWidget *widget, std::function<void(bool enabled)> changed);
