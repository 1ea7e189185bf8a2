#include "session_callbook.h"

#include "callbook_xml.h"
#include "platform/http_client.h"

#include <QTimer>

namespace {
// A reply past its cap came from a server that answers, only not as the service.
CallbookError failureOf(const HttpTextResult& reply)
{
    return reply.error == HttpClient::tooLargeText(kCallbookReplyMaxBytes) ? CallbookError::BadReply
                                                                           : CallbookError::Unreachable;
}
}  // namespace

SessionCallbook::SessionCallbook(HttpClient& http, QObject* parent) : Callbook(parent), http_(http) {}

void SessionCallbook::answer(const QString& call, CallbookResult result)
{
    result.source = name();
    emit answered(call, result);
}

void SessionCallbook::logIn(std::function<void(bool)> then)
{
    if (then)
        waiting_.append(std::move(then));
    if (loggingIn_)
        return;  // the login on its way serves this one too
    loggingIn_ = true;
    const QString attempt = loginText();
    refusedLogin_.clear();
    http_.getTextLater(loginAddress(), this, [this, attempt](const HttpTextResult& reply) {
        if (!reply.ok) {
            lastLogin_ = {failureOf(reply), {}, reply.error};
            loginEnded(false);
            return;
        }
        QString key;
        lastLogin_ = readLogin(reply.body, key);
        if (lastLogin_.error == CallbookError::LoginRefused)
            refusedLogin_ = attempt;
        if (!lastLogin_.found()) {
            loginEnded(false);
            return;
        }
        key_ = key;
        loggedIn_ = true;
        keyKept();
        loginEnded(true);
    }, HttpClient::kDefaultTimeoutMs, kCallbookReplyMaxBytes);
}


void SessionCallbook::loginEnded(bool ok)
{
    loggingIn_ = false;
    lastLogin_.source = name();
    const auto waiting = std::move(waiting_);
    waiting_.clear();
    for (const auto& then : waiting)
        then(ok);
}

void SessionCallbook::lookup(const QString& call)
{
    // Logging in without the password would only be refused.
    if (!loggedIn_ && passwordWaiting()) {
        QTimer::singleShot(0, this, [this, call] {
            answer(call, {CallbookError::KeyringLocked, {}, QStringLiteral("The keyring has not given the password")});
        });
        return;
    }
    // Asking again with a login the service refused would only be refused again.
    if (!refusedLogin_.isEmpty() && refusedLogin_ == loginText()) {
        QTimer::singleShot(0, this, [this, call] { answer(call, lastLogin_); });
        return;
    }
    if (loggedIn_) {
        ask(call, false);
        return;
    }
    logIn([this, call](bool ok) {
        if (ok)
            ask(call, false);
        else
            answer(call, lastLogin_);
    });
}

void SessionCallbook::ask(const QString& call, bool repeated)
{
    const QString keyAsked = key_;
    http_.getTextLater(lookupAddress(call), this, [this, call, repeated, keyAsked](const HttpTextResult& reply) {
        // A failed transfer says nothing about the session: it stays.
        if (!reply.ok) {
            answer(call, {failureOf(reply), {}, reply.error});
            return;
        }
        CallbookResult result = readLookup(reply.body);
        if (!saysSessionGone(result)) {
            answer(call, result);
            return;
        }
        if (repeated) {
            // Even a fresh session is turned away: the service cannot be used
            // now. The key stays; the next lookup starts with it again.
            result.error = CallbookError::Unreachable;
            answer(call, result);
            return;
        }
        // Another lookup may have logged in anew meanwhile.
        if (loggedIn_ && key_ == keyAsked) {
            loggedIn_ = false;
            key_.clear();
        }
        if (loggedIn_) {
            ask(call, true);
            return;
        }
        logIn([this, call](bool ok) {
            if (ok)
                ask(call, true);
            else
                answer(call, lastLogin_);
        });
    }, HttpClient::kDefaultTimeoutMs, kCallbookReplyMaxBytes);
}
