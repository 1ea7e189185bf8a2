#pragma once

#include <QString>

// Appends "/" unless the path already ends in "\" or "/".
QString WithTrailingSeparator(const QString& path);

// Every folder and file the program uses, formed once from the user's home
// and data folders.
struct Paths {
    QString dataRoot;          // $HOME/VELN Net/
    QString programFolder;     // data root + "Version 1/"
    QString memberFile;        // program folder + "Veln.dat"
    QString sessionsFolder;    // data root + "Sessions/"
    QString tempFolder;        // data root + "Temp"
    QString fileBackupFolder;  // data root + "FileBackup"
    QString oldMailProgram;    // data root + "Version 5/vbSendMail.exe"
    QString versionUpdateZip;  // data root + "VelnVerUpdate.zip"
    QString buildUpdateZip;    // data root + "VelnBldUpdate.zip"
    QString lockFile;          // data root + ".lock"
    QString capsLockMark;      // data root + ".capslock": Caps Lock held on
    QString documentsFolder;   // app-data folder + "Pellam Software/", or empty
    QString settingsFile;      // config folder + "VELN/VELN.ini"

    // Paths for the current user (HOME, XDG_CONFIG_HOME, XDG_DATA_HOME).
    static Paths forCurrentUser();
    // The documents folder for a given application-data folder: empty when
    // that folder is not an existing directory.
    static QString documentsFolderFor(const QString& appDataFolder);
};
