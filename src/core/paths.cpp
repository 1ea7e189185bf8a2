#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString WithTrailingSeparator(const QString& path)
{
    if (path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

QString Paths::documentsFolderFor(const QString& appDataFolder)
{
    // A fresh account may not have the folder yet; the start makes it.
    if (appDataFolder.isEmpty())
        return {};
    return WithTrailingSeparator(WithTrailingSeparator(appDataFolder) + QStringLiteral("Pellam Software"));
}

Paths Paths::forCurrentUser()
{
    Paths p;
    p.dataRoot = WithTrailingSeparator(WithTrailingSeparator(QDir::homePath()) + QStringLiteral("VELN Net"));
    p.programFolder = p.dataRoot + QStringLiteral("Version 1/");
    p.memberFile = p.programFolder + QStringLiteral("Veln.dat");
    p.sessionsFolder = p.dataRoot + QStringLiteral("Sessions/");
    p.tempFolder = p.dataRoot + QStringLiteral("Temp");
    p.fileBackupFolder = p.dataRoot + QStringLiteral("FileBackup");
    p.oldMailProgram = p.dataRoot + QStringLiteral("Version 5/vbSendMail.exe");
    p.versionUpdateZip = p.dataRoot + QStringLiteral("VelnVerUpdate.zip");
    p.buildUpdateZip = p.dataRoot + QStringLiteral("VelnBldUpdate.zip");
    p.lockFile = p.dataRoot + QStringLiteral(".lock");
    p.capsLockMark = p.dataRoot + QStringLiteral(".capslock");
    p.journalFile = p.dataRoot + QStringLiteral("journal.jsonl");
    p.documentsFolder = documentsFolderFor(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    p.settingsFile = WithTrailingSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        + QStringLiteral("VELN/VELN.ini");
    p.callbookCache = WithTrailingSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
        + QStringLiteral("VELN/callbook-cache.json");
    p.oldCallbookCache = p.dataRoot + QStringLiteral("callbook-cache.json");
    return p;
}

bool MoveOldCallbookCache(const Paths& paths)
{
    // The cache writes into its folder but does not make it.
    if (!QDir().mkpath(QFileInfo(paths.callbookCache).absolutePath()))
        return false;
    if (!QFileInfo::exists(paths.oldCallbookCache) || QFileInfo::exists(paths.callbookCache))
        return true;
    // rename() copies and removes when the two folders are on different disks.
    return QFile::rename(paths.oldCallbookCache, paths.callbookCache);
}
