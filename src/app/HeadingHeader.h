#pragma once

#include <QColor>
#include <QHeaderView>

// The heading row of a grid: each heading centred on one line over the grid's fill colour.
class HeadingHeader : public QHeaderView {
    Q_OBJECT
public:
    HeadingHeader(const QColor &fill, QWidget *parent = nullptr);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    QColor fill;
};
