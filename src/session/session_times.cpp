#include "session_times.h"

#include "core/csv.h"

namespace SessionTimes {

namespace {

QString isoText(const QDateTime& at) { return at.isValid() ? at.toUTC().toString(Qt::ISODate) : QString(); }

// Empty text is no time; anything else must be a UTC moment ending in "Z".
bool readTime(const QString& text, QDateTime* at)
{
    if (text.isEmpty()) {
        *at = QDateTime();
        return true;
    }
    if (!text.endsWith(QLatin1Char('Z')))
        return false;
    *at = QDateTime::fromString(text, Qt::ISODate);
    return at->isValid();
}

}  // namespace

QString PathFor(const QString& sessionPath) { return sessionPath + QStringLiteral(".times"); }

QByteArray Compose(const QList<Entry>& entries)
{
    QByteArray out;
    for (const Entry& e : entries)
        out += Csv::Record({e.call, isoText(e.in), isoText(e.out)});
    return out;
}

std::optional<QList<Entry>> Parse(const QByteArray& bytes)
{
    const auto records = Csv::Parse(bytes);
    if (!records)
        return std::nullopt;
    QList<Entry> entries;
    for (const QStringList& r : *records) {
        Entry e;
        if (r.size() != 3 || r.at(0).trimmed().isEmpty() || !readTime(r.at(1), &e.in) || !readTime(r.at(2), &e.out))
            return std::nullopt;
        e.call = r.at(0).trimmed();
        entries.append(e);
    }
    return entries;
}

}  // namespace SessionTimes
