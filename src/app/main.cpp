#include "core/program_state.h"
#include "core/settings_store.h"
#include "members/net_manager.h"
#include "members/operator_identity.h"
#include "platform/platform.h"
#include "ui/frm_main.h"
#include "ui/frm_user_name.h"

#include <QApplication>
#include <QLabel>
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

    // Who operates, and whether they run today's net.
    const OperatorIdentity stored = StoredOperator(settings);
    frmUserName identity;
    if (!stored.name.isEmpty())
        identity.setPrefill(stored.name, stored.call);
    identity.exec();
    const NetControl netControl = SettleIdentity(settings, stored, identity.result());
    state.netControlName = netControl.name;
    state.netControlCall = netControl.call;

    const NetManager manager = EnsureNetManager(settings);
    state.netManagerName = manager.name;
    state.netManagerCall = manager.call;

    frmMain window(services.platform(), state, settings);
    if (state.netControlName.isEmpty())
        window.lblNetCtl->setText(QStringLiteral("NONE"));
    window.showMaximized();
    return QApplication::exec();
}
