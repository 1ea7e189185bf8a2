#include "desktop_identity.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMainWindow>
#include <QWidget>

void InstallDesktopIdentity()
{
    QGuiApplication::setDesktopFileName(QStringLiteral(VELN_APP_ID));
    // Every size rendered at build time from the menu entry's SVG.
    QIcon icon;
    for (const QFileInfo& size : QDir(QStringLiteral(":/icons")).entryInfoList(QDir::Dirs))
        icon.addFile(size.filePath() + QStringLiteral("/" VELN_APP_ID ".png"));
    QApplication::setWindowIcon(icon);
}

void RaiseProgramWindow()
{
    QWidget* target = QApplication::activeModalWidget();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (target)
            break;
        if (w->isVisible() && qobject_cast<QMainWindow*>(w))
            target = w;
    }
    // Before the main window opens: the splash or a start-up dialog.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (target)
            break;
        if (w->isVisible() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog))
            target = w;
    }
    if (!target)
        return;
    target->setWindowState(target->windowState() & ~Qt::WindowMinimized);
    target->show();
    target->raise();
    target->activateWindow();
}
