#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Points HOME and XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME at a fresh temporary folder
// for as long as it lives, so no test sees another's files (or the user's).
class TestHome {
public:
    TestHome();
    ~TestHome();
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;

    QString path() const { return dir_.path(); }
    QString dataRoot() const;    // $HOME/VELN Net/
    QString memberFile() const;  // the member file under the data root
    QString settingsFile() const;

private:
    QTemporaryDir dir_;
    QByteArray oldHome_, oldConfig_, oldData_, oldCache_;
};
