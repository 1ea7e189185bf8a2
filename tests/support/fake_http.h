#pragma once

#include "platform/http_client.h"

#include <QHash>
#include <QList>
#include <QMetaType>
#include <QPointer>
#include <QSet>
#include <QStringList>

Q_DECLARE_METATYPE(HttpResult)

// An HttpClient answering from a script keyed by the full address (encoded
// form). Several replies for one address are given in turn, the last one
// repeating. An address without a script fails as an unreachable server.
// An asynchronous request for a held address waits until release(), as a
// slow server would keep it.
class FakeHttpClient : public HttpClient {
public:
    static HttpResult Body(const QByteArray& body, int status = 200)
    {
        HttpResult r;
        r.status = status;
        r.ok = status >= 200 && status <= 299;
        if (!r.ok)
            r.error = QStringLiteral("HTTP status %1").arg(status);
        r.body = body;
        return r;
    }
    static HttpResult Failure(const QString& error = QStringLiteral("Connection refused"))
    {
        HttpResult r;
        r.error = error;
        return r;
    }

    void set(const QString& url, const HttpResult& result) { script[url] = {result}; }
    void set(const QString& url, const QByteArray& body) { set(url, Body(body)); }
    void sequence(const QString& url, const QList<HttpResult>& results) { script[url] = results; }

    int count(const QString& url) const { return requested.count(url); }

    void hold(const QString& url) { held.insert(url); }
    int waiting() const { return int(pending_.size()); }
    // Answers the held requests, oldest first; a gone requester hears nothing.
    void release()
    {
        const auto answers = std::move(pending_);
        pending_.clear();
        for (const Pending& p : answers)
            if (p.context)
                p.done(p.result);
    }

    QHash<QString, QList<HttpResult>> script;
    QStringList requested;   // every address asked for, in order
    QList<int> timeouts;     // the timeout of each request
    QSet<QString> held;

protected:
    void startFetch(const QUrl& url, int timeoutMs, qint64 maxBytes, QObject* context, const HttpDone& done) override
    {
        if (!held.contains(url.toString(QUrl::FullyEncoded))) {
            HttpClient::startFetch(url, timeoutMs, maxBytes, context, done);
            return;
        }
        pending_.append({fetchLimited(url, timeoutMs, maxBytes, nullptr), QPointer<QObject>(context), done});
    }

    HttpResult fetch(const QUrl& url, int timeoutMs) override
    {
        const QString key = url.toString(QUrl::FullyEncoded);
        requested.append(key);
        timeouts.append(timeoutMs);
        auto it = script.find(key);
        if (it == script.end() || it->isEmpty())
            return Failure();
        return it->size() > 1 ? it->takeFirst() : it->first();
    }

private:
    struct Pending {
        HttpResult result;
        QPointer<QObject> context;
        HttpDone done;
    };
    QList<Pending> pending_;
};
