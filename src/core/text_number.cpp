#include "text_number.h"

double LeadingNumber(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && (text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t')))
            ++i;
    };
    skipBlanks();
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    QString digits;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits += c;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
            digits += c;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            continue;  // blanks inside a number are passed over
        } else {
            break;
        }
    }
    if (digits.isEmpty() || digits == QLatin1String("."))
        return 0.0;
    const double v = digits.toDouble();
    return negative ? -v : v;
}

QString SignedNumberText(int value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}
