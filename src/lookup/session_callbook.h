#pragma once

#include "callbook.h"

#include <QList>
#include <QUrl>
#include <functional>

class HttpClient;

// A callbook reached through a login that gives a session key. Logs in when
// needed (one login on the way at a time), keeps the key for the run, logs in
// once more and repeats once when the service says the key is no longer
// valid, and does not try a refused login again until the stored one changes.
// The service's addresses and replies are the subclass's.
class SessionCallbook : public Callbook {
    Q_OBJECT
public:
    explicit SessionCallbook(HttpClient& http, QObject* parent = nullptr);

    bool loggedIn() const { return loggedIn_; }
    // Starts a login; then(true) once a key is kept. lastLoginResult() says why not.
    void logIn(std::function<void(bool)> then = {});
    CallbookResult lastLoginResult() const { return lastLogin_; }

    void lookup(const QString& call) override;

protected:
    virtual QUrl loginAddress() const = 0;
    // The key of a login reply, or why there is none.
    virtual CallbookResult readLogin(const QString& reply, QString& key) const = 0;
    virtual QUrl lookupAddress(const QString& call) const = 0;
    virtual CallbookResult readLookup(const QString& reply) const = 0;
    virtual bool saysSessionGone(const CallbookResult& result) const = 0;
    // The stored user and password as one text, to see a changed login.
    virtual QString loginText() const = 0;
    // The password is in a keyring that has not given it yet; asks it again.
    virtual bool passwordWaiting() { return false; }
    virtual void keyKept() {}

    const QString& key() const { return key_; }

private:
    void ask(const QString& call, bool repeated);
    void answer(const QString& call, CallbookResult result);
    void loginEnded(bool ok);

    HttpClient& http_;
    bool loggedIn_ = false;
    bool loggingIn_ = false;
    QString key_;
    CallbookResult lastLogin_;
    QString refusedLogin_;  // user and password the service refused
    QList<std::function<void(bool)>> waiting_;  // for the login on its way
};
