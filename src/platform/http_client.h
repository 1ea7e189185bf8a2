#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringDecoder>
#include <QTimer>
#include <QUrl>
#include <functional>

// The outcome of one GET. `ok` only when a complete reply with a 2xx status
// arrived; otherwise `error` says why. The body of an error status (a 404
// page, say) is kept; a body cut off by a failure or timeout is not.
template <typename Body>
struct HttpResultOf {
    bool ok = false;
    int status = 0;          // HTTP status; 0 when no reply arrived
    bool timedOut = false;   // the whole transfer took longer than its timeout
    QString error;           // empty when ok
    Body body;
    QByteArray contentType;  // the reply's Content-Type header, as sent
};
using HttpResult = HttpResultOf<QByteArray>;
using HttpTextResult = HttpResultOf<QString>;

// The reply body as text: the charset the server names; otherwise UTF-8 when
// the bytes are valid UTF-8, else Latin-1, so no byte is ever lost.
inline QString DecodeHttpText(const QByteArray& body, const QByteArray& contentType)
{
    const qsizetype at = contentType.toLower().indexOf("charset=");
    if (at >= 0) {
        QByteArray name = contentType.mid(at + 8);
        const qsizetype end = name.indexOf(';');
        if (end >= 0)
            name.truncate(end);
        name = name.trimmed();
        if (name.size() >= 2 && name.startsWith('"') && name.endsWith('"'))
            name = name.mid(1, name.size() - 2);
        QStringDecoder named(name.constData(), QStringDecoder::Flag::Stateless);
        if (named.isValid()) {
            QString text = named.decode(body);
            if (!named.hasError())
                return text;
        }
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(body);
}

// Takes a reply body piece by piece as it arrives; false ends the transfer.
using HttpSink = std::function<bool(const QByteArray&)>;
// Receives the outcome of an asynchronous GET.
using HttpDone = std::function<void(const HttpResult&)>;
using HttpTextDone = std::function<void(const HttpTextResult&)>;

// HTTP(S) GET, blocking or asynchronous. A blocking call returns when the
// reply is complete, has failed or has run out of time; it never hangs and
// never throws. An asynchronous call returns at once and hands its outcome
// to the event loop later. A timeout of 0 or less means the default; a size
// cap of 0 or less means the client's own. A reply larger than its cap fails.
class HttpClient {
public:
    static constexpr int kDefaultTimeoutMs = 15000;

    virtual ~HttpClient() = default;

    HttpResult getBytes(const QUrl& url, int timeoutMs = kDefaultTimeoutMs, qint64 maxBytes = 0)
    {
        if (cancelRequested())
            return calledOff();
        const int t = timeoutMs > 0 ? timeoutMs : kDefaultTimeoutMs;
        return maxBytes > 0 ? fetchLimited(url, t, maxBytes, nullptr) : fetch(url, t);
    }

    HttpTextResult getText(const QUrl& url, int timeoutMs = kDefaultTimeoutMs, qint64 maxBytes = 0)
    {
        return asText(getBytes(url, timeoutMs, maxBytes));
    }

    // Starts a GET and returns at once. done runs from the event loop, never
    // before this call has returned, and not at all once context is gone.
    void getTextLater(const QUrl& url, QObject* context, const HttpTextDone& done,
                      int timeoutMs = kDefaultTimeoutMs, qint64 maxBytes = 0)
    {
        startFetch(url, timeoutMs > 0 ? timeoutMs : kDefaultTimeoutMs, maxBytes, context,
                   [done](const HttpResult& raw) { done(asText(raw)); });
    }

    static HttpTextResult asText(const HttpResult& raw)
    {
        HttpTextResult text;
        text.ok = raw.ok;
        text.status = raw.status;
        text.timedOut = raw.timedOut;
        text.error = raw.error;
        text.body = DecodeHttpText(raw.body, raw.contentType);
        text.contentType = raw.contentType;
        return text;
    }

    // A 2xx body goes to sink as it arrives, never whole into memory; the
    // result's body stays empty. The sink may have taken part of a body that
    // then failed: the caller drops what it took unless the result is ok.
    HttpResult getInto(const QUrl& url, const HttpSink& sink, int timeoutMs, qint64 maxBytes = 0)
    {
        if (cancelRequested())
            return calledOff();
        return fetchLimited(url, timeoutMs > 0 ? timeoutMs : kDefaultTimeoutMs, maxBytes, &sink);
    }

    // Asked while a transfer runs; true calls it off at once (the operator
    // skipped the update check). None by default.
    void setCancelCheck(std::function<bool()> check) { cancelCheck_ = std::move(check); }

    static QString calledOffText() { return QStringLiteral("Called off by the operator"); }
    static QString tooLargeText(qint64 maxBytes) { return QStringLiteral("Reply larger than %1 bytes").arg(maxBytes); }
    static QString notStoredText() { return QStringLiteral("The reply could not be stored"); }

protected:
    static HttpResult calledOff()
    {
        HttpResult r;
        r.error = calledOffText();
        return r;
    }
    bool hasCancelCheck() const { return bool(cancelCheck_); }
    bool cancelRequested() const { return cancelCheck_ && cancelCheck_(); }

    virtual HttpResult fetch(const QUrl& url, int timeoutMs) = 0;

    // The asynchronous GET. This fallback fetches at once and hands the
    // outcome over on the next turn of the event loop; a real client lets the
    // loop run while the reply travels.
    virtual void startFetch(const QUrl& url, int timeoutMs, qint64 maxBytes, QObject* context, const HttpDone& done)
    {
        HttpResult r = fetchLimited(url, timeoutMs, maxBytes, nullptr);
        QTimer::singleShot(0, context, [r, done] { done(r); });
    }

    // With a size cap (maxBytes > 0) and a sink (when given). This fallback
    // fetches the whole reply and checks it afterwards; a real client ends the
    // transfer as soon as the cap is passed.
    virtual HttpResult fetchLimited(const QUrl& url, int timeoutMs, qint64 maxBytes, const HttpSink* sink)
    {
        HttpResult r = fetch(url, timeoutMs);
        if (maxBytes > 0 && r.body.size() > maxBytes) {
            r.ok = false;
            r.error = tooLargeText(maxBytes);
            r.body.clear();
        }
        if (sink && r.ok) {
            if (!r.body.isEmpty() && !(*sink)(r.body)) {
                r.ok = false;
                r.error = notStoredText();
            }
            r.body.clear();
        }
        return r;
    }

private:
    std::function<bool()> cancelCheck_;
};
