#pragma once

#include <QtGlobal>

// The Windows code pages RTF text bytes are written in. Single-byte pages are
// decoded from tables; the East Asian double-byte pages are only recognised,
// so that each of their characters becomes one replacement character instead
// of two wrong ones.
namespace rtf {

constexpr char16_t kReplacement = 0xFFFD;
constexpr int kDefaultCodePage = 1252;
// Symbol-charset fonts: 1252, except that their bullet byte is a bullet.
constexpr int kSymbolCodePage = 42;

// Code page for an RTF \fcharset value; 0 when the charset means "the
// document's own code page" (ANSI, default, or unknown).
int CodePageForCharset(int charset);

bool IsDoubleByteCodePage(int codePage);
// True when b starts a two-byte character in a double-byte code page.
bool IsLeadByte(int codePage, uchar b);

// The character of one byte. Bytes below 0x80 are ASCII in every page; a
// code page without a table reads as 1252; a double-byte page's single
// bytes above 0x7F (other than its half-width katakana) are kReplacement.
char16_t DecodeByte(int codePage, uchar b);

// The 1252 byte for c, or 0 when 1252 has none (c below 0x80 is itself).
uchar EncodeCp1252(char16_t c);

}  // namespace rtf
