#pragma once

#include <QUrl>

// Opens an address in the user's web browser.
class Browser {
public:
    virtual ~Browser() = default;
    virtual void open(const QUrl& address) = 0;
};

class DesktopBrowser : public Browser {
public:
    void open(const QUrl& address) override;
};
