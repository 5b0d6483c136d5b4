#pragma once

#include <QDateTimeEdit>
#include <QPersistentModelIndex>

// The date or time picker over a cell of an entry's validity window. It changes its cell only
// when the operator changes its value: loading the cell's value into it is no change, and until
// it is opened (Enter, F2, a click) the arrow keys move the grid's current cell instead of
// stepping it, so that moving through the grid never touches a value.
class WindowPicker : public QDateTimeEdit {
    Q_OBJECT
public:
    enum Kind { Date, Time };
    WindowPicker(Kind kind, const QModelIndex &cell, QWidget *parent);

    Kind kind() const { return pickerKind; }
    // Shows the cell's value; the operator has changed nothing by it.
    void load(const QDateTime &value);
    // The value as the cell's text: "yyyy/MM/dd" or "HH:mm".
    QString text() const;

    bool isOpened() const { return opened; }
    void open() { opened = true; }
    bool changedByOperator() const { return changed; }
    // The cell's text from before the picker came, to put back when the operator cancels.
    QString cellBefore() const { return before; }
    const QPersistentModelIndex &cell() const { return where; }

signals:
    // The operator changed the value.
    void picked();

private:
    const Kind pickerKind;
    const QPersistentModelIndex where;
    const QString before;
    bool loading = false;
    bool opened = false;
    bool changed = false;
};
