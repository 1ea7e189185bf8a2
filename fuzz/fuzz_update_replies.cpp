// Feeds arbitrary replies of the update server to what reads them: the reply
// decoding, the version and build numbers and the document dates. Besides
// memory errors and undefined behaviour it stops on a date that is not one
// and on a number that is not a number.

#include "core/text_number.h"
#include "platform/http_client.h"
#include "startup/update_checker.h"

#include <QByteArray>
#include <cmath>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    // The first line stands in for the Content-Type header, the rest for the body.
    const qsizetype cut = input.indexOf('\n');
    const QByteArray contentType = cut < 0 ? QByteArray() : input.left(cut);
    const QByteArray body = cut < 0 ? input : input.mid(cut + 1);
    const QString text = DecodeHttpText(body, contentType);
    const double number = LeadingNumber(text);
    if (std::isnan(number)) {
        std::fprintf(stderr, "a version number that is not a number\n");
        std::abort();
    }
    const std::optional<QDate> date = ParseServerDate(text);
    if (date && !date->isValid()) {
        std::fprintf(stderr, "an invalid date accepted\n");
        std::abort();
    }
    return 0;
}
