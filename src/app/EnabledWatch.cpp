#include "EnabledWatch.h"

#include <QEvent>
#include <QWidget>

namespace {

class EnabledFilter : public QObject {
public:
    EnabledFilter(QWidget *widget, std::function<void(bool)> changed)
        : QObject(widget)
        , widget(widget)
        , changed(std::move(changed)) {}

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == widget && event->type() == QEvent::EnabledChange)
            changed(widget->isEnabled());
        return false;
    }

private:
    QWidget *widget;
    std::function<void(bool)> changed;
};

} // namespace

void watchEnabled(QWidget *widget, std::function<void(bool enabled)> changed) {
    widget->installEventFilter(new EnabledFilter(widget, std::move(changed)));
}
