#pragma once

#include "http_client.h"

#include <memory>
#include <optional>

class QNetworkAccessManager;

// HttpClient over QNetworkAccessManager. The asynchronous GET lets the
// event loop run on; the blocking one waits in a local event loop that
// leaves user input queued, so its window is not re-entered.
class QtHttpClient : public HttpClient {
public:
    // Replies larger than this fail instead of exhausting memory.
    static constexpr qint64 kDefaultMaxBodyBytes = qint64(256) * 1024 * 1024;
    static constexpr int kMaxRedirects = 10;

    explicit QtHttpClient(qint64 maxBodyBytes = kDefaultMaxBodyBytes);
    ~QtHttpClient() override;
    QtHttpClient(const QtHttpClient&) = delete;
    QtHttpClient& operator=(const QtHttpClient&) = delete;

protected:
    HttpResult fetch(const QUrl& url, int timeoutMs) override;
    HttpResult fetchLimited(const QUrl& url, int timeoutMs, qint64 maxBytes, const HttpSink* sink) override;
    void startFetch(const QUrl& url, int timeoutMs, qint64 maxBytes, QObject* context, const HttpDone& done) override;

private:
    // Why the address cannot be fetched at all; nothing when it can.
    static std::optional<HttpResult> refused(const QUrl& url);
    // The transfer started; it ends itself and may be gone by the time its
    // done has been called.
    QObject* start(const QUrl& url, int timeoutMs, qint64 maxBytes, const HttpSink* sink, HttpDone done);

    std::unique_ptr<QNetworkAccessManager> manager_;  // made on the first request
    qint64 maxBodyBytes_;
};
