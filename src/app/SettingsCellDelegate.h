#pragma once

#include "CellDelegate.h"

class QAbstractItemView;
class QLineEdit;
class SettingsTable;

// Draws the settings grid (the heading row on its blue fill with centred text, the caption
// column on the button face, the rest as a plain grid draws it) and hosts its in-place text
// editor, which applies the typing rules of the parameter's row after every change.
class SettingsCellDelegate : public CellDelegate {
    Q_OBJECT
public:
    SettingsCellDelegate(SettingsTable &table, QAbstractItemView &view);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;

signals:
    // The editor left out a character the device cannot hold; `why` is for the status panel.
    void typingRefused(const QString &why) const;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    void typed(QLineEdit *editor, int row, const QString &text) const;

    SettingsTable &table;
    QAbstractItemView &view;
};
