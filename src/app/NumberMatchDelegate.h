#pragma once

#include "NumberCellDelegate.h"

// The number grid's cells, with the rows the find field matched on the fill their model gives
// them.
class NumberMatchDelegate : public NumberCellDelegate {
    Q_OBJECT
public:
    using NumberCellDelegate::NumberCellDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
