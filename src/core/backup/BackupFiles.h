#pragma once

#include "protocol/Trecognitionserial.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The backups a save leaves in the configuration folder:
// backup_<area>_<yyyy-MM-dd_HH-mm-ss>_<device>.xlsx, where the area is "settings" or "numbers"
// and the device is deviceTag() of the port; a name already taken gets _2, _3... The time in
// the name sorts them oldest first.
class BackupFiles {
public:
    static constexpr int Kept = 50;

    // Creates the next backup's file, empty, under a name no other save (of this process or
    // another) can take; the backup is then written over it. Empty, with `problem`, on failure.
    static QString reserve(const QString &folder, const QString &area, const QDateTime &when,
                           const QString &deviceTag, QString &problem);
    // Creates `stem`.xlsx in `folder`, or `stem`_2.xlsx and so on when that exists: an existing
    // file is never replaced, even by a save of another process in the same second.
    static QString claim(const QString &folder, const QString &stem, QString &problem);
    // What names the device in a file name: the USB adapter's serial number where the port
    // list knows one, else the port's name ("ttyUSB0", "pts-3").
    static QString deviceTag(const QString &port,
                             const Trecognitionserial &ports = Trecognitionserial());
    // The area a backup file's name starts with; empty for any other name.
    static QString areaOf(const QString &path);
    // Removes the area's backups in `folder` beyond the newest `keep`; the paths it removed.
    static QStringList prune(const QString &folder, const QString &area, int keep = Kept);
};
