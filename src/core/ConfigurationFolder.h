#pragma once

#include <QString>

// The default folder of the exchanged files: the folder named by the environment variable
// VELMORA_CONFIGURATION_DIR when it is set, else "configuration" beside the program when that
// can be written, otherwise velmora-configurator/configuration in the user's data folder.
class ConfigurationFolder {
public:
    // Picks the folder and creates it; a folder that cannot be created is still returned, and
    // the save or open step that uses it reports the failure. The path ends with '/'.
    static QString prepare(const QString &programFolder, const QString &userDataFolder);
    // The same for this program and this user.
    static QString prepare();
};
