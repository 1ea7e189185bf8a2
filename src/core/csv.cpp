#include "csv.h"

#include <QStringDecoder>

namespace Csv {

QString Field(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray Record(const QStringList& fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString& f : fields)
        out.append(Field(f));
    return out.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

std::optional<QList<QStringList>> Parse(const QByteArray& bytes)
{
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString text = decode(bytes);
    if (decode.hasError())
        return std::nullopt;
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;      // inside a quoted field
    bool wasQuoted = false;   // the field began with a quote
    bool anything = false;    // the record has begun
    auto endField = [&] {
        record.append(field);
        field.clear();
        wasQuoted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            if (!field.isEmpty() || wasQuoted)
                return std::nullopt;  // a quote inside an unquoted field
            quoted = wasQuoted = anything = true;
        } else if (c == QLatin1Char(',')) {
            endField();
            anything = true;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            if (anything || !field.isEmpty()) {
                endField();
                records.append(record);
            }
            record.clear();
            anything = false;
        } else {
            if (wasQuoted)
                return std::nullopt;  // text after a closing quote
            field += c;
            anything = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (anything || !field.isEmpty()) {
        endField();
        records.append(record);
    }
    return records;
}

}  // namespace Csv
