#include "CellDelegate.h"
#include "HeadingRowProxy.h"
#include "StringGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolTip>

namespace {

StringGrid *sample(QObject *parent) {
    auto *g = new StringGrid(3, 4, parent);
    g->setCell(0, 0, "Serial");
    g->setCell(1, 0, "Number");
    g->setCell(2, 0, "Always(V)");
    for (int r = 1; r < 4; ++r) {
        g->setCell(0, r, QString::number(r));
        g->setCell(2, r, "no");
    }
    return g;
}

QImage cellImage(QTableView &view, int row, int col) {
    const QRect r = view.visualRect(view.model()->index(row, col));
    return view.viewport()->grab(r).toImage();
}

} // namespace

class TestGridViews : public QObject {
    Q_OBJECT
private slots:
    void proxyMovesHeadingsIntoHeader() {
        QObject owner;
        StringGrid *g = sample(&owner);
        HeadingRowProxy proxy;
        proxy.setSourceModel(g);
        QCOMPARE(proxy.rowCount(), 3);
        QCOMPARE(proxy.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Number"));
        QCOMPARE(proxy.index(0, 0).data().toString(), QStringLiteral("1"));
        QCOMPARE(proxy.mapToSource(proxy.index(2, 1)), g->index(3, 1));
    }

    // A text too long for its cell shows whole as a tooltip; one that fits gets none.
    void narrowCellOffersTooltip() {
        QObject owner;
        StringGrid *g = sample(&owner);
        g->setCell(1, 1, "Call mobile operator to ask the APN name if you need data function");
        g->setCell(1, 2, "123");
        QTableView view;
        view.setModel(g);
        view.setItemDelegate(new CellDelegate({}, &view));
        view.setColumnWidth(1, 60);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const auto tipAt = [&](int row) {
            const QPoint at = view.visualRect(g->index(row, 1)).center();
            QHelpEvent tip(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
            QApplication::sendEvent(view.viewport(), &tip);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QCOMPARE(tipAt(2), QString());
        QCOMPARE(tipAt(1), g->cell(1, 1));
    }

    void proxyFollowsChanges() {
        QObject owner;
        StringGrid *g = sample(&owner);
        HeadingRowProxy proxy;
        proxy.setSourceModel(g);
        QSignalSpy headers(&proxy, &QAbstractItemModel::headerDataChanged);
        QSignalSpy cells(&proxy, &QAbstractItemModel::dataChanged);
        g->setCell(1, 2, "12345");
        QCOMPARE(proxy.index(1, 1).data().toString(), QStringLiteral("12345"));
        QCOMPARE(cells.size(), 1);
        QCOMPARE(headers.size(), 0);
        g->setCell(1, 0, "Authorized number");
        QCOMPARE(headers.size(), 1);
        QCOMPARE(proxy.headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Authorized number"));
        // Entry edits through the view land in the grid's row below the headings.
        QVERIFY(proxy.setData(proxy.index(0, 1), "777"));
        QCOMPARE(g->cell(1, 1), QStringLiteral("777"));
    }

    // The heading row and the fixed column have their own fills; yes/no cells are boxes.
    void delegateDrawing() {
        QObject owner;
        StringGrid *g = sample(&owner);
        const QColor heading(166, 202, 240);
        const QColor fixed(212, 208, 200);
        QTableView view;
        view.setModel(g);
        view.setItemDelegate(new CellDelegate({fixed, heading, true, {2}}, &view));
        view.resize(400, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        QCOMPARE(cellImage(view, 0, 1).pixelColor(1, 1), heading);
        QCOMPARE(cellImage(view, 0, 2).pixelColor(1, 1), heading);
        QCOMPARE(cellImage(view, 2, 0).pixelColor(1, 1), fixed);
        QVERIFY(cellImage(view, 2, 1).pixelColor(1, 1) != fixed);

        const QImage no = cellImage(view, 1, 2);
        QCOMPARE(cellImage(view, 2, 2), no);
        g->setCell(2, 1, "yes");
        QVERIFY(cellImage(view, 1, 2) != no);
        // Only the exact "yes" checks the box.
        g->setCell(2, 1, "Yes");
        QCOMPARE(cellImage(view, 1, 2), no);
    }
};

QTEST_MAIN(TestGridViews)
#include "tst_gridviews.moc"
