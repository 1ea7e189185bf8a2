#include "test_home.h"

#include <QDir>
#include <QStandardPaths>

TestHome::TestHome()
    : oldHome_(qgetenv("HOME")), oldConfig_(qgetenv("XDG_CONFIG_HOME")), oldData_(qgetenv("XDG_DATA_HOME")),
      oldCache_(qgetenv("XDG_CACHE_HOME"))
{
    const QString home = dir_.path();
    QDir().mkpath(home + QStringLiteral("/.config"));
    QDir().mkpath(home + QStringLiteral("/.local/share"));
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/.local/share")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home + QStringLiteral("/.cache")).toLocal8Bit());
}

TestHome::~TestHome()
{
    qputenv("HOME", oldHome_);
    qputenv("XDG_CONFIG_HOME", oldConfig_);
    qputenv("XDG_DATA_HOME", oldData_);
    qputenv("XDG_CACHE_HOME", oldCache_);
}

QString TestHome::dataRoot() const { return path() + QStringLiteral("/VELN Net/"); }
QString TestHome::memberFile() const { return dataRoot() + QStringLiteral("Version 1/Veln.dat"); }
QString TestHome::settingsFile() const { return path() + QStringLiteral("/.config/VELN/VELN.ini"); }
