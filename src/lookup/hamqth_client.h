#pragma once

#include "callbook_login.h"
#include "session_callbook.h"

class HttpClient;
class SettingsStore;

// The HamQTH XML lookup: a login with user and password gives a session id;
// a lookup by call with it gives nick (or name), QTH, city and US state.
class HamQthClient : public SessionCallbook {
    Q_OBJECT
public:
    static inline const QString kDefaultServer = QStringLiteral("https://www.hamqth.com");

    HamQthClient(HttpClient& http, SettingsStore& settings, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("HAMQTH"); }
    bool isSetUp() const override;

    QUrl loginUrl() const;
    QUrl lookupUrl(const QString& call) const;

    // A lookup reply: the call in upper case; the nick, else the address
    // name, as first name; the city, else the QTH; the US state.
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
    bool passwordWaiting() override { return login_.passwordWaiting(CallbookLogin::Service::HamQth); }

private:
    QString serviceAddress() const;

    CallbookLogin login_;
};
