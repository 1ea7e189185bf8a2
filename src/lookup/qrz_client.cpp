#include "qrz_client.h"

#include "platform/http_client.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QXmlStreamReader>

namespace {
const QString kPath = QStringLiteral("/xml/current/?");
const QString kCall = QStringLiteral("call");
const QString kFirstName = QStringLiteral("fname");
const QString kCity = QStringLiteral("addr2");
const QString kState = QStringLiteral("state");
const QString kError = QStringLiteral("Error");
const QString kKey = QStringLiteral("Key");

QString encoded(const QString& value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); }

struct ReplyValues {
    QHash<QString, QString> values;  // the first complete element of each wanted name
    bool wellFormed = true;
    bool serviceElement = false;     // an element the service writes was opened
    QString readerError;
};

// Reads a reply with an XML reader. Earlier replies (and test servers) may
// hold several top-level elements, so the body goes into a root of our own
// once its declaration is gone. A value counts only when its element closed
// before the reader gave up.
ReplyValues readReply(const QString& reply, const QStringList& wanted)
{
    static const QSet<QString> containers = {QStringLiteral("QRZDatabase"), QStringLiteral("Session"),
                                             QStringLiteral("Callsign")};
    qsizetype at = 0;
    while (at < reply.size() && (reply.at(at).isSpace() || reply.at(at) == QChar(0xFEFF)))
        ++at;
    if (reply.mid(at, 5) == QLatin1String("<?xml")) {
        const qsizetype end = reply.indexOf(QLatin1String("?>"), at);
        at = end < 0 ? reply.size() : end + 2;
    }
    QXmlStreamReader xml(QStringLiteral("<reply>") + reply.mid(at) + QStringLiteral("</reply>"));

    ReplyValues out;
    QList<QPair<QString, QString>> open;  // element name and its own text so far
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QString name = xml.name().toString();
            if (containers.contains(name) || wanted.contains(name))
                out.serviceElement = true;
            open.append({name, QString()});
            break;
        }
        case QXmlStreamReader::Characters:
            if (!open.isEmpty())
                open.last().second += xml.text();
            break;
        case QXmlStreamReader::EndElement:
            if (!open.isEmpty()) {
                const auto [name, text] = open.takeLast();
                if (wanted.contains(name) && !out.values.contains(name))
                    out.values.insert(name, text);
            }
            break;
        default:
            break;
        }
    }
    if (xml.hasError()) {
        out.wellFormed = false;
        out.readerError = xml.errorString();
    }
    return out;
}

QString notXml(const ReplyValues& read)
{
    return read.readerError.isEmpty() ? QStringLiteral("The reply is not the service's XML")
                                      : QStringLiteral("The reply is not the service's XML: ") + read.readerError;
}

bool saysSessionInvalid(const CallbookResult& result)
{
    return result.error == CallbookError::NotFound
        && (result.detail.contains(QStringLiteral("Session Timeout"), Qt::CaseInsensitive)
            || result.detail.contains(QStringLiteral("Invalid session key"), Qt::CaseInsensitive));
}

// The login reply: the session key, or why there is none.
CallbookResult readLogin(const QString& reply, QString& key)
{
    const ReplyValues read = readReply(reply, {kKey, kError});
    CallbookResult out;
    out.detail = read.values.value(kError);
    key = read.values.value(kKey).trimmed();
    const bool refusedInWords = out.detail.contains(QStringLiteral("password"), Qt::CaseInsensitive)
                             || out.detail.contains(QStringLiteral("username"), Qt::CaseInsensitive);
    if (refusedInWords) {
        out.error = CallbookError::LoginRefused;
    } else if (!key.isEmpty()) {
        out.error = CallbookError::None;
    } else if (!read.serviceElement || !read.wellFormed) {
        // A garbled reply refuses nothing: the next lookup tries again.
        out.error = CallbookError::BadReply;
        out.detail = notXml(read);
    } else {
        out.error = CallbookError::LoginRefused;
        if (out.detail.isEmpty())
            out.detail = QStringLiteral("The login reply holds no session key");
    }
    if (out.error != CallbookError::None)
        key.clear();
    return out;
}
}  // namespace

std::optional<QString> QrzTagValue(const QString& reply, const QString& tag)
{
    const QString open = QLatin1Char('<') + tag + QLatin1Char('>');
    const qsizetype start = reply.indexOf(open);
    if (start < 0)
        return std::nullopt;
    const qsizetype from = start + open.size();
    const qsizetype end = reply.indexOf(QStringLiteral("</") + tag + QLatin1Char('>'));
    if (end < from)
        return std::nullopt;
    return reply.mid(from, end - from);
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

QrzClient::QrzClient(HttpClient& http, SettingsStore& settings) : http_(http), login_(settings) {}

bool QrzClient::isSetUp() const { return login_.isSetUp(); }

QString QrzClient::sessionKeyText() const
{
    return loggedIn_ ? QStringLiteral("s=") + key_ + QLatin1Char(';') : QString();
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
    if (loggedIn_)
        query = QStringLiteral("s=") + encoded(key_) + QLatin1Char(';');
    return QUrl(serviceAddress() + query + QStringLiteral("callsign=") + encoded(call));
}

QUrl QrzClient::webPageUrl(const QString& call) const
{
    return QUrl(QrzServerBase(login_.webServerSetting(), kDefaultWebServer) + QStringLiteral("/db/") + encoded(call));
}

bool QrzClient::QRZ_Login()
{
    const QString attempt = loginText();
    refusedLogin_.clear();
    const HttpTextResult reply = http_.getText(loginUrl());
    if (!reply.ok) {
        lastLogin_ = {CallbookError::Unreachable, {}, reply.error};
        return false;
    }
    QString key;
    lastLogin_ = readLogin(reply.body, key);
    if (lastLogin_.error == CallbookError::LoginRefused)
        refusedLogin_ = attempt;
    if (!lastLogin_.found())
        return false;
    key_ = key;
    loggedIn_ = true;
    const QString keyText = sessionKeyText();
    if (login_.sessionKeyText() != keyText)
        login_.storeSessionKeyText(keyText);
    return true;
}

CallbookResult QrzClient::lookup(const QString& call)
{
    // Asking again with a login the service refused would only be refused again.
    if (!refusedLogin_.isEmpty() && refusedLogin_ == loginText())
        return lastLogin_;
    if (!loggedIn_ && !QRZ_Login())
        return lastLogin_;
    for (bool repeated = false;; repeated = true) {
        const HttpTextResult reply = http_.getText(lookupUrl(call));
        // A failed transfer says nothing about the session: it stays.
        if (!reply.ok)
            return {CallbookError::Unreachable, {}, reply.error};
        CallbookResult result = parseLookupReply(reply.body);
        if (!saysSessionInvalid(result))
            return result;
        if (repeated) {
            // Even a fresh session is turned away: the service cannot be used
            // now. The key stays; the next lookup starts with it again.
            result.error = CallbookError::Unreachable;
            return result;
        }
        loggedIn_ = false;
        key_.clear();
        if (!QRZ_Login())
            return lastLogin_;
    }
}

CallbookResult QrzClient::parseLookupReply(const QString& xml)
{
    const ReplyValues read = readReply(xml, {kCall, kFirstName, kCity, kState, kError});
    CallbookResult out;
    out.detail = read.values.value(kError);
    if (!read.serviceElement) {
        out.error = CallbookError::BadReply;
        out.detail = notXml(read);
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
            out.detail = notXml(read);
    }
    return out;
}
