#include "callbook_xml.h"

#include <QList>
#include <QPair>
#include <QXmlStreamReader>

CallbookReply ReadCallbookReply(const QString& reply, const QStringList& wanted, const QSet<QString>& containers)
{
    // The body goes into a root of our own once its declaration is gone.
    qsizetype at = 0;
    while (at < reply.size() && (reply.at(at).isSpace() || reply.at(at) == QChar(0xFEFF)))
        ++at;
    if (reply.mid(at, 5) == QLatin1String("<?xml")) {
        const qsizetype end = reply.indexOf(QLatin1String("?>"), at);
        at = end < 0 ? reply.size() : end + 2;
    }
    QXmlStreamReader xml(QStringLiteral("<reply>") + reply.mid(at) + QStringLiteral("</reply>"));

    CallbookReply out;
    QList<QPair<QString, QString>> open;  // element name and its own text so far
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QString name = xml.name().toString();
            if (containers.contains(name) || wanted.contains(name))
                out.serviceElement = true;
            open.append({name, QString()});
            break;
        }
        case QXmlStreamReader::Characters:
            if (!open.isEmpty())
                open.last().second += xml.text();
            break;
        case QXmlStreamReader::EndElement:
            if (!open.isEmpty()) {
                const auto [name, text] = open.takeLast();
                if (wanted.contains(name) && !out.values.contains(name))
                    out.values.insert(name, text);
            }
            break;
        default:
            break;
        }
    }
    if (xml.hasError()) {
        out.wellFormed = false;
        out.readerError = xml.errorString();
    }
    return out;
}

namespace {

// A session key is a short token of printable ASCII without blanks; a reply
// offering anything else (a huge or spaced "key") is no login to keep.
bool isSessionToken(const QString& key)
{
    if (key.isEmpty() || key.size() > kSessionKeyMaxChars)
        return false;
    for (const QChar c : key)
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7F)
            return false;
    return true;
}

}  // namespace

CallbookResult LoginReplyOutcome(const CallbookReply& read, const QString& keyText, const QString& errorText,
                                 bool refusedInWords, const QString& noKeyText, QString& key)
{
    CallbookResult out;
    out.detail = errorText;
    key = keyText.trimmed();
    if (refusedInWords) {
        out.error = CallbookError::LoginRefused;
    } else if (!key.isEmpty() && isSessionToken(key)) {
        out.error = CallbookError::None;
    } else if (!key.isEmpty()) {
        out.error = CallbookError::BadReply;
        out.detail = QStringLiteral("The login reply's session key is not a key the service gives (%1 characters)")
                         .arg(key.size());
    } else if (!read.serviceElement || !read.wellFormed) {
        out.error = CallbookError::BadReply;
        out.detail = NotServiceXmlText(read);
    } else {
        out.error = CallbookError::LoginRefused;
        if (out.detail.isEmpty())
            out.detail = noKeyText;
    }
    if (out.error != CallbookError::None)
        key.clear();
    return out;
}

QString NotServiceXmlText(const CallbookReply& read)
{
    return read.readerError.isEmpty() ? QStringLiteral("The reply is not the service's XML")
                                      : QStringLiteral("The reply is not the service's XML: ") + read.readerError;
}
