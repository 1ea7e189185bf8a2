#pragma once

#include "callbook.h"
#include "callbook_login.h"

#include <QString>
#include <QUrl>
#include <optional>

class HttpClient;
class SettingsStore;

// The text of the first <tag> of a reply, up to the first </tag> of the reply
// (letter case exact). Nothing when the opening tag is missing, or when the
// closing tag is missing or stands before the opening one.
std::optional<QString> QrzTagValue(const QString& reply, const QString& tag);

// A server setting ("Servers" section) as a base address: the default when
// empty, "https://" when no scheme is given, no trailing "/".
QString QrzServerBase(const QString& setting, const QString& fallback);

// The QRZ XML lookup: logs in with the stored login, keeps the session key
// for the run, and reads call, first name, city and state from the lookup
// reply. Values are URL-encoded in every request. A refused login is not
// tried again until the stored login changes.
class QrzClient {
public:
    static inline const QString kDefaultXmlServer = QStringLiteral("https://xmldata.qrz.com");
    static inline const QString kDefaultWebServer = QStringLiteral("https://www.qrz.com");

    QrzClient(HttpClient& http, SettingsStore& settings);

    bool isSetUp() const;
    bool loggedIn() const { return loggedIn_; }
    // "s=" + key + ";" from the last successful login; empty before.
    QString sessionKeyText() const;

    // Logs in; on a reply holding a key, keeps it, stores it when it differs
    // from the stored one, and returns true. lastLoginResult() says why not.
    bool QRZ_Login();
    CallbookResult lastLoginResult() const { return lastLogin_; }

    QUrl loginUrl() const;
    QUrl lookupUrl(const QString& call) const;
    // The call's page on the QRZ web site, for the browser.
    QUrl webPageUrl(const QString& call) const;

    // Logs in when needed and looks the call up. A reply saying the session
    // key is no longer valid leads to one more login and one repeat, never more.
    CallbookResult lookup(const QString& call);

    // A lookup reply read with an XML reader: entities and CDATA decoded, a
    // misplaced or missing closing tag gives no value. No call in a
    // well-formed reply: NotFound; a reply that breaks off before one, or
    // holds none of the service's elements: BadReply. The other fields the
    // reply held are kept even without a call.
    static CallbookResult parseLookupReply(const QString& xml);

private:
    QString serviceAddress() const;
    // The stored user and password as one text, to see a changed login.
    QString loginText() const;

    HttpClient& http_;
    CallbookLogin login_;
    bool loggedIn_ = false;
    QString key_;
    CallbookResult lastLogin_;
    QString refusedLogin_;  // user and password the service refused
};
