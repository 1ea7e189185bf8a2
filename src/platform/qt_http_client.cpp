#include "qt_http_client.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace {

// One GET on its way: reads the reply as it arrives, ends it when it grows
// past its cap or its time is up, and hands the outcome to done once. It
// lives as the reply's child, so a client going away takes it along unheard.
class Transfer : public QObject {
public:
    Transfer(QNetworkReply* reply, int timeoutMs, qint64 cap, const HttpSink* sink, HttpDone done)
        : QObject(reply), reply_(reply), timeoutMs_(timeoutMs), cap_(cap), sink_(sink), done_(std::move(done))
    {
        // A declared length over the cap ends the transfer before any body.
        connect(reply, &QNetworkReply::metaDataChanged, this, [this] {
            const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
            if (length.isValid() && length.toLongLong() > cap_)
                stop(tooLarge_);
        });
        connect(reply, &QNetworkReply::readyRead, this, &Transfer::take);
        connect(reply, &QNetworkReply::finished, this, [this] {
            take();
            end();
        });
        deadline_.setSingleShot(true);
        connect(&deadline_, &QTimer::timeout, this, [this] {
            timedOut_ = true;
            end();
        });
        deadline_.start(timeoutMs);
    }

    // The operator called it off.
    void callOff() { stop(cancelled_); }

private:
    void take()
    {
        if (ended_ || tooLarge_ || notStored_)
            return;
        const QByteArray piece = reply_->readAll();
        received_ += piece.size();
        if (received_ > cap_) {
            stop(tooLarge_);
            return;
        }
        const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (sink_ && status >= 200 && status <= 299) {
            if (!piece.isEmpty() && !(*sink_)(piece))
                stop(notStored_);
        } else {
            body_ += piece;
        }
    }

    void stop(bool& why)
    {
        why = true;
        body_.clear();
        end();
    }

    void end()
    {
        if (ended_)
            return;
        ended_ = true;
        deadline_.stop();
        disconnect(reply_, nullptr, this, nullptr);
        if (reply_->isFinished())
            timedOut_ = false;  // the reply won the race against the deadline
        else
            reply_->abort();  // out of time or too large: the transfer is dropped
        const HttpResult result = outcome();
        reply_->deleteLater();  // and this with it
        done_(result);
    }

    HttpResult outcome() const
    {
        HttpResult result;
        result.status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.contentType = reply_->rawHeader("Content-Type");
        // Qt numbers the errors that merely mirror an HTTP status 201-299 and
        // 401-499; every other error is a failed transfer.
        const int code = reply_->error();
        const bool statusError = (code >= 201 && code <= 299) || (code >= 401 && code <= 499);
        if (cancelled_) {
            result.error = HttpClient::calledOffText();
        } else if (tooLarge_) {
            result.error = HttpClient::tooLargeText(cap_);
        } else if (notStored_) {
            result.error = HttpClient::notStoredText();
        } else if (timedOut_) {
            result.timedOut = true;
            result.error = QStringLiteral("No complete reply within %1 ms").arg(timeoutMs_);
        } else if (code != QNetworkReply::NoError && !statusError) {
            result.error = reply_->errorString();
        } else if (result.status < 200 || result.status > 299) {
            // An error page is still a reply; its body is kept.
            result.error = result.status == 0 ? QStringLiteral("No HTTP reply")
                                              : QStringLiteral("HTTP status %1").arg(result.status);
            result.body = body_;
        } else {
            result.ok = true;
            result.body = body_;
        }
        return result;
    }

    QNetworkReply* reply_;
    int timeoutMs_;
    qint64 cap_;
    const HttpSink* sink_;
    HttpDone done_;
    QTimer deadline_;
    QByteArray body_;
    qint64 received_ = 0;
    bool tooLarge_ = false;
    bool notStored_ = false;
    bool timedOut_ = false;
    bool cancelled_ = false;
    bool ended_ = false;
};

}  // namespace

QtHttpClient::QtHttpClient(qint64 maxBodyBytes)
    : maxBodyBytes_(maxBodyBytes)
{
}

QtHttpClient::~QtHttpClient() = default;

HttpResult QtHttpClient::fetch(const QUrl& url, int timeoutMs)
{
    return fetchLimited(url, timeoutMs, 0, nullptr);
}

std::optional<HttpResult> QtHttpClient::refused(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && !url.host().isEmpty() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
        return std::nullopt;
    HttpResult result;
    result.error = QStringLiteral("Not an HTTP address: %1").arg(url.toDisplayString());
    return result;
}

QObject* QtHttpClient::start(const QUrl& url, int timeoutMs, qint64 maxBytes, const HttpSink* sink, HttpDone done)
{
    QNetworkRequest request(url);
    // Redirects are followed, but never from HTTPS down to HTTP.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("VELN"));
    if (!manager_)
        manager_ = std::make_unique<QNetworkAccessManager>();
    const qint64 cap = maxBytes > 0 ? std::min(maxBytes, maxBodyBytes_) : maxBodyBytes_;
    QNetworkReply* reply = manager_->get(request);
    // A streamed body never piles up in the reply's own buffer either.
    if (sink)
        reply->setReadBufferSize(256 * 1024);
    return new Transfer(reply, timeoutMs, cap, sink, std::move(done));
}

HttpResult QtHttpClient::fetchLimited(const QUrl& url, int timeoutMs, qint64 maxBytes, const HttpSink* sink)
{
    if (auto no = refused(url))
        return *no;
    // Waits in a local loop that leaves user input queued: the one caller
    // that blocks (the start-up update check) shows its own window meanwhile.
    HttpResult result;
    bool done = false;
    QEventLoop loop;
    QPointer<QObject> transfer = start(url, timeoutMs, maxBytes, sink, [&](const HttpResult& r) {
        result = r;
        done = true;
        loop.quit();
    });
    // With a way to call the transfer off, the operator's click (SKIP) must
    // get through while it runs.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!done && transfer && cancelRequested())
            static_cast<Transfer*>(transfer.data())->callOff();
    });
    if (hasCancelCheck())
        poll.start(100);
    if (!done)
        loop.exec(hasCancelCheck() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    return result;
}

void QtHttpClient::startFetch(const QUrl& url, int timeoutMs, qint64 maxBytes, QObject* context, const HttpDone& done)
{
    QPointer<QObject> alive(context);
    auto deliver = [alive, done](const HttpResult& r) {
        if (alive)
            done(r);
    };
    if (auto no = refused(url)) {
        QTimer::singleShot(0, context, [r = *no, done] { done(r); });
        return;
    }
    start(url, timeoutMs, maxBytes, nullptr, deliver);
}
