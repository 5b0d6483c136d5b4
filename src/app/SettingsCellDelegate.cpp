#include "SettingsCellDelegate.h"

#include "settings/SettingsTable.h"
#include "settings/SettingsTyping.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>

namespace {

CellDelegate::Look settingsLook(const QAbstractItemView &view) {
    CellDelegate::Look look;
    look.fixedFill = view.palette().color(QPalette::Button);
    look.headingFill = QColor(166, 202, 240);
    look.headingIsRow = true;
    return look;
}

} // namespace

SettingsCellDelegate::SettingsCellDelegate(SettingsTable &table, QAbstractItemView &view)
    : CellDelegate(settingsLook(view), &view)
    , table(table)
    , view(view) {}

void SettingsCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const {
    if (index.row() == 0) {
        CellDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem plain(option);
    if (index.column() == SettingsTable::CaptionColumn) {
        // Captions are fixed cells: their own fill, never shown as selected.
        painter->fillRect(option.rect, option.palette.color(QPalette::Button));
        plain.state &= ~QStyle::State_Selected;
    }
    if (index.data(StringGrid::CellChangedRole).toBool())
        plain.font.setBold(true);
    QStyledItemDelegate::paint(painter, plain, index);
    if (index.column() == SettingsTable::CaptionColumn)
        drawRowMarker(painter, option, index, true);
}

QWidget *SettingsCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                            const QModelIndex &index) const {
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    const int row = index.row();
    // Only the operator's own changes go through the rules: text a read or an import put into
    // the cell (a "+" before a phone number) stays as it is.
    connect(editor, &QLineEdit::textEdited, editor,
            [this, editor, row](const QString &text) { typed(editor, row, text); });
    return editor;
}

void SettingsCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const {
    // The cell follows every keystroke; writing the same text back would only move the cursor.
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (line && line->text() == index.data(Qt::EditRole).toString())
        return;
    CellDelegate::setEditorData(editor, index);
}

bool SettingsCellDelegate::eventFilter(QObject *object, QEvent *event) {
    // The cell already holds every keystroke, so the page's undo takes back the whole edit; the
    // editor's own undo, one keystroke at a time, would only disagree with it.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y))
            return true;
    }
    return CellDelegate::eventFilter(object, event);
}

void SettingsCellDelegate::typed(QLineEdit *editor, int row, const QString &text) const {
    // The cell follows every change, so it still holds the text from before this one.
    const SettingsTyping::Outcome outcome =
        SettingsTyping::textEdited(row, table.value(row), text, editor->cursorPosition());
    if (outcome.changed) {
        // What went was part of what just entered, in front of the cursor.
        const qsizetype cursor = editor->cursorPosition() - (text.size() - outcome.text.size());
        editor->setText(outcome.text);
        editor->setCursorPosition(int(std::clamp<qsizetype>(cursor, 0, outcome.text.size())));
    }
    table.setValue(row, outcome.text);
    if (!outcome.refusal.isEmpty())
        emit typingRefused(outcome.refusal);
    // Selecting another row ends this edit; the editor goes away with it.
    if (outcome.selectRow >= 0)
        view.setCurrentIndex(table.index(outcome.selectRow, SettingsTable::ValueColumn));
}
