#include "DifferenceDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

DifferenceDialog::DifferenceDialog(const QString &whereHeading, const AreaDifferences &differences,
                                   QWidget *parent)
    : QDialog(parent)
    , rows(new QTableWidget(int(differences.size()), 3, this)) {
    setWindowTitle(QStringLiteral("Compare with file"));
    setAttribute(Qt::WA_DeleteOnClose);
    rows->setHorizontalHeaderLabels(
        {whereHeading, QStringLiteral("Device"), QStringLiteral("File")});
    rows->verticalHeader()->hide();
    rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < differences.size(); ++r) {
        const AreaDifference &d = differences.at(r);
        rows->setItem(r, 0, new QTableWidgetItem(d.where));
        rows->setItem(r, 1, new QTableWidgetItem(d.device));
        rows->setItem(r, 2, new QTableWidgetItem(d.file));
    }
    rows->resizeColumnsToContents();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(differences.isEmpty()
                                     ? QStringLiteral("The device and the file agree.")
                                     : QStringLiteral("%1 differences").arg(differences.size()),
                                 this));
    layout->addWidget(rows, 1);
    layout->addWidget(buttons);
    resize(640, 420);
}
