#include "browser.h"

#include <QDesktopServices>

void DesktopBrowser::open(const QUrl& address) { QDesktopServices::openUrl(address); }
