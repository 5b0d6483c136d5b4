#pragma once

#include <QDateTime>
#include <QString>

// The backups a save leaves in the configuration folder: backup_<area>_<yyyy-MM-dd_HH-mm-ss>.xlsx,
// where the area is "settings" or "numbers". The time in the name sorts them oldest first.
class BackupFiles {
public:
    static constexpr int Kept = 50;

    static QString fileName(const QString &area, const QDateTime &when);
    // The area a backup file's name starts with; empty for any other name.
    static QString areaOf(const QString &path);
    // Removes the area's backups in `folder` beyond the newest `keep`.
    static void prune(const QString &folder, const QString &area, int keep = Kept);
};
