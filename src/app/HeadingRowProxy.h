#pragma once

#include <QSortFilterProxyModel>

// Shows a grid whose row 0 holds the headings with those headings in the view's header, so they
// stay in place while thousands of entry rows scroll beneath. View row r is grid row r + 1.
class HeadingRowProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit HeadingRowProxy(QObject *parent = nullptr);

    void setSourceModel(QAbstractItemModel *source) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    void sourceChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);
};
