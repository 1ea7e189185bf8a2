#include "rtf/code_pages.h"

#include <array>

namespace rtf {
namespace {

constexpr int kJohab = 1361;

QStringDecoder decoderFor(int codePage)
{
    if (codePage == kSymbolCodePage)
        codePage = kDefaultCodePage;
    // Qt's converters know the Windows pages as "windows-<number>", the DOS
    // and Mac pages included.
    QStringDecoder named(("windows-" + QByteArray::number(codePage)).constData());
    if (named.isValid() || codePage == kJohab)
        return named;
    if (codePage != kDefaultCodePage)
        return decoderFor(kDefaultCodePage);
    // A Qt without those converters still reads 1252's Latin-1 part.
    return QStringDecoder(QStringConverter::Latin1);
}

// What the converters give for a byte a page leaves undefined: their
// substitute, a C1 control or a private-use character.
bool undefined(QChar c)
{
    const char16_t u = c.unicode();
    return u == 0x1A || (u >= 0x80 && u <= 0x9F) || (u >= 0xE000 && u <= 0xF8FF);
}

}  // namespace

int CodePageForCharset(int charset)
{
    switch (charset) {
    case 2: return kSymbolCodePage;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return kJohab;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
    }
}

QString ByteDecoder::feed(int codePage, uchar b)
{
    QString out;
    if (codePage != codePage_) {
        out = flush();
        codePage_ = codePage;
        decoder_ = decoderFor(codePage);
    }
    if (b < 0x80 && !waiting_) {
        out += QChar(b);
        return out;
    }
    if (codePage == kSymbolCodePage && b == 0xB7) {
        out += QChar(0x2022);
        return out;
    }
    if (!decoder_.isValid())
        return out + feedJohab(b);
    const char byte = char(b);
    const QString decoded = decoder_.decode(QByteArrayView(&byte, 1));
    waiting_ = decoded.isEmpty();
    for (const QChar c : decoded)
        out += undefined(c) ? QChar(kReplacement) : c;
    return out;
}

// Johab is unknown to Qt: its pairs are recognised so that each is one
// replacement character rather than two wrong ones.
QString ByteDecoder::feedJohab(uchar b)
{
    if (waiting_) {
        waiting_ = false;
        return QString(QChar(kReplacement));
    }
    waiting_ = (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xDE) || (b >= 0xE0 && b <= 0xF9);
    return waiting_ ? QString() : QString(QChar(kReplacement));
}

QString ByteDecoder::flush()
{
    if (!waiting_)
        return {};
    waiting_ = false;
    decoder_.resetState();
    return QString(QChar(kReplacement));
}

uchar EncodeCp1252(char16_t c)
{
    if (c < 0x80)
        return uchar(c);
    if (c >= 0xA0 && c <= 0xFF)
        return uchar(c);  // 1252 equals Latin-1 here
    // Only 0x80..0x9F differ from Latin-1.
    thread_local const std::array<char16_t, 0x20> high = [] {
        std::array<char16_t, 0x20> chars{};
        ByteDecoder decoder;
        for (int i = 0; i < 0x20; ++i)
            chars[size_t(i)] = decoder.feed(kDefaultCodePage, uchar(0x80 + i)).front().unicode();
        return chars;
    }();
    for (int i = 0; i < 0x20; ++i)
        if (high[size_t(i)] == c && c != kReplacement)
            return uchar(0x80 + i);
    return 0;
}

}  // namespace rtf
