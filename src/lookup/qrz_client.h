#pragma once

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

// What the member editor's boxes hold once the Add mode has opened.
struct QrzEditorFields {
    QString txtCall;
    QString TxtCS;
};

// What a right-button press on an unknown call does to the window.
struct QrzOutcome {
    enum class Kind {
        OpenBrowser,  // no password stored: txtCall = call, open browserUrl, focus to txtName
        Found,        // txtCall/txtName/TxtCS as given; black text, Save enabled
        NotFound,     // txtCall = call, txtName = " NOT FOUND ", both red, Save disabled; TxtCS kept
    };
    Kind kind = Kind::NotFound;
    QString txtCall;
    QString txtName;
    QString TxtCS;
    QUrl browserUrl;
    // Why nothing was found when a transfer or the login failed; for
    // diagnosis only, the operator sees the NOT FOUND state.
    QString error;
};

// The QRZ XML lookup: logs in with the stored credentials, keeps the session
// key for the run, and cuts call, first name, city and state out of the
// lookup reply. Values are URL-encoded in every request.
class QrzClient {
public:
    static inline const QString kNotFound = QStringLiteral(" NOT FOUND ");
    static inline const QString kDefaultXmlServer = QStringLiteral("https://xmldata.qrz.com");
    static inline const QString kDefaultWebServer = QStringLiteral("https://www.qrz.com");

    QrzClient(HttpClient& http, SettingsStore& settings);

    // "QRZ PW" holds a password: lookups go to the service, not the browser.
    bool isSetUp() const;
    bool loggedIn() const { return loggedIn_; }
    // "s=" + key + ";" from the last successful login; empty before.
    QString sessionKeyText() const;

    // Logs in; on a reply holding a key, keeps it, stores it as "QRZ Key"
    // when it differs, and returns true.
    bool QRZ_Login();

    QUrl loginUrl() const;
    QUrl lookupUrl(const QString& call) const;
    QUrl webPageUrl(const QString& call) const;

    // The right-button press without a stored password.
    QrzOutcome browserPage(const QString& call) const;
    // The right-button press with a stored password, after the window has
    // opened the Add mode: logs in when needed and looks the call up. A
    // reply saying the session key is no longer valid leads to one more
    // login and one repeat of the lookup, never more.
    QrzOutcome lookup(const QString& call, const QrzEditorFields& afterAdd);

    QString lastError() const { return lastError_; }

private:
    QString serviceAddress() const;
    static bool saysSessionInvalid(const QString& reply);

    HttpClient& http_;
    SettingsStore& settings_;
    bool loggedIn_ = false;
    QString key_;
    QString lastError_;
};
