#pragma once

#include <QDateEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QWidget>

class GridView;
class HistoryTable;

// Page 3: the device's event history, the date-time window of the filter above it and the
// export buttons on a 100-pixel panel at the left.
class HistoryPage : public QWidget {
    Q_OBJECT
public:
    HistoryPage(HistoryTable &table, QWidget *parent = nullptr);

    // The grid `strngrd4`; its headings stay in the header, so view row r shows record r + 1.
    GridView *grid() const { return strngrd4; }

    QPushButton *const readData;
    QDateEdit *const dtp1; // start date
    QTimeEdit *const dtp2; // start time
    QDateEdit *const dtp3; // end date
    QTimeEdit *const dtp4; // end time
    QPushButton *const filter;
    // Brings back the rows of the last read after the filter narrowed them.
    QPushButton *const showAll;
    QPushButton *const exportCsv;
    QPushButton *const exportXls;
    QPushButton *const clearGrid; // hidden "clear the grid"
    QPushButton *const deleteAll;
    // Shows an exported history file; it needs no device.
    QPushButton *const load;

private:
    GridView *strngrd4;
};
