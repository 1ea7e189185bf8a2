#pragma once

#include "share/mqtt_link.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A mosquitto of the test's own on 127.0.0.1, on a free port, in a
// temporary folder: plain, with a password file, or with TLS (a CA and a
// server certificate made here) and the password file. It keeps nothing on
// disk, so a restart comes back without its retained messages.
class TestBroker {
public:
    enum class Mode { Plain, Password, Tls };
    static inline const QString kUser = QStringLiteral("club");
    static inline const QString kPassword = QStringLiteral("s3cret pass");

    explicit TestBroker(Mode mode = Mode::Plain);
    ~TestBroker();
    TestBroker(const TestBroker&) = delete;
    TestBroker& operator=(const TestBroker&) = delete;

    // Starts it (on the same port after a stop) and waits until it listens.
    bool start();
    void stop();
    bool running() const { return process_.state() == QProcess::Running; }

    int port() const { return port_; }
    QString caFile() const { return dir_.path() + QStringLiteral("/ca.crt"); }
    QString error() const { return error_; }
    // How to reach it; with the password unless another is given.
    MqttLink::Options options(const QString& password = kPassword) const;

private:
    bool prepare();
    bool run(const QString& program, const QStringList& arguments);

    Mode mode_;
    QTemporaryDir dir_;
    QProcess process_;
    int port_ = 0;
    bool prepared_ = false;
    QString error_;
};
