#pragma once

#include <QString>

class NumberTable;
class Operator;
class Session;
class SheetCells;
class Tprogressbar_ctrl;
class Tstatusbar_ctrl;
class WorkbookWriter;

// The number list page's file buttons: the whole grid to a workbook and back, and the entries to
// comma-separated text. None of them talks to the device. Every file is written in one piece: a
// failure leaves the file that was there.
class NumberListExchange {
public:
    NumberListExchange(NumberTable &table, Operator &op, Tstatusbar_ctrl &status,
                       Tprogressbar_ctrl &progress, QString folder);
    // Plugs into the session's displays; the dialogs open in `folder`.
    NumberListExchange(NumberTable &table, Session &session, QString folder);

    // "Export .XLS", "Import .XLS", "Export .CSV": the file dialog, then the file. False when
    // the operator cancelled or the operation failed (the reason has been shown).
    bool ExportListWorkbook();
    bool ImportListWorkbook();
    bool ExportListCsv();
    // "Import .CSV": the list's own comma-separated export, checked and loaded as a workbook is.
    bool ImportListCsv();

    // The same without a dialog.
    bool saveWorkbook(const QString &path);
    // Loads only when the workbook is a number list and every row passes the row check;
    // otherwise the grid is left as it was.
    bool loadWorkbook(const QString &path);
    bool loadCsv(const QString &path);
    // A .csv or .cvs file as comma-separated text, any other as a workbook.
    bool loadFile(const QString &path);
    bool saveCsv(const QString &path);

private:
    void setColumnWidths(WorkbookWriter &writer) const;
    bool writeCells(WorkbookWriter &writer, const QString &path);
    // All or nothing: the whole list from sheet rows 2..3001 once every row passes the row check.
    bool loadSheet(const SheetCells &sheet, const QString &statusText);
    QByteArray csvBytes();
    // False after telling the operator which cell a CSV file in the code page cannot keep.
    bool csvHoldsTable();
    bool writeCsv(const QString &path, const QByteArray &content);

    NumberTable &table;
    Operator &op;
    Tstatusbar_ctrl &status;
    Tprogressbar_ctrl &progress;
    QString folder;
};
