#include "call_sign.h"

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool isLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

constexpr char16_t kBackspace = 8;
constexpr char16_t kEnter = 13;

}  // namespace

bool IsValidCall(const QString& call)
{
    const qsizetype len = call.size();
    if (len > 6)
        return false;
    if (len == 6 && isDigit(call.at(1)))
        return false;

    // Only the first occurrence of each digit counts; the positions (1-based)
    // must add up to 2 or 3, and no counted digit may end the call.
    qsizetype sum = 0;
    for (char d = '0'; d <= '9'; ++d) {
        const qsizetype p = call.indexOf(QLatin1Char(d)) + 1;  // 0 when absent
        if (p >= len)  // no character after position p (covers the empty call)
            return false;
        sum += p;
    }
    if (sum != 2 && sum != 3)
        return false;

    const QChar first = call.at(0);
    if (first != QLatin1Char('A') && first != QLatin1Char('K') && first != QLatin1Char('N') && first != QLatin1Char('W'))
        return false;
    if (isDigit(call.at(1)))
        return true;
    return len > 2 && isDigit(call.at(2));
}

std::optional<QChar> FilterKey(FieldKind kind, QChar key, bool disableEnterKeyDing)
{
    if (key.unicode() == kBackspace)
        return key;
    const bool blank = key == QLatin1Char(' ');
    switch (kind) {
    case FieldKind::MemberCall:
    case FieldKind::NewCall:
        if (isLetter(key) || isDigit(key) || blank)
            return key;
        return std::nullopt;
    case FieldKind::MemberName:
    case FieldKind::MemberQth:
        if (isLetter(key) || blank)
            return key;
        return std::nullopt;
    case FieldKind::CheckIn:
        if (key.unicode() == kEnter && disableEnterKeyDing)
            return std::nullopt;
        return key;
    }
    return std::nullopt;
}

bool KeyEnablesCancel(FieldKind kind, QChar key)
{
    return kind == FieldKind::NewCall && key.unicode() != kBackspace;
}
