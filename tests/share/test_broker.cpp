#include "test_broker.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <pwd.h>
#include <unistd.h>

TestBroker::TestBroker(Mode mode) : mode_(mode) {}

TestBroker::~TestBroker() { stop(); }

bool TestBroker::run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(20000) || p.exitCode() != 0) {
        error_ = program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) + QStringLiteral(": ") +
                 QString::fromLocal8Bit(p.readAll());
        return false;
    }
    return true;
}

bool TestBroker::prepare()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) {
        error_ = QStringLiteral("no free port");
        return false;
    }
    port_ = probe.serverPort();
    probe.close();

    const QString d = dir_.path() + QLatin1Char('/');
    const passwd* pw = getpwuid(getuid());
    QByteArray conf = "listener " + QByteArray::number(port_) + " 127.0.0.1\n"
                      "persistence false\n"
                      "log_dest file " + (d + "broker.log").toLocal8Bit() + "\n"
                      "user " + QByteArray(pw ? pw->pw_name : "root") + "\n";
    if (mode_ == Mode::Plain) {
        conf += "allow_anonymous true\n";
    } else {
        if (!run("mosquitto_passwd", {"-c", "-b", d + "passwords", kUser, kPassword}))
            return false;
        conf += "allow_anonymous false\npassword_file " + (d + "passwords").toLocal8Bit() + "\n";
    }
    if (mode_ == Mode::Tls) {
        QFile ext(d + "ext.cnf");
        ext.open(QIODevice::WriteOnly);
        ext.write("subjectAltName=IP:127.0.0.1,DNS:localhost\n");
        ext.close();
        const QStringList ec{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
        if (!run("openssl", QStringList{"req", "-x509"} + ec +
                                QStringList{"-keyout", d + "ca.key", "-out", d + "ca.crt", "-days", "2", "-subj",
                                            "/CN=Test net CA"}) ||
            !run("openssl", QStringList{"req"} + ec +
                                QStringList{"-keyout", d + "server.key", "-out", d + "server.csr", "-subj",
                                            "/CN=127.0.0.1"}) ||
            !run("openssl", {"x509", "-req", "-in", d + "server.csr", "-CA", d + "ca.crt", "-CAkey", d + "ca.key",
                             "-CAcreateserial", "-out", d + "server.crt", "-days", "2", "-extfile", d + "ext.cnf"}))
            return false;
        conf += "cafile " + (d + "ca.crt").toLocal8Bit() + "\ncertfile " + (d + "server.crt").toLocal8Bit() +
                "\nkeyfile " + (d + "server.key").toLocal8Bit() + "\n";
    }
    QFile f(d + "mosquitto.conf");
    if (!f.open(QIODevice::WriteOnly) || f.write(conf) != conf.size()) {
        error_ = QStringLiteral("cannot write the broker's configuration");
        return false;
    }
    prepared_ = true;
    return true;
}

bool TestBroker::start()
{
    if (!prepared_ && !prepare())
        return false;
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(QStringLiteral("mosquitto"), {QStringLiteral("-c"), dir_.path() + QStringLiteral("/mosquitto.conf")});
    if (!process_.waitForStarted(5000)) {
        error_ = QStringLiteral("mosquitto did not start: ") + process_.errorString();
        return false;
    }
    // Listening once a connection is taken; a restart may wait for the old socket.
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (process_.state() != QProcess::Running) {
            error_ = QStringLiteral("mosquitto ended: ") + QString::fromLocal8Bit(process_.readAll());
            return false;
        }
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, quint16(port_));
        if (s.waitForConnected(200))
            return true;
        QThread::msleep(20);
    }
    error_ = QStringLiteral("mosquitto does not listen on %1").arg(port_);
    return false;
}

void TestBroker::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

MqttLink::Options TestBroker::options(const QString& password) const
{
    MqttLink::Options o;
    o.host = QStringLiteral("127.0.0.1");
    o.port = port_;
    if (mode_ != Mode::Plain) {
        o.user = kUser;
        o.password = password;
    }
    if (mode_ == Mode::Tls) {
        o.tls = true;
        o.caFile = caFile();
    }
    return o;
}
