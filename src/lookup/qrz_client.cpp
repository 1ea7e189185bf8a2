#include "qrz_client.h"

#include "callbook_xml.h"

namespace {
const QString kPath = QStringLiteral("/xml/current/?");
const QString kCall = QStringLiteral("call");
const QString kFirstName = QStringLiteral("fname");
const QString kCity = QStringLiteral("addr2");
const QString kState = QStringLiteral("state");
const QString kError = QStringLiteral("Error");
const QString kKey = QStringLiteral("Key");

QString encoded(const QString& value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); }

const QSet<QString> kContainers = {QStringLiteral("QRZDatabase"), QStringLiteral("Session"), QStringLiteral("Callsign")};

CallbookReply readReply(const QString& reply, const QStringList& wanted)
{
    return ReadCallbookReply(reply, wanted, kContainers);
}

}  // namespace

bool QrzClient::saysSessionGone(const CallbookResult& result) const
{
    return result.error == CallbookError::NotFound
        && (result.detail.contains(QStringLiteral("Session Timeout"), Qt::CaseInsensitive)
            || result.detail.contains(QStringLiteral("Invalid session key"), Qt::CaseInsensitive));
}

// The login reply: the session key, or why there is none.
CallbookResult QrzClient::parseLoginReply(const QString& reply, QString& key)
{
    const CallbookReply read = readReply(reply, {kKey, kError});
    const QString error = read.values.value(kError);
    // Only an error that names the user or the password refuses the login.
    const bool refused = error.contains(QStringLiteral("password"), Qt::CaseInsensitive)
                      || error.contains(QStringLiteral("username"), Qt::CaseInsensitive);
    return LoginReplyOutcome(read, read.values.value(kKey), error, refused,
                             QStringLiteral("The login reply holds no session key"), key);
}

QString QrzServerBase(const QString& setting, const QString& fallback)
{
    QString base = setting.trimmed();
    if (base.isEmpty())
        base = fallback;
    if (!base.contains(QStringLiteral("://")))
        base.prepend(QStringLiteral("https://"));
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

QrzClient::QrzClient(HttpClient& http, SettingsStore& settings, QObject* parent)
    : SessionCallbook(http, parent), login_(settings)
{
}

bool QrzClient::isSetUp() const { return login_.isSetUp(); }

QString QrzClient::sessionKeyText() const
{
    return loggedIn() ? QStringLiteral("s=") + key() + QLatin1Char(';') : QString();
}

QString QrzClient::serviceAddress() const
{
    return QrzServerBase(login_.xmlServerSetting(), kDefaultXmlServer) + kPath;
}

QString QrzClient::loginText() const { return login_.user() + QChar(0) + login_.password(); }

QUrl QrzClient::loginUrl() const
{
    return QUrl(serviceAddress() + login_.loginQuery());
}

QUrl QrzClient::lookupUrl(const QString& call) const
{
    QString query;
    if (loggedIn())
        query = QStringLiteral("s=") + encoded(key()) + QLatin1Char(';');
    return QUrl(serviceAddress() + query + QStringLiteral("callsign=") + encoded(call));
}

QUrl QrzClient::webPageUrl(const QString& call) const
{
    return QUrl(QrzServerBase(login_.webServerSetting(), kDefaultWebServer) + QStringLiteral("/db/") + encoded(call));
}

void QrzClient::keyKept()
{
    const QString keyText = sessionKeyText();
    if (login_.sessionKeyText() != keyText)
        login_.storeSessionKeyText(keyText);
}

CallbookResult QrzClient::parseLookupReply(const QString& xml)
{
    const CallbookReply read = readReply(xml, {kCall, kFirstName, kCity, kState, kError});
    CallbookResult out;
    out.detail = read.values.value(kError);
    if (!read.serviceElement) {
        out.error = CallbookError::BadReply;
        out.detail = NotServiceXmlText(read);
        return out;
    }
    // Whatever else the reply gave is kept, even without a call.
    out.info.call = read.values.value(kCall);
    out.info.firstName = read.values.value(kFirstName);
    out.info.city = read.values.value(kCity);
    out.info.state = read.values.value(kState);
    if (read.values.contains(kCall))
        out.error = CallbookError::None;
    else if (read.wellFormed)
        out.error = CallbookError::NotFound;
    else {
        out.error = CallbookError::BadReply;
        if (out.detail.isEmpty())
            out.detail = NotServiceXmlText(read);
    }
    return out;
}
