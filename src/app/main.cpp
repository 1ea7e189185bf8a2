#include "core/program_state.h"
#include "core/settings_store.h"
#include "platform/platform.h"
#include "ui/frm_main.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELN"));

    QtPlatform services;
    ProgramState state;
    state.paths = Paths::forCurrentUser();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        state.screenWidth = screen->geometry().width();
        state.screenHeight = screen->geometry().height();
    }
    SettingsStore settings(state.paths.settingsFile);

    frmMain window(services.platform(), state, settings);
    window.showMaximized();
    return QApplication::exec();
}
