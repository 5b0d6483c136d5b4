#pragma once

#include <QDateTime>
#include <QString>

// The backups a save leaves in the configuration folder: backup_<area>_<yyyy-MM-dd_HH-mm-ss>.xlsx,
// where the area is "settings" or "numbers"; a second save within the same second adds _2, _3...
// The time in the name sorts them oldest first.
class BackupFiles {
public:
    static constexpr int Kept = 50;

    // Creates the next backup's file, empty, under a name no other save (of this process or
    // another) can take; the backup is then written over it. Empty, with `problem`, on failure.
    static QString reserve(const QString &folder, const QString &area, const QDateTime &when,
                           QString &problem);
    // The area a backup file's name starts with; empty for any other name.
    static QString areaOf(const QString &path);
    // Removes the area's backups in `folder` beyond the newest `keep`.
    static void prune(const QString &folder, const QString &area, int keep = Kept);
};
