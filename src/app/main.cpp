#include "core/printer_setting.h"
#include "core/program_state.h"
#include "core/settings_store.h"
#include "lookup/callbook_login.h"
#include "lookup/password_vault.h"
#include "platform/caps_lock.h"
#include "platform/desktop_identity.h"
#include "platform/platform.h"
#include "platform/qt_keyring.h"
#include "share/share_address.h"
#include "startup/single_instance.h"
#include "startup/startup_sequence.h"
#include "ui/frm_splash.h"
#include "web_follower.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>

#include <cstdio>
#include <optional>

namespace {

// Answers --help and --version, and refuses what it does not know, before
// any window system or file is touched. Returns an exit code when the
// program is to end here.
struct CommandLine {
    QString platformName;
    QString share;   // an address to share the net on
    QString follow;  // an address to follow a net on
    int webPort = 0; // with follow: serve its web page, no window
    QString passwordFile;
    QString caFile;
};

std::optional<int> handleCommandLine(int argc, char* argv[], CommandLine* line)
{
    QCoreApplication probe(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Net-control logger for amateur-radio nets."));
    // Qt's own -platform and -display are taken by QApplication later.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    QCommandLineOption platform(QStringLiteral("platform"), QString(), QStringLiteral("name"));
    QCommandLineOption display(QStringLiteral("display"), QString(), QStringLiteral("name"));
    platform.setFlags(QCommandLineOption::HiddenFromHelp);
    display.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(platform);
    parser.addOption(display);
    const QCommandLineOption share(QStringLiteral("share"),
                                   QStringLiteral("Share the net on a broker: mqtt://[user@]host:port/net-id "
                                                  "(mqtts:// for TLS)."),
                                   QStringLiteral("address"));
    const QCommandLineOption follow(QStringLiteral("follow"), QStringLiteral("Follow a net shared on a broker."),
                                    QStringLiteral("address"));
    const QCommandLineOption web(QStringLiteral("web"),
                                 QStringLiteral("With --follow: serve the net's roster as a web page on this port, "
                                                "without a window."),
                                 QStringLiteral("port"));
    const QCommandLineOption passwordFile(QStringLiteral("password-file"),
                                          QStringLiteral("The broker password, on the first line of this file."),
                                          QStringLiteral("file"));
    const QCommandLineOption caFile(QStringLiteral("ca-file"),
                                    QStringLiteral("The authority that signed the broker's certificate (mqtts://)."),
                                    QStringLiteral("file"));
    parser.addOptions({share, follow, web, passwordFile, caFile});

    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "veln: %s\nTry 'veln --help'.\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("help-all"))) {
        // The Qt options this program reads are hidden from --help only.
        std::fputs(qPrintable(parser.helpText()), stdout);
        std::fputs("\nQt options:\n"
                   "  -platform <name>  The window system to use (xcb, wayland, offscreen).\n"
                   "  -display <name>   The X11 display to open the window on.\n",
                   stdout);
        return 0;
    }
    if (parser.isSet(version))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "veln: unexpected argument '%s'\nTry 'veln --help'.\n",
                     qPrintable(parser.positionalArguments().constFirst()));
        return 2;
    }
    for (const QCommandLineOption* o : {&share, &follow})
        if (parser.isSet(*o)) {
            QString error;
            if (!ShareAddress::parse(parser.value(*o), &error)) {
                std::fprintf(stderr, "veln: %s\n", qPrintable(error));
                return 2;
            }
        }
    if (parser.isSet(share) && parser.isSet(follow)) {
        std::fprintf(stderr, "veln: a seat either shares a net or follows one, not both\n");
        return 2;
    }
    if (parser.isSet(web)) {
        bool ok = false;
        const int port = parser.value(web).toInt(&ok);
        if (!ok || port < 1 || port > 65535 || !parser.isSet(follow)) {
            std::fprintf(stderr, "veln: --web takes a port from 1 to 65535, with --follow\n");
            return 2;
        }
        line->webPort = port;
    }
    line->share = parser.value(share);
    line->follow = parser.value(follow);
    line->passwordFile = parser.value(passwordFile);
    line->caFile = parser.value(caFile);
    line->platformName = parser.isSet(platform) ? parser.value(platform) : qEnvironmentVariable("QT_QPA_PLATFORM");
    if (parser.isSet(display))
        qputenv("DISPLAY", parser.value(display).toLocal8Bit());
    return std::nullopt;
}

// Qt aborts when its window system cannot be reached; tell why in one line
// instead. Platforms such as offscreen need no display.
bool displayReachable(const QString& platformName)
{
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (platformName.isEmpty())
        return x11 || wayland;
    // A list such as "wayland;xcb" is tried in order; one that can work is enough.
    for (const QString& entry : platformName.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0);
        if (name == QLatin1String("xcb") ? x11 : name.startsWith(QLatin1String("wayland")) ? wayland : true)
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("VELN"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELN_VERSION));
    CommandLine line;
    if (const std::optional<int> exitCode = handleCommandLine(argc, argv, &line))
        return *exitCode;
    if (line.webPort > 0)
        return RunWebFollower(argc, argv, line.follow, quint16(line.webPort), line.passwordFile, line.caFile);
    if (!displayReachable(line.platformName)) {
        std::fprintf(stderr, "veln: no display to open the window on (set DISPLAY for X11 or WAYLAND_DISPLAY for Wayland)\n");
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELN"));
    InstallDesktopIdentity();

    QtPlatform services;
    ProgramState state;
    state.paths = Paths::forCurrentUser();
    state.shareAddress = line.share;
    state.followAddress = line.follow;
    state.shareCaFile = line.caFile;
    if (!line.passwordFile.isEmpty()) {
        QString error;
        const std::optional<QString> password = ReadPasswordFile(line.passwordFile, &error);
        if (!password) {
            std::fprintf(stderr, "veln: %s\n", qPrintable(error));
            return 1;
        }
        state.sharePassword = *password;
    }

    // Two copies would write the same member file: a second start brings the
    // running copy's window forward and ends.
    SingleInstance lock(state.paths.lockFile);
    lock.onRaiseAsked(RaiseProgramWindow);
    if (!AcquireSingleInstance(lock, *services.platform().prompts))
        return lock.handedOver() ? 0 : 1;
    // Names and passwords are asked before the main window: a run that
    // crashed holding Caps Lock on gives it back first.
    CapsLock& capsLock = *services.platform().capsLock;
    capsLock.recover(state.paths.capsLockMark);
    // What a kill during a save left behind: this copy alone runs now.
    Startup::RemoveLeftoversOfEarlierRuns(state.paths);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        state.screenWidth = screen->geometry().width();
        state.screenHeight = screen->geometry().height();
    }
    SettingsStore settings(state.paths.settingsFile);
    QtKeyring keyring;
    PasswordVault vault(keyring);
    CallbookLogin::useVault(&vault);
    CallbookLogin(settings).openKeyring();
    PrinterSetting printerSetting(settings);
    services.rememberPrinterIn(printerSetting);

    frmsplash splash(services.platform(), state, settings);
    splash.show();
    splash.Form_Load();
    const int exitCode = QApplication::exec();
    // Also when the program ends without closing its main window.
    if (capsLock.held())
        capsLock.release();
    // A password the keyring has not taken yet goes to the settings file.
    vault.settleWaiting();
    return exitCode;
}
