// Feeds arbitrary replies to QrzTagValue for the tags a lookup reads. Besides
// memory errors and undefined behaviour it stops when a value is not the text
// between its tags in the reply.

#include "lookup/qrz_client.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString reply = QString::fromUtf8(input);
    for (const char* tag : {"Key", "Error", "call", "fname", "name", "addr2", "state", "country", "Message"}) {
        const QString name = QLatin1String(tag);
        const std::optional<QString> value = QrzTagValue(reply, name);
        if (!value)
            continue;
        const QString open = QLatin1Char('<') + name + QLatin1Char('>');
        const QString close = QStringLiteral("</") + name + QLatin1Char('>');
        if (!reply.contains(open) || !reply.contains(close)) {
            std::fprintf(stderr, "a value for <%s> without both its tags\n", tag);
            std::abort();
        }
        if (value->size() > reply.size() || value->contains(close)) {
            std::fprintf(stderr, "the value of <%s> runs past its closing tag\n", tag);
            std::abort();
        }
    }
    return 0;
}
