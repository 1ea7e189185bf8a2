#pragma once

#include <QString>

// The numeric value of the leading number of a text, as counters shown in
// captions are read back: leading blanks skipped, an optional sign, digits and
// one decimal point; reading stops at the first other character; 0 when the
// text starts with anything else.
double LeadingNumber(const QString& text);

// A counter value as a caption shows it after a change: a blank (the sign
// position) before the digits of a value that is not negative.
QString SignedNumberText(int value);

// 16-bit counters never wrap.
constexpr int kCounterMax = 32767;
