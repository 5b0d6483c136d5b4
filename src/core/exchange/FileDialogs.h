#pragma once

#include <QDateTime>
#include <QString>

class Operator;

// What the exchanges' file dialogs share: filters, proposed names and the replace question.
namespace FileDialogs {

// The filters are kept as the window has always listed them ("EXCEL file|*.xlsx;*.xls|(*.*)|*.*":
// caption and patterns in turns) and turned into the dialog's own form here:
// "EXCEL file (*.xlsx *.xls);;(*.*)".
QString filter(const QString &pairs);

// `prefix` followed by the moment as yyyy-mm-dd_hh-nn-ss, e.g. telinf_R2026-12-07_12-05-09.
QString proposedName(const QString &prefix, const QDateTime &now = QDateTime::currentDateTime());

// Asks where a workbook is to be saved (the dialog offers ".xlsx" only) and returns the file it
// ends up in: a name without an extension, or with the legacy ".xls", gets ".xlsx".
// The dialog asked before replacing the name chosen, not that file, so when the extension was
// added and the file exists the operator is asked here. Empty when the operator cancels or keeps
// the old file.
QString chooseWorkbookTarget(Operator &op, const QString &title, const QString &folder,
                             const QString &proposed);

} // namespace FileDialogs
