#include "HeadingHeader.h"

#include <QPainter>

HeadingHeader::HeadingHeader(const QColor &fill, QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
    , fill(fill) {
    setSectionResizeMode(QHeaderView::Fixed);
    setHighlightSections(false);
    setSectionsClickable(false);
}

void HeadingHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const {
    painter->save();
    painter->fillRect(rect, fill);
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    const QString text =
        model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    if (!text.isEmpty()) {
        painter->setPen(palette().color(QPalette::WindowText));
        painter->drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
    }
    painter->restore();
}
