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
    QString journalFile;       // data root + "journal.jsonl": the running net
    QString documentsFolder;   // app-data folder + "Pellam Software/", or empty
    QString settingsFile;      // config folder + "VELN/VELN.ini"
    QString callbookCache;     // cache folder + "VELN/callbook-cache.json"
    QString oldCallbookCache;  // data root + "callbook-cache.json", where earlier releases kept it

    // Paths for the current user (HOME, XDG_CONFIG_HOME, XDG_DATA_HOME).
    static Paths forCurrentUser();
    // The documents folder for a given application-data folder: empty when
    // that folder is not an existing directory.
    static QString documentsFolderFor(const QString& appDataFolder);
};

// Makes the callbook cache's folder, and moves the cache from where earlier
// releases kept it, once: a cache already there wins. False when the folder
// cannot be made or the old file not moved (the cache then starts empty).
bool MoveOldCallbookCache(const Paths& paths);
