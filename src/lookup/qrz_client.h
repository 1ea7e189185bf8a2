#pragma once

#include "callbook.h"
#include "callbook_login.h"
#include "session_callbook.h"

#include <QString>
#include <QUrl>
#include <optional>

class HttpClient;
class SettingsStore;

// A server setting ("Servers" section) as a base address: the default when
// empty, "https://" when no scheme is given, no trailing "/".
QString QrzServerBase(const QString& setting, const QString& fallback);

// The QRZ XML lookup: logs in with the stored login, keeps the session key
// for the run (and stores it), and reads call, first name, city and state
// from the lookup reply. Values are URL-encoded in every request.
class QrzClient : public SessionCallbook {
    Q_OBJECT
public:
    static inline const QString kDefaultXmlServer = QStringLiteral("https://xmldata.qrz.com");
    static inline const QString kDefaultWebServer = QStringLiteral("https://www.qrz.com");

    QrzClient(HttpClient& http, SettingsStore& settings, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("QRZ"); }
    bool isSetUp() const override;
    // "s=" + key + ";" from the last successful login; empty before.
    QString sessionKeyText() const;

    // Starts a login; on a reply holding a key, keeps it, stores it when it
    // differs from the stored one, and calls then(true).
    void QRZ_Login(std::function<void(bool)> then = {}) { logIn(std::move(then)); }

    QUrl loginUrl() const;
    QUrl lookupUrl(const QString& call) const;
    // The call's page on the QRZ web site, for the browser.
    QUrl webPageUrl(const QString& call) const;

    // A lookup reply read with an XML reader: entities and CDATA decoded, a
    // misplaced or missing closing tag gives no value. No call in a
    // well-formed reply: NotFound; a reply that breaks off before one, or
    // holds none of the service's elements: BadReply. The other fields the
    // reply held are kept even without a call.
    static CallbookResult parseLookupReply(const QString& xml);
    // A login reply: the session key (a short token), or why there is none.
    static CallbookResult parseLoginReply(const QString& xml, QString& key);

protected:
    QUrl loginAddress() const override { return loginUrl(); }
    CallbookResult readLogin(const QString& reply, QString& key) const override { return parseLoginReply(reply, key); }
    QUrl lookupAddress(const QString& call) const override { return lookupUrl(call); }
    CallbookResult readLookup(const QString& reply) const override { return parseLookupReply(reply); }
    bool saysSessionGone(const CallbookResult& result) const override;
    QString loginText() const override;
    bool passwordWaiting() override { return login_.passwordWaiting(CallbookLogin::Service::Qrz); }
    void keyKept() override;

private:
    QString serviceAddress() const;

    CallbookLogin login_;
};
