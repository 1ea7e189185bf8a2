#pragma once

#include <QUrl>

// Opens an address in the user's web browser.
class Browser {
public:
    virtual ~Browser() = default;
    // False when no browser could be started (no xdg-open, say).
    virtual bool open(const QUrl& address) = 0;
};

class DesktopBrowser : public Browser {
public:
    bool open(const QUrl& address) override;
};
