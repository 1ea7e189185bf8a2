#include "hamqth_client.h"

#include "callbook_xml.h"
#include "qrz_client.h"

namespace {
const QString kPath = QStringLiteral("/xml.php?");
const QString kSessionId = QStringLiteral("session_id");
const QString kError = QStringLiteral("error");
const QString kCallsign = QStringLiteral("callsign");
const QString kNick = QStringLiteral("nick");
const QString kAddressName = QStringLiteral("adr_name");
const QString kQth = QStringLiteral("qth");
const QString kCity = QStringLiteral("adr_city");
const QString kState = QStringLiteral("us_state");
const QSet<QString> kContainers = {QStringLiteral("HamQTH"), QStringLiteral("session"), QStringLiteral("search")};

QString encoded(const QString& value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); }
}  // namespace

HamQthClient::HamQthClient(HttpClient& http, SettingsStore& settings, QObject* parent)
    : SessionCallbook(http, parent), login_(settings)
{
}

bool HamQthClient::isSetUp() const { return login_.hamQthIsSetUp(); }

QString HamQthClient::serviceAddress() const
{
    return QrzServerBase(login_.hamQthServerSetting(), kDefaultServer) + kPath;
}

QString HamQthClient::loginText() const { return login_.hamQthUser() + QChar(0) + login_.hamQthPassword(); }

QUrl HamQthClient::loginUrl() const
{
    return QUrl(serviceAddress() + QStringLiteral("u=") + encoded(login_.hamQthUser()) + QStringLiteral("&p=")
                + encoded(login_.hamQthPassword()));
}

QUrl HamQthClient::lookupUrl(const QString& call) const
{
    return QUrl(serviceAddress() + QStringLiteral("id=") + encoded(key()) + QStringLiteral("&callsign=")
                + encoded(call) + QStringLiteral("&prg=VELN"));
}

bool HamQthClient::saysSessionGone(const CallbookResult& result) const
{
    return result.error == CallbookError::NotFound
        && result.detail.contains(QStringLiteral("Session does not exist"), Qt::CaseInsensitive);
}

CallbookResult HamQthClient::parseLoginReply(const QString& reply, QString& key)
{
    const CallbookReply read = ReadCallbookReply(reply, {kSessionId, kError}, kContainers);
    const QString error = read.values.value(kError);
    // Any error HamQTH names refuses the login.
    return LoginReplyOutcome(read, read.values.value(kSessionId), error, !error.isEmpty(),
                             QStringLiteral("The login reply holds no session id"), key);
}

CallbookResult HamQthClient::parseLookupReply(const QString& xml)
{
    const CallbookReply read =
        ReadCallbookReply(xml, {kCallsign, kNick, kAddressName, kQth, kCity, kState, kError}, kContainers);
    CallbookResult out;
    out.source = QStringLiteral("HAMQTH");
    out.detail = read.values.value(kError);
    if (!read.serviceElement) {
        out.error = CallbookError::BadReply;
        out.detail = NotServiceXmlText(read);
        return out;
    }
    const QString nick = read.values.value(kNick).trimmed();
    const QString city = read.values.value(kCity).trimmed();
    out.info.call = read.values.value(kCallsign).trimmed().toUpper();
    out.info.firstName = nick.isEmpty() ? read.values.value(kAddressName).trimmed() : nick;
    out.info.city = city.isEmpty() ? read.values.value(kQth).trimmed() : city;
    out.info.state = read.values.value(kState).trimmed();
    if (!out.info.call.isEmpty())
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
