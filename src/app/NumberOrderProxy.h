#pragma once

#include "HeadingRowProxy.h"

#include <QSet>

// The number grid's rows as the operator wants to see them: in slot order, or sorted by number,
// start or end (a click on a heading). Sorting only orders the view; the table's rows stay the
// device's slots, and every edit reaches its slot through the proxy. It also marks the rows the
// find field matched, with a background the cell delegate paints.
class NumberOrderProxy : public HeadingRowProxy {
    Q_OBJECT
public:
    explicit NumberOrderProxy(QObject *parent = nullptr);

    // A click on a heading: serial goes back to slot order; number, start date and end date sort
    // ascending, then descending, then go back to slot order. Other headings do nothing.
    void headingClicked(int column);

    // The table rows the find field matched.
    void setMatches(const QList<int> &tableRows);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // The sorted heading carries an arrow pointing the way of the order.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    QString sortKey(int tableRow, int column) const;

    QSet<int> matches;
};
