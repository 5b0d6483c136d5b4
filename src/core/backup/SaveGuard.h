#pragma once

#include "operator/QuietOperator.h"
#include "operator/Tprogressbar_ctrl.h"
#include "operator/Tstatusbar_ctrl.h"

#include <QString>
#include <QStringList>

class OperationOutcome;
class TComm;

// What every save of a device area goes through before its first page: the operator's review of
// the changes against what the device holds as far as this opening of the port knows (the last
// read or save; an import changes the table, not that), and a backup of the area as last read
// from the device on it, written in the export's layout so that importing it and saving undoes
// the save.
class SaveGuard {
public:
    SaveGuard(Operator &op, QString area);
    virtual ~SaveGuard() = default;
    SaveGuard(const SaveGuard &) = delete;
    SaveGuard &operator=(const SaveGuard &) = delete;

    // Where the backups go; empty means the configuration folder.
    void setBackupFolder(const QString &path) { folder = path; }
    // A read or a save begins on this opening of the port (TComm::connection()). What is known
    // of the device comes from one opening: from another, it may be another device, so the
    // review then counts against the table as built and there is no backup, as before any read.
    void useConnection(quint64 connection);
    // The device holds the table as it stands, read whole from it or saved whole to it: that is
    // the next backup, and the new baseline of the change markers.
    void deviceMatchesTable();

    // One question summing up the changes, with the check box "Write all pages"; false when the
    // operator declines.
    bool review();
    // The operator asked the last review to write every page.
    bool writeAllPagesChosen() const { return writeAllPages; }
    // The backups are named for the device on this link's port.
    void nameBackupsFor(const TComm &link) { comm = &link; }
    // Writes the backup when there is a device copy and removes the area's oldest beyond the
    // newest BackupFiles::Kept. When it cannot be written the operator is told why and the
    // operation ends: false, and nothing may be sent.
    bool backupBeforeSave(OperationOutcome &outcome);
    // The file the last backup went to; empty before the first.
    QString lastBackupPath() const { return lastBackup; }
    // The old backups that backup removed.
    QStringList prunedBackups() const { return pruned; }

protected:
    struct Changes {
        int count = 0;
        QString counts;  // e.g. "2 settings changed."
        QString details; // what changed, one group per line
    };
    virtual Changes changes() const = 0;
    // Copies the table as the device holds it now and makes it the baseline.
    virtual void keepDeviceCopy() = 0;
    // Drops the copy and makes the table as built the baseline.
    virtual void forgetDeviceCopy() = 0;
    // Writes the device copy to `path` as the export does; false with quiet.lastMessage.
    virtual bool saveDeviceCopy(const QString &path) = 0;

    QuietOperator quiet;
    Tprogressbar_ctrl quietProgress{quiet};
    Tstatusbar_ctrl quietStatus{quiet, quietProgress};

private:
    Operator &op;
    QString area;
    QString folder;
    QString lastBackup;
    QStringList pruned;
    const TComm *comm = nullptr;
    bool copied = false;
    quint64 knownOn = 0; // the opening whose device the copy and the baseline describe; 0: none
    bool writeAllPages = false;
};
