#include "browser.h"

#include <QDesktopServices>

bool DesktopBrowser::open(const QUrl& address) { return QDesktopServices::openUrl(address); }
