#include "qrz_client.h"

#include "core/settings_store.h"
#include "platform/http_client.h"

namespace {
const QString kSettings = QStringLiteral("Settings");
const QString kServers = QStringLiteral("Servers");
const QString kIdKey = QStringLiteral("QRZ ID");
const QString kPasswordKey = QStringLiteral("QRZ PW");
const QString kSessionKey = QStringLiteral("QRZ Key");
const QString kPath = QStringLiteral("/xml/current/?");

QString encoded(const QString& value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); }

// The stored credentials carry their query prefixes ("username=" + id + ";",
// "password=" + pw); the bare values are encoded afresh for each request.
QString stripped(QString value, const QString& prefix, const QString& suffix = {})
{
    if (value.startsWith(prefix, Qt::CaseInsensitive))
        value.remove(0, prefix.size());
    if (!suffix.isEmpty() && value.endsWith(suffix))
        value.chop(suffix.size());
    return value;
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

QrzClient::QrzClient(HttpClient& http, SettingsStore& settings) : http_(http), settings_(settings) {}

bool QrzClient::isSetUp() const { return !settings_.GetSetting(kSettings, kPasswordKey).isEmpty(); }

QString QrzClient::sessionKeyText() const
{
    return loggedIn_ ? QStringLiteral("s=") + key_ + QLatin1Char(';') : QString();
}

QString QrzClient::serviceAddress() const
{
    return QrzServerBase(settings_.GetSetting(kServers, QStringLiteral("QrzXml")), kDefaultXmlServer) + kPath;
}

QUrl QrzClient::loginUrl() const
{
    const QString id = stripped(settings_.GetSetting(kSettings, kIdKey), QStringLiteral("username="), QStringLiteral(";"));
    const QString password = stripped(settings_.GetSetting(kSettings, kPasswordKey), QStringLiteral("password="));
    return QUrl(serviceAddress() + QStringLiteral("username=") + encoded(id) + QStringLiteral(";password=")
                + encoded(password));
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
    return QUrl(QrzServerBase(settings_.GetSetting(kServers, QStringLiteral("QrzWeb")), kDefaultWebServer)
                + QStringLiteral("/db/") + encoded(call));
}

bool QrzClient::QRZ_Login()
{
    const HttpTextResult reply = http_.getText(loginUrl());
    if (!reply.ok) {
        lastError_ = reply.error;
        return false;
    }
    const std::optional<QString> key = QrzTagValue(reply.body, QStringLiteral("Key"));
    // An empty key would leave every later lookup without a session.
    if (!key || key->trimmed().isEmpty()) {
        lastError_ = QStringLiteral("The login reply holds no session key");
        return false;
    }
    key_ = key->trimmed();
    loggedIn_ = true;
    const QString keyText = sessionKeyText();
    if (settings_.GetSetting(kSettings, kSessionKey) != keyText)
        settings_.SaveSetting(kSettings, kSessionKey, keyText);
    lastError_.clear();
    return true;
}

bool QrzClient::saysSessionInvalid(const QString& reply)
{
    return reply.contains(QStringLiteral("Session Timeout"), Qt::CaseInsensitive)
        || reply.contains(QStringLiteral("Invalid session key"), Qt::CaseInsensitive);
}

QrzOutcome QrzClient::browserPage(const QString& call) const
{
    QrzOutcome out;
    out.kind = QrzOutcome::Kind::OpenBrowser;
    out.txtCall = call;
    out.browserUrl = webPageUrl(call);
    return out;
}

QrzOutcome QrzClient::lookup(const QString& call, const QrzEditorFields& afterAdd)
{
    QString error;
    QString reply;
    if (loggedIn_ || QRZ_Login()) {
        for (bool retried = false;;) {
            const HttpTextResult result = http_.getText(lookupUrl(call));
            // A failed transfer counts as an empty reply.
            reply = result.ok ? result.body : QString();
            error = result.ok ? QString() : result.error;
            if (retried || QrzTagValue(reply, QStringLiteral("call")) || !saysSessionInvalid(reply))
                break;
            retried = true;
            loggedIn_ = false;
            key_.clear();
            if (!QRZ_Login()) {
                reply.clear();
                error = lastError_;
                break;
            }
        }
    } else {
        error = lastError_;  // no request without a session
    }

    QrzOutcome out;
    const std::optional<QString> foundCall = QrzTagValue(reply, QStringLiteral("call"));
    if (!foundCall && afterAdd.txtCall.isEmpty()) {
        out.kind = QrzOutcome::Kind::NotFound;
        out.txtCall = call;
        out.txtName = kNotFound;
        out.TxtCS = afterAdd.TxtCS;
        out.error = error;
        return out;
    }
    out.kind = QrzOutcome::Kind::Found;
    out.txtCall = foundCall ? *foundCall : afterAdd.txtCall;
    out.TxtCS = afterAdd.TxtCS;
    if (const std::optional<QString> fname = QrzTagValue(reply, QStringLiteral("fname"))) {
        const qsizetype blank = fname->indexOf(QLatin1Char(' '));
        out.txtName = (blank >= 0 ? fname->left(blank) : *fname).toUpper();
    }
    if (const std::optional<QString> city = QrzTagValue(reply, QStringLiteral("addr2")))
        out.TxtCS = city->toUpper();
    if (const std::optional<QString> state = QrzTagValue(reply, QStringLiteral("state")); state && !state->isEmpty()) {
        const QString two = state->left(2);
        if (two != QLatin1String("MS"))
            out.TxtCS += QLatin1Char(' ') + two;
    }
    out.error = error;
    return out;
}
