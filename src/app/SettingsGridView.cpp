#include "SettingsGridView.h"

#include "SettingsCellDelegate.h"
#include "settings/SettingsTable.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QPaintEvent>

#include <algorithm>
#include <utility>

namespace {

int slotOf(int row) {
    const auto &rows = SettingsTable::ChoiceRows;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i] == row)
            return int(i);
    return -1;
}

} // namespace

SettingsGridView::SettingsGridView(SettingsTable &table, QWidget *parent)
    : GridView({275, 201, 391}, 24, parent)
    , settings(table) {
    setObjectName(QStringLiteral("strngrd_write"));
    // The headings are the grid's row 0, drawn as a fixed row.
    horizontalHeader()->hide();
    setModel(&settings);
    applyColumnWidths();
    verticalHeader()->resizeSection(1, 22);
    verticalHeader()->resizeSection(8, 26);
    setItemDelegate(new SettingsCellDelegate(settings, *this));
    setSelectionMode(ContiguousSelection);
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);

    const char *names[] = {"cbb1", "cbb2", "cbb4", "cbb3", "cbb10", "cbb12"};
    for (size_t i = 0; i < choices.size(); ++i)
        choices[i] = makeChoiceEditor(SettingsTable::ChoiceRows[i], names[i]);
    connect(&settings, &SettingsTable::choiceShownChanged, this,
            &SettingsGridView::choiceShownChanged);
    connect(&settings, &SettingsTable::choiceIndexChanged, this,
            &SettingsGridView::choiceIndexChanged);
}

QComboBox *SettingsGridView::choiceEditor(int row) const {
    const int slot = slotOf(row);
    return slot < 0 ? nullptr : choices[size_t(slot)];
}

QComboBox *SettingsGridView::makeChoiceEditor(int row, const char *name) {
    auto *box = new QComboBox(viewport());
    box->setObjectName(QLatin1String(name));
    box->addItems(SettingsTable::choiceItems(row));
    box->setCurrentIndex(settings.choiceIndex(row));
    box->setVisible(settings.isChoiceShown(row));
    box->installEventFilter(this);
    // A choice longer than the cell shows whole in the tooltip, and its list is wide enough
    // for every item.
    box->setToolTip(box->currentText());
    int widest = 0;
    for (const QString &item : SettingsTable::choiceItems(row))
        widest = std::max(widest, box->view()->fontMetrics().horizontalAdvance(item));
    // Room beside the text for the item's margins and the list's frame.
    box->view()->setMinimumWidth(widest + 40);
    connect(box, &QComboBox::currentIndexChanged, this, [this, row, box](int index) {
        settings.setChoiceIndex(row, index);
        box->setToolTip(box->currentText());
    });
    return box;
}

void SettingsGridView::choiceShownChanged(int row) {
    QComboBox *box = choiceEditor(row);
    if (!settings.isChoiceShown(row)) {
        box->hide();
        return;
    }
    box->setGeometry(visualRect(settings.index(row, SettingsTable::ValueColumn)));
    box->show();
}

void SettingsGridView::choiceIndexChanged(int row) {
    choiceEditor(row)->setCurrentIndex(settings.choiceIndex(row));
}

bool SettingsGridView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) {
    const bool wasOpen = indexWidget(index) != nullptr;
    if (!GridView::edit(index, trigger, event))
        return false;
    if (QWidget *editor = indexWidget(index); editor && !wasOpen)
        emit editorOpened(editor);
    return true;
}

void SettingsGridView::paintEvent(QPaintEvent *event) {
    GridView::paintEvent(event);
    const bool nonePending = drawnHidden.isEmpty();
    for (int row : SettingsTable::ChoiceRows) {
        const QRect cell = visualRect(settings.index(row, SettingsTable::ValueColumn));
        if (!settings.isChoiceShown(row) && event->region().intersects(cell) &&
            !drawnHidden.contains(row))
            drawnHidden.append(row);
    }
    // Widgets are not moved or shown from inside a paint; right after it is soon enough.
    if (nonePending && !drawnHidden.isEmpty())
        QMetaObject::invokeMethod(this, &SettingsGridView::showDrawnChoices, Qt::QueuedConnection);
}

void SettingsGridView::showDrawnChoices() {
    const QList<int> rows = std::exchange(drawnHidden, {});
    for (int row : rows)
        settings.showChoice(row);
}

bool SettingsGridView::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusOut) {
        for (int row : SettingsTable::ChoiceRows) {
            QComboBox *box = choiceEditor(row);
            if (box == watched && leftForGood(*box, static_cast<QFocusEvent *>(event)->reason()))
                settings.leaveChoice(row);
        }
    }
    return GridView::eventFilter(watched, event);
}

bool SettingsGridView::leftForGood(const QComboBox &box, Qt::FocusReason reason) {
    // A switch to another window does not leave the list, and neither does its own drop-down,
    // which takes the focus while it is open.
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return false;
    const QWidget *now = QApplication::focusWidget();
    const QWidget *dropDown = box.view() ? box.view()->window() : nullptr;
    return !(now && dropDown && (now == dropDown || dropDown->isAncestorOf(now)));
}
