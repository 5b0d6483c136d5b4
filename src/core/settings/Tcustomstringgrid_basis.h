#pragma once

#include <QString>

class Operator;
class Session;
class SettingsTable;
class SheetCells;
class Tprogressbar_ctrl;
class Tstatusbar_ctrl;
class WorkbookWriter;

// The settings profile: the whole settings grid in a workbook of 23 rows × 3 columns ("Items",
// "Content", "Description" and one row per parameter), so that one set of basic settings can be
// kept and loaded again for another device. A choice row's content is its selected item's text,
// which begins with the item index. Neither direction talks to the device.
class Tcustomstringgrid_basis {
public:
    Tcustomstringgrid_basis(SettingsTable &table, Operator &op, Tstatusbar_ctrl &status,
                            Tprogressbar_ctrl &progress, QString folder);
    // Plugs into the session's displays; the dialogs open in `folder`.
    Tcustomstringgrid_basis(SettingsTable &table, Session &session, QString folder);

    // "Export profile" and "Import profile": the file dialog, then the file. False when the
    // operator cancelled or the operation failed (the reason has been shown).
    bool ExportProfile();
    bool ImportProfile();

    // The same without a dialog.
    bool saveProfile(const QString &path);
    // Values and descriptions of rows 1..22 and the six choices, all or nothing: a file that is
    // no profile, or a choice cell that does not start with its item index, changes nothing.
    bool loadProfile(const QString &path);

private:
    void setColumnWidths(WorkbookWriter &writer) const;
    bool writeCells(WorkbookWriter &writer, const QString &path);
    // The first choice cell that holds no item index, as the message to show; empty when none.
    QString choiceProblem(const SheetCells &sheet) const;

    SettingsTable &table;
    Operator &op;
    Tstatusbar_ctrl &status;
    Tprogressbar_ctrl &progress;
    QString folder;
};
