#include "rtf/rtf_lexer.h"

namespace rtf {
namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

Token make(Token::Kind kind)
{
    Token t;
    t.kind = kind;
    return t;
}

}  // namespace

Token Lexer::next()
{
    while (pos_ < in_.size()) {
        const char c = in_[pos_];
        switch (c) {
        case '{':
            ++pos_;
            return make(Token::GroupOpen);
        case '}':
            ++pos_;
            return make(Token::GroupClose);
        case '\\': {
            ++pos_;
            if (pos_ >= in_.size())
                return make(Token::End);
            Token t;
            if (afterBackslash(t))
                return t;
            break;
        }
        default:
            ++pos_;
            if (uchar(c) >= 0x20 || c == '\t') {
                Token t = make(Token::Text);
                t.byte = uchar(c);
                return t;
            }
            break;  // CR, LF, NUL and other control bytes carry nothing
        }
    }
    return make(Token::End);
}

bool Lexer::afterBackslash(Token& t)
{
    const char c = in_[pos_];
    if (isLetter(c)) {
        t = word();
        return true;
    }
    ++pos_;
    if (c == '\'') {
        int value = 0, digits = 0;
        while (digits < 2 && pos_ < in_.size()) {
            const int h = hexValue(in_[pos_]);
            if (h < 0)
                break;
            value = value * 16 + h;
            ++digits;
            ++pos_;
        }
        if (digits == 0)
            return false;  // a lone \' stands for nothing
        t = make(Token::Text);
        t.byte = uchar(value);
        return true;
    }
    if (c == '\n' || c == '\r') {
        t = make(Token::Word);
        t.word = "par";
        return true;
    }
    t = make(Token::Symbol);
    t.symbol = c;
    return true;
}

Token Lexer::word()
{
    Token t = make(Token::Word);
    const qsizetype start = pos_;
    while (pos_ < in_.size() && isLetter(in_[pos_]))
        ++pos_;
    t.word = std::string_view(in_.data() + start, size_t(pos_ - start));

    bool negative = false;
    if (pos_ + 1 < in_.size() && in_[pos_] == '-' && isDigit(in_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < in_.size() && isDigit(in_[pos_])) {
        long long value = 0;
        while (pos_ < in_.size() && isDigit(in_[pos_])) {
            if (value < kParamLimit)
                value = value * 10 + (in_[pos_] - '0');
            ++pos_;
        }
        if (value > kParamLimit)
            value = kParamLimit;
        t.param = int(negative ? -value : value);
        t.hasParam = true;
    }
    if (pos_ < in_.size() && in_[pos_] == ' ')
        ++pos_;  // the delimiting blank belongs to the word

    if (t.word == "bin") {
        // Raw bytes follow; the count never reaches past the end.
        const qsizetype count = t.param > 0 ? qsizetype(t.param) : 0;
        pos_ += qMin(count, in_.size() - pos_);
    }
    return t;
}

}  // namespace rtf
