// Start-up of the main window against a bare Qt window: time to a shown
// window and peak resident memory. Run once per kind, each in its own
// process: `bench_startup bare`, `bench_startup services` (a bare window with
// the platform services built) and `bench_startup main` (offscreen).
#include "core/program_state.h"
#include "core/settings_store.h"
#include "member_files.h"
#include "platform/platform.h"
#include "ui/frm_main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QTemporaryDir>

#include <cstdio>

namespace {

long peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    const bool bare = argc > 1 && QByteArray(argv[1]) == "bare";
    QTemporaryDir home;
    std::unique_ptr<QWidget> window;
    std::unique_ptr<QtPlatform> services;
    std::unique_ptr<SettingsStore> settings;
    ProgramState state;
    const bool withServices = argc > 1 && QByteArray(argv[1]) == "services";
    if (bare || withServices) {
        if (withServices)
            services = std::make_unique<QtPlatform>();
        window = std::make_unique<QMainWindow>();
    } else {
        const qint64 before = clock.nsecsElapsed();
        services = std::make_unique<QtPlatform>();
        std::printf("  platform services: %.1f ms\n", (clock.nsecsElapsed() - before) / 1e6);
        state.paths.memberFile = home.path() + QStringLiteral("/Veln.dat");
        state.paths.settingsFile = home.path() + QStringLiteral("/VELN.ini");
        state.paths.documentsFolder = home.path() + QStringLiteral("/docs/");
        writeMemberFile(state.paths.memberFile, manyMembers(999));
        settings = std::make_unique<SettingsStore>(state.paths.settingsFile);
        const qint64 beforeWindow = clock.nsecsElapsed();
        window = std::make_unique<frmMain>(services->platform(), state, *settings);
        std::printf("  window built: %.1f ms\n", (clock.nsecsElapsed() - beforeWindow) / 1e6);
    }
    window->resize(1600, 1000);
    window->show();
    QCoreApplication::processEvents();
    std::printf("%s: %.1f ms to a shown window, peak resident %ld kB\n", bare ? "bare Qt window" : withServices ? "bare window + services" : "main window",
                clock.nsecsElapsed() / 1e6, peakResidentKb());
    return 0;
}
