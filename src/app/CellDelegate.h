#pragma once

#include <QColor>
#include <QSet>
#include <QStyledItemDelegate>

// Draws the cells of a page grid as the device tool always has: every text on one line,
// centred; the fixed cells (the first column, and the heading row when the grid shows it as a
// row) on their own fill; yes/no cells as a check box without their text.
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    struct Look {
        QColor fixedFill;            // the first column
        QColor headingFill;          // row 0, when the view shows it as a row
        bool headingIsRow = false;   // false when the headings live in the view's header
        QSet<int> checkColumns = {}; // columns drawn as check boxes ("yes" is checked)
        bool marksChanges = false;   // changed cells in bold, a dot in a changed row's first cell
    };

    explicit CellDelegate(const Look &look, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    // A text wider than its cell shows whole as the cell's tooltip.
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

protected:
    // The dot that tells a row differs from the content last read or imported; at the cell's
    // right end where the text starts at its left.
    static void drawRowMarker(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index, bool atRight = false);

private:
    Look look;
};
