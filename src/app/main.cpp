#include "core/program_state.h"
#include "core/settings_store.h"
#include "platform/platform.h"
#include "startup/single_instance.h"
#include "ui/frm_splash.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELN"));

    QtPlatform services;
    ProgramState state;
    state.paths = Paths::forCurrentUser();

    // Two copies would write the same member file.
    SingleInstance lock(state.paths.lockFile);
    if (!AcquireSingleInstance(lock, *services.platform().prompts))
        return 1;

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        state.screenWidth = screen->geometry().width();
        state.screenHeight = screen->geometry().height();
    }
    SettingsStore settings(state.paths.settingsFile);

    frmsplash splash(services.platform(), state, settings);
    splash.show();
    splash.Form_Load();
    return QApplication::exec();
}
