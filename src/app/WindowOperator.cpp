#include "WindowOperator.h"

#include "StatusPanels.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace {

QMessageBox::Icon boxIcon(Operator::Icon icon) {
    switch (icon) {
    case Operator::Icon::Information:
        return QMessageBox::Information;
    case Operator::Icon::Question:
        return QMessageBox::Question;
    case Operator::Icon::Warning:
        return QMessageBox::Warning;
    case Operator::Icon::Error:
        return QMessageBox::Critical;
    case Operator::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The platform names a window without a title after the program; a box without one stays
// untitled with a blank.
QString boxTitle(const QString &title) {
    return title.isEmpty() ? QStringLiteral(" ") : title;
}

} // namespace

WindowOperator::WindowOperator(StatusPanels &bar, QWidget &window)
    : bar(bar)
    , window(window) {}

void WindowOperator::setStatusText(const QString &text) {
    bar.setPanelText(2, text);
}

void WindowOperator::setProgressPosition(int value) {
    bar.progressBar()->setValue(value);
}

void WindowOperator::setProgressVisible(bool visible) {
    bar.progressBar()->setVisible(visible);
}

void WindowOperator::message(const QString &text, const QString &title, Icon icon,
                             const QString &detail) {
    QMessageBox box(boxIcon(icon), boxTitle(title), text, QMessageBox::Ok, &window);
    // The reason of a failure goes beneath the message, which keeps its fixed text.
    box.setInformativeText(detail);
    box.exec();
}

bool WindowOperator::confirm(const QString &text, const QString &title,
                             const QString &acceptCaption, const QString &rejectCaption,
                             Icon icon) {
    return ask(text, QString(), title, acceptCaption, rejectCaption, icon);
}

bool WindowOperator::confirmWithDetails(const QString &text, const QString &details,
                                        const QString &title, const QString &acceptCaption,
                                        const QString &rejectCaption, Icon icon) {
    return ask(text, details, title, acceptCaption, rejectCaption, icon);
}

bool WindowOperator::confirmWithOption(const QString &text, const QString &details,
                                       const QString &option, bool &checked, const QString &title,
                                       const QString &acceptCaption, const QString &rejectCaption,
                                       Icon icon) {
    return ask(text, details, title, acceptCaption, rejectCaption, icon, option, &checked);
}

bool WindowOperator::ask(const QString &text, const QString &details, const QString &title,
                         const QString &acceptCaption, const QString &rejectCaption, Icon icon,
                         const QString &option, bool *checked) {
    QMessageBox box(boxIcon(icon), boxTitle(title), text, QMessageBox::NoButton, &window);
    if (checked) {
        auto *check = new QCheckBox(option, &box);
        check->setChecked(*checked);
        box.setCheckBox(check);
    }
    // Shown behind the box's "Show Details..." button; an empty text shows no button.
    box.setDetailedText(details);
    QPushButton *accept = box.addButton(acceptCaption, QMessageBox::YesRole);
    QPushButton *reject = box.addButton(rejectCaption, QMessageBox::NoRole);
    box.setDefaultButton(accept);
    box.setEscapeButton(reject);
    // Questions before a transfer stand at a fixed place near the middle of the screen, not
    // centred on the window.
    const QRect screen = window.screen()->geometry();
    box.move(screen.x() + (screen.width() - 200) / 2, screen.y() + (screen.height() - 200) / 2);
    box.exec();
    if (checked)
        *checked = box.checkBox()->isChecked();
    return box.clickedButton() == accept;
}

bool WindowOperator::warnOkCancel(const QString &text, const QString &title) {
    return QMessageBox::warning(&window, boxTitle(title), text,
                                QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

QString WindowOperator::chooseSaveFile(const QString &title, const QString &folder,
                                       const QString &suggestedName, const QString &filter) {
    // QFileDialog asks before it replaces an existing file.
    return QFileDialog::getSaveFileName(&window, title, QDir(folder).filePath(suggestedName),
                                        filter);
}

QString WindowOperator::chooseOpenFile(const QString &title, const QString &folder,
                                       const QString &filter) {
    return QFileDialog::getOpenFileName(&window, title, folder, filter);
}
