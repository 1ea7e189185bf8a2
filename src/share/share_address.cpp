#include "share_address.h"

namespace {
constexpr int kMaxIdLength = 64;

QString fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return {};
}
}  // namespace

QString NetIdOf(const QString& netName)
{
    QString id;
    bool dash = false;
    for (const QChar c : netName.toLower()) {
        const bool keep = (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
        if (keep) {
            if (dash && !id.isEmpty())
                id += QLatin1Char('-');
            id += c;
            dash = false;
        } else {
            dash = true;
        }
    }
    id.truncate(kMaxIdLength);
    while (id.endsWith(QLatin1Char('-')))
        id.chop(1);
    return id.isEmpty() ? QStringLiteral("net") : id;
}

bool IsNetId(const QString& id) { return !id.isEmpty() && NetIdOf(id) == id; }

std::optional<ShareAddress> ShareAddress::parse(const QString& text, QString* error)
{
    ShareAddress a;
    QString rest = text.trimmed();
    const auto bad = [&](const QString& why) -> std::optional<ShareAddress> {
        fail(error, QStringLiteral("Not a sharing address: %1 (%2). Use mqtt://[user@]host:port/net-id or mqtts://...")
                        .arg(text.trimmed(), why));
        return std::nullopt;
    };
    if (rest.startsWith(QLatin1String("mqtts://"), Qt::CaseInsensitive)) {
        a.tls = true;
        a.port = kTlsPort;
        rest.remove(0, 8);
    } else if (rest.startsWith(QLatin1String("mqtt://"), Qt::CaseInsensitive)) {
        rest.remove(0, 7);
    } else {
        return bad(QStringLiteral("it must start with mqtt:// or mqtts://"));
    }
    const int slash = rest.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return bad(QStringLiteral("the net id is missing"));
    QString authority = rest.left(slash);
    a.netId = rest.mid(slash + 1);
    if (a.netId.endsWith(QLatin1Char('/')))
        a.netId.chop(1);
    if (a.netId.isEmpty())
        return bad(QStringLiteral("the net id is missing"));
    if (!IsNetId(a.netId))
        return bad(QStringLiteral("a net id holds lower-case letters, digits and '-' only"));
    const int at = authority.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) {
        a.user = authority.left(at);
        authority.remove(0, at + 1);
        if (a.user.isEmpty())
            return bad(QStringLiteral("the user before '@' is empty"));
        if (a.user.contains(QLatin1Char(':')))
            return bad(QStringLiteral("a password never goes into the address"));
    }
    QString host = authority;
    if (host.startsWith(QLatin1Char('['))) {  // [::1]:1883
        const int close = host.indexOf(QLatin1Char(']'));
        if (close < 0)
            return bad(QStringLiteral("the host's ']' is missing"));
        a.host = host.mid(1, close - 1);
        host.remove(0, close + 1);
        if (!host.isEmpty() && !host.startsWith(QLatin1Char(':')))
            return bad(QStringLiteral("the host is not followed by ':port'"));
    } else {
        const int colon = host.lastIndexOf(QLatin1Char(':'));
        a.host = colon < 0 ? host : host.left(colon);
        host = colon < 0 ? QString() : host.mid(colon);
    }
    if (!host.isEmpty()) {
        bool ok = false;
        const int port = host.mid(1).toInt(&ok);
        if (!ok || port < 1 || port > 65535 || host.size() < 2 || !host.at(1).isDigit())
            return bad(QStringLiteral("the port must be a number from 1 to 65535"));
        a.port = port;
    }
    if (a.host.isEmpty())
        return bad(QStringLiteral("the host is missing"));
    for (const QChar c : a.host) {
        if (c.isSpace() || c == u'/' || c == u'@' || c == u'[' || c == u']')
            return bad(QStringLiteral("the host holds a character no host name has"));
    }
    return a;
}

QString ShareAddress::toString() const
{
    const QString h = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return (tls ? QStringLiteral("mqtts://") : QStringLiteral("mqtt://")) +
           (user.isEmpty() ? QString() : user + QLatin1Char('@')) + h + QLatin1Char(':') + QString::number(port) +
           QLatin1Char('/') + netId;
}

namespace ShareTopics {
QString events(const QString& netId) { return QStringLiteral("veln/%1/events").arg(netId); }
QString roster(const QString& netId) { return QStringLiteral("veln/%1/roster").arg(netId); }
QString control(const QString& netId) { return QStringLiteral("veln/%1/control").arg(netId); }
}  // namespace ShareTopics
