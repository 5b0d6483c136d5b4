#pragma once

#include "exchange/AreaDifference.h"

#include <QDialog>

class QTableWidget;

// "Compare with file…": where the device and the file differ, one row each, with what the device
// holds and what the file holds there. It only shows: nothing is written anywhere.
class DifferenceDialog : public QDialog {
    Q_OBJECT
public:
    DifferenceDialog(const QString &whereHeading, const AreaDifferences &differences,
                     QWidget *parent);

    QTableWidget *table() const { return rows; }

private:
    QTableWidget *rows;
};
