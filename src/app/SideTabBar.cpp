#include "SideTabBar.h"

#include <QPainter>
#include <QPainterPath>

SideTabBar::SideTabBar(QWidget *parent)
    : QTabBar(parent) {
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(15);
    setFont(f);
    setExpanding(false);
}

QSize SideTabBar::tabSizeHint(int) const {
    return QSize(TabWidth, TabHeight);
}

QSize SideTabBar::minimumTabSizeHint(int index) const {
    return tabSizeHint(index);
}

void SideTabBar::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor face = palette().color(QPalette::Button);
    for (int i = 0; i < count(); ++i) {
        const bool selected = i == currentIndex();
        const QRectF r = QRectF(tabRect(i)).adjusted(1.5, 1.5, -0.5, -1.5);
        QPainterPath shape;
        shape.addRoundedRect(r, 6, 6);
        p.setPen(QPen(palette().color(QPalette::Mid), 1));
        p.setBrush(selected ? palette().color(QPalette::Base) : face);
        p.drawPath(shape);
        p.setPen(selected ? QColor(Qt::blue) : QColor(Qt::black));
        QString caption = tabText(i);
        caption.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        // A desktop font wider than the original one is narrowed until the caption fits.
        QFont f = font();
        const QRectF room = r.adjusted(3, 0, -3, 0);
        while (f.pixelSize() > 9 &&
               QFontMetricsF(f).boundingRect(room, Qt::AlignCenter, caption).width() > room.width())
            f.setPixelSize(f.pixelSize() - 1);
        p.setFont(f);
        p.drawText(r, Qt::AlignCenter, caption);
    }
}
