#pragma once

#include <QString>

// The text with every character Latin-1 lacks replaced by the nearest one it
// has: accents Latin-1 knows are kept, others dropped (Č→C, Ǘ→Ü), letters of
// their own spelt out (Ł→L, Đ→D, Œ→OE, ß stays), typographic quotes and
// dashes made plain. What has no near form becomes "?".
QString NearestLatin1(const QString& text);
