#include "CellDelegate.h"

#include "StringGrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

CellDelegate::CellDelegate(const Look &look, QObject *parent)
    : QStyledItemDelegate(parent)
    , look(look) {}

void CellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                         const QModelIndex &index) const {
    const QWidget *view = option.widget;
    QStyle *style = view ? view->style() : QApplication::style();
    const bool heading = look.headingIsRow && index.row() == 0;
    const bool fixed = heading || index.column() == 0;
    const bool selected = !fixed && (option.state & QStyle::State_Selected);
    const QPalette &pal = option.palette;

    painter->save();
    if (look.checkColumns.contains(index.column()) && !fixed) {
        painter->fillRect(option.rect, pal.color(QPalette::Base));
        QStyleOptionButton box;
        box.state = QStyle::State_Enabled |
                    (index.data().toString() == QLatin1String("yes") ? QStyle::State_On
                                                                     : QStyle::State_Off);
        const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, view);
        const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, view);
        const QRect r = option.rect;
        box.rect =
            QRect((r.left() + r.right() + 1 - w) / 2, (r.top() + r.bottom() + 1 - h) / 2, w, h);
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, view);
        painter->restore();
        return;
    }

    const QColor fill = heading    ? look.headingFill
                        : fixed    ? look.fixedFill
                        : selected ? pal.color(QPalette::Highlight)
                                   : pal.color(QPalette::Base);
    painter->fillRect(option.rect, fill);
    const QString text = index.data().toString();
    if (!text.isEmpty()) {
        painter->setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
        QFont font = option.font;
        if (look.marksChanges && index.data(StringGrid::CellChangedRole).toBool())
            font.setBold(true);
        painter->setFont(font);
        painter->drawText(option.rect, Qt::AlignCenter | Qt::TextSingleLine, text);
    }
    painter->restore();
    if (look.marksChanges && index.column() == 0 && !heading)
        drawRowMarker(painter, option, index);
}

void CellDelegate::drawRowMarker(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index, bool atRight) {
    if (!index.data(StringGrid::RowChangedRole).toBool())
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(230, 120, 0));
    const int d = std::max(4, option.rect.height() / 4);
    const int left = atRight ? option.rect.right() - 3 - d : option.rect.left() + 3;
    painter->drawEllipse(QRect(left, option.rect.center().y() - d / 2, d, d));
    painter->restore();
}

bool CellDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                             const QStyleOptionViewItem &option, const QModelIndex &index) {
    const QString text = index.data().toString();
    // Cells are drawn on one line, whatever the view would wrap.
    QStyleOptionViewItem oneLine(option);
    oneLine.features &= ~QStyleOptionViewItem::WrapText;
    if (event->type() == QEvent::ToolTip && !text.isEmpty() &&
        sizeHint(oneLine, index).width() > option.rect.width()) {
        QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
