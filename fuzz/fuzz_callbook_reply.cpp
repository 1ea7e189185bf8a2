// Feeds arbitrary replies to the XML reading of both callbooks, logins and
// lookups, as the window gets them: decoded as UTF-8 and at most the size
// the client lets through. An input starting with "L" is read repeated up
// to that size, so large replies are read too. Besides memory errors and undefined
// behaviour it stops when a login keeps a key that is no short token, or a
// failure comes without its reason.

#include "lookup/callbook_xml.h"
#include "lookup/hamqth_client.h"
#include "lookup/qrz_client.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void fail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "%s: %s\n", what, qPrintable(detail.left(200)));
    std::abort();
}

void checkLogin(const char* service, const CallbookResult& r, const QString& key)
{
    if (r.error != CallbookError::None) {
        if (!key.isEmpty())
            fail(service, QStringLiteral("a key kept from a failed login: ") + key);
        if (r.error == CallbookError::BadReply && r.detail.isEmpty())
            fail(service, QStringLiteral("a reply not understood without a reason"));
        return;
    }
    if (key.isEmpty() || key.size() > kSessionKeyMaxChars)
        fail(service, QStringLiteral("a key of %1 characters kept").arg(key.size()));
    for (const QChar c : key)
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7F)
            fail(service, QStringLiteral("a key with the character %1 kept").arg(c.unicode()));
}

void checkLookup(const char* service, const CallbookResult& r)
{
    if (r.error == CallbookError::BadReply && r.detail.isEmpty())
        fail(service, QStringLiteral("a lookup reply not understood without a reason"));
}

void readAll(const QString& reply)
{
    QString key;
    checkLogin("QRZ login", QrzClient::parseLoginReply(reply, key), key);
    key.clear();
    checkLogin("HamQTH login", HamQthClient::parseLoginReply(reply, key), key);
    checkLookup("QRZ lookup", QrzClient::parseLookupReply(reply));
    checkLookup("HamQTH lookup", HamQthClient::parseLookupReply(reply));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (qint64(size) > kCallbookReplyMaxBytes)
        return -1;  // the client cuts such a reply off before it is read
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    readAll(QString::fromUtf8(input));
    // An input starting with "L" stands for a long reply: the rest over and
    // over, up to the cap.
    if (size > 1 && data[0] == 'L') {
        const QByteArray piece = input.mid(1);
        QByteArray big;
        while (big.size() + piece.size() <= kCallbookReplyMaxBytes)
            big += piece;
        readAll(QString::fromUtf8(big));
    }
    return 0;
}
