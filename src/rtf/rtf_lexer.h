#pragma once

#include <QByteArrayView>
#include <string_view>

namespace rtf {

struct Token {
    enum Kind { End, GroupOpen, GroupClose, Word, Symbol, Text };
    Kind kind = End;
    std::string_view word;  // Word: its letters (a view into the input)
    int param = 0;          // Word: the number after it, saturated to int
    bool hasParam = false;
    char symbol = 0;        // Symbol: the character after the backslash
    uchar byte = 0;         // Text: one byte, from the input or from \'hh
};

// Splits RTF into tokens. Every call either consumes input or returns End,
// so a loop over next() always finishes. Line breaks and other control bytes
// (except tab, which comes back as Text 0x09) are dropped, as RTF says; a
// backslash before a line break comes back as the word "par". The data of
// \binN is stepped over here, because it may hold any byte, braces included.
class Lexer {
public:
    explicit Lexer(QByteArrayView input) : in_(input) {}

    Token next();
    qsizetype offset() const { return pos_; }

    // Largest magnitude a parameter is held at; longer digit runs are still
    // consumed so they cannot turn into text.
    static constexpr int kParamLimit = 2'000'000'000;

private:
    Token word();
    bool afterBackslash(Token& t);  // false: the escape stood for nothing

    QByteArrayView in_;
    qsizetype pos_ = 0;
};

}  // namespace rtf
