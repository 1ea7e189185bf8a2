#pragma once

#include <QString>
#include <QStringDecoder>

// The Windows code pages RTF text bytes are written in, decoded by Qt's
// converters. A page Qt does not know reads as 1252, except Johab, whose
// two-byte characters each become one replacement character.
namespace rtf {

constexpr char16_t kReplacement = 0xFFFD;
constexpr int kDefaultCodePage = 1252;
// Symbol-charset fonts: 1252, except that their bullet byte is a bullet.
constexpr int kSymbolCodePage = 42;

// Code page for an RTF \fcharset value; 0 when the charset means "the
// document's own code page" (ANSI, default, or unknown).
int CodePageForCharset(int charset);

// Text bytes, one at a time as RTF hands them over, each in the code page of
// its moment. A lead byte of a double-byte page waits for the byte after it.
// Bytes below 0x80 outside a double-byte character are ASCII; a byte or pair
// the page leaves undefined is one replacement character.
class ByteDecoder {
public:
    // The characters b completes; none while a lead byte waits.
    QString feed(int codePage, uchar b);
    // A lead byte left waiting (the text was interrupted) becomes one
    // replacement character.
    QString flush();

private:
    QString feedJohab(uchar b);

    int codePage_ = -1;
    QStringDecoder decoder_;
    bool waiting_ = false;
};

// The 1252 byte for c, or 0 when 1252 has none (c below 0x80 is itself).
uchar EncodeCp1252(char16_t c);

}  // namespace rtf
