#include "qt_http_client.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <algorithm>

QtHttpClient::QtHttpClient(qint64 maxBodyBytes)
    : maxBodyBytes_(maxBodyBytes)
{
}

QtHttpClient::~QtHttpClient() = default;

HttpResult QtHttpClient::fetch(const QUrl& url, int timeoutMs)
{
    return fetchLimited(url, timeoutMs, 0, nullptr);
}

HttpResult QtHttpClient::fetchLimited(const QUrl& url, int timeoutMs, qint64 maxBytes, const HttpSink* sink)
{
    const qint64 cap = maxBytes > 0 ? std::min(maxBytes, maxBodyBytes_) : maxBodyBytes_;
    HttpResult result;
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        result.error = QStringLiteral("Not an HTTP address: %1").arg(url.toDisplayString());
        return result;
    }

    QNetworkRequest request(url);
    // Redirects are followed, but never from HTTPS down to HTTP.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("VELN"));

    if (!manager_)
        manager_ = std::make_unique<QNetworkAccessManager>();
    std::unique_ptr<QNetworkReply> reply(manager_->get(request));
    // A streamed body never piles up in the reply's own buffer either.
    if (sink)
        reply->setReadBufferSize(256 * 1024);
    QByteArray body;
    qint64 received = 0;
    bool tooLarge = false;
    bool notStored = false;
    bool timedOut = false;
    bool cancelled = false;

    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    auto stop = [&](bool& why) {
        why = true;
        body.clear();
        loop.quit();
    };
    // A declared length over the cap ends the transfer before any body.
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (!tooLarge && length.isValid() && length.toLongLong() > cap)
            stop(tooLarge);
    });
    auto take = [&] {
        if (tooLarge || notStored)
            return;
        const QByteArray piece = reply->readAll();
        received += piece.size();
        if (received > cap) {
            stop(tooLarge);
            return;
        }
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (sink && status >= 200 && status <= 299) {
            if (!piece.isEmpty() && !(*sink)(piece))
                stop(notStored);
        } else {
            body += piece;
        }
    };
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, take);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    deadline.start(timeoutMs);
    // With a way to call the transfer off, the operator's click must get
    // through while it runs.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (cancelRequested())
            stop(cancelled);
    });
    if (hasCancelCheck())
        poll.start(100);
    if (!reply->isFinished() && !cancelRequested())
        loop.exec(hasCancelCheck() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    else if (cancelRequested())
        cancelled = true;
    poll.stop();
    deadline.stop();
    if (reply->isFinished())
        timedOut = false;  // the reply won the race against the deadline

    if (!reply->isFinished()) {
        // Out of time or too large: drop the transfer; abort() finishes the reply at once.
        QObject::disconnect(reply.get(), nullptr, &loop, nullptr);
        reply->abort();
    } else {
        take();
    }

    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.contentType = reply->rawHeader("Content-Type");
    // Qt numbers the errors that merely mirror an HTTP status 201-299 and
    // 401-499; every other error is a failed transfer.
    const int code = reply->error();
    const bool statusError = (code >= 201 && code <= 299) || (code >= 401 && code <= 499);
    if (cancelled) {
        result.error = calledOff().error;
    } else if (tooLarge) {
        result.error = tooLargeText(cap);
    } else if (notStored) {
        result.error = notStoredText();
    } else if (timedOut) {
        result.timedOut = true;
        result.error = QStringLiteral("No complete reply within %1 ms").arg(timeoutMs);
    } else if (code != QNetworkReply::NoError && !statusError) {
        result.error = reply->errorString();
    } else if (result.status < 200 || result.status > 299) {
        // An error page is still a reply; its body is kept.
        result.error = result.status == 0 ? QStringLiteral("No HTTP reply")
                                          : QStringLiteral("HTTP status %1").arg(result.status);
        result.body = body;
    } else {
        result.ok = true;
        result.body = body;
    }
    return result;
}
