#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QUrl>

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

// Blocking HTTP(S) GET. A call returns when the reply is complete, has failed
// or has run out of time; it never hangs and never throws. A timeout of 0 or
// less means the default.
class HttpClient {
public:
    static constexpr int kDefaultTimeoutMs = 15000;

    virtual ~HttpClient() = default;

    HttpResult getBytes(const QUrl& url, int timeoutMs = kDefaultTimeoutMs)
    {
        return fetch(url, timeoutMs > 0 ? timeoutMs : kDefaultTimeoutMs);
    }

    HttpTextResult getText(const QUrl& url, int timeoutMs = kDefaultTimeoutMs)
    {
        HttpResult raw = getBytes(url, timeoutMs);
        HttpTextResult text;
        text.ok = raw.ok;
        text.status = raw.status;
        text.timedOut = raw.timedOut;
        text.error = raw.error;
        text.body = DecodeHttpText(raw.body, raw.contentType);
        text.contentType = raw.contentType;
        return text;
    }

protected:
    virtual HttpResult fetch(const QUrl& url, int timeoutMs) = 0;
};
