#include "desktop_identity.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>

void InstallDesktopIdentity()
{
    QGuiApplication::setDesktopFileName(QStringLiteral(VELN_APP_ID));
    // Every size rendered at build time from the menu entry's SVG.
    QIcon icon;
    for (const QFileInfo& size : QDir(QStringLiteral(":/icons")).entryInfoList(QDir::Dirs))
        icon.addFile(size.filePath() + QStringLiteral("/" VELN_APP_ID ".png"));
    QApplication::setWindowIcon(icon);
}

