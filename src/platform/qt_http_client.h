#pragma once

#include "http_client.h"

#include <memory>

class QNetworkAccessManager;

// HttpClient over QNetworkAccessManager. Waits in a local event loop that
// leaves user input queued, so the window blocks without being re-entered
// while timers and sockets keep running.
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

private:
    std::unique_ptr<QNetworkAccessManager> manager_;  // made on the first request
    qint64 maxBodyBytes_;
};
