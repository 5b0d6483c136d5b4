#include "NumberMatchDelegate.h"

void NumberMatchDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const {
    const QVariant fill = index.data(Qt::BackgroundRole);
    if (!fill.canConvert<QColor>()) {
        NumberCellDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem cell(option);
    cell.palette.setColor(QPalette::Base, fill.value<QColor>());
    NumberCellDelegate::paint(painter, cell, index);
}
