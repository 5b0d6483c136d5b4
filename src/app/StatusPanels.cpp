#include "StatusPanels.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {

constexpr int Widths[StatusPanels::PanelCount] = {100, 50, 200, 50};
constexpr int DiscSize = 17;

QPixmap disc(const QColor &colour) {
    QPixmap pm(DiscSize, DiscSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient shade(QPointF(6, 6), 10);
    shade.setColorAt(0, colour.lighter(170));
    shade.setColorAt(1, colour);
    p.setBrush(shade);
    p.setPen(QPen(colour.darker(160), 1));
    p.drawEllipse(QRectF(1, 1, DiscSize - 2, DiscSize - 2));
    return pm;
}

QLabel *discLabel(const QColor &colour, QWidget *parent) {
    auto *l = new QLabel(parent);
    l->setPixmap(disc(colour));
    l->setFixedSize(DiscSize, DiscSize);
    return l;
}

} // namespace

StatusPanels::StatusPanels(QWidget *parent)
    : QWidget(parent)
    , pb1(new QProgressBar(this))
    , img1(discLabel(QColor(220, 30, 30), this))
    , img2(discLabel(QColor(20, 180, 40), this)) {
    setFixedHeight(Height);
    pb1->setRange(0, 100);
    pb1->setTextVisible(false);
    // The discs sit at panel 1's left + 15, top + 2; the red one is in front at start.
    const QRect discPanel = panelRect(1);
    img1->move(discPanel.left() + 15, discPanel.top() + 2);
    img2->move(discPanel.left() + 15, discPanel.top() + 2);
    showPortOpen(false);
    stat1DrawPanel(3);
}

int StatusPanels::panelWidth(int panel) {
    return panel >= 0 && panel < PanelCount ? Widths[panel] : 0;
}

QRect StatusPanels::panelRect(int panel) const {
    int left = 0;
    for (int i = 0; i < panel && i < PanelCount; ++i)
        left += Widths[i];
    // Panels are separated by a 2-pixel gap and inset by 2 pixels from the bar's edges.
    return QRect(left, 2, panelWidth(panel) - 2, Height - 4);
}

QString StatusPanels::panelText(int panel) const {
    return panel >= 0 && panel < PanelCount ? texts[panel] : QString();
}

QString StatusPanels::shownText(int panel) const {
    return fontMetrics().elidedText(panelText(panel), Qt::ElideRight, textRect(panel).width());
}

QRect StatusPanels::textRect(int panel) const {
    return panelRect(panel).adjusted(3, 0, -3, 0);
}

void StatusPanels::setPanelText(int panel, const QString &text) {
    if ((panel != 0 && panel != 2) || texts[panel] == text)
        return;
    texts[panel] = text;
    update(panelRect(panel));
}

void StatusPanels::showPortOpen(bool open) {
    shownOpen = open;
    QLabel *front = open ? img2 : img1;
    QLabel *back = open ? img1 : img2;
    front->raise();
    front->show();
    back->hide();
}

void StatusPanels::stat1DrawPanel(int panel) {
    // The progress bar lies over panel 3, 15 pixels narrower than the panel.
    if (panel != 3)
        return;
    const QRect r = panelRect(3);
    pb1->setGeometry(r.left(), r.top(), r.width() - 15, r.height());
}

void StatusPanels::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    stat1DrawPanel(3);
}

void StatusPanels::paintEvent(QPaintEvent *) {
    QPainter p(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.lineWidth = 1;
    frame.state |= QStyle::State_Sunken;
    for (int i = 0; i < PanelCount; ++i) {
        const QRect r = panelRect(i);
        frame.rect = r;
        style()->drawPrimitive(QStyle::PE_Frame, &frame, &p, this);
        if (texts[i].isEmpty())
            continue;
        const int align = Qt::AlignVCenter | (i == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(textRect(i), align, shownText(i));
    }
}
