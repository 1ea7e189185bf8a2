#include "web_follower.h"

#include "share/mqtt_link.h"
#include "share/net_follower.h"
#include "share/share_address.h"
#include "web/web_roster.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}

void say(const QString& text) { std::fprintf(stderr, "veln: %s\n", qPrintable(text)); }

}  // namespace

std::optional<QString> ReadPasswordFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("the password file %1 cannot be read: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray line = file.read(4096).split('\n').value(0);
    return QString::fromUtf8(line).trimmed();
}

int RunWebFollower(int argc, char* argv[], const QString& addressText, quint16 port, const QString& passwordFile,
                   const QString& caFile)
{
    QCoreApplication app(argc, argv);
    const std::optional<ShareAddress> address = ShareAddress::parse(addressText);
    if (!address)
        return 2;
    MqttLink::Options broker;
    broker.host = address->host;
    broker.port = address->port;
    broker.tls = address->tls;
    broker.user = address->user;
    broker.caFile = caFile;
    if (!passwordFile.isEmpty()) {
        QString error;
        const std::optional<QString> password = ReadPasswordFile(passwordFile, &error);
        if (!password) {
            say(error);
            return 1;
        }
        broker.password = *password;
    }

    WebRoster page;
    if (!page.listen(port)) {
        say(page.errorText());
        return 1;
    }
    NetFollower follower(address->netId);
    QObject::connect(&follower, &NetFollower::changed, &page,
                     [&] { page.show(follower.snapshot(), follower.controlOnline()); });
    QObject::connect(&follower, &NetFollower::controlChanged, &page,
                     [&] { page.show(follower.snapshot(), follower.controlOnline()); });
    QObject::connect(&follower, &NetFollower::statusChanged, &app, [](const QString& text) { say(text); });
    QObject::connect(&follower, &NetFollower::noteworthy, &app, [](const QString& text) { say(text); });
    page.show(follower.snapshot(), false);
    follower.connectTo(broker);
    say(QStringLiteral("serving the roster of veln/%1 on port %2").arg(address->netId).arg(port));

    // Stopped by a signal: the event loop ends, the link says goodbye.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
        auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        std::signal(SIGTERM, onSignal);
        std::signal(SIGINT, onSignal);
    }
    return QCoreApplication::exec();
}
