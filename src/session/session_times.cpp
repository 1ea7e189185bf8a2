#include "session_times.h"

#include "core/csv.h"
#include "core/text_number.h"

namespace SessionTimes {

namespace {

const QString kTraffic = QStringLiteral("*TRAFFIC*");

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

QByteArray Compose(const QList<Entry>& entries, const QList<TrafficEvent>& traffic)
{
    QByteArray out;
    for (const Entry& e : entries)
        out += Csv::Record({e.call, isoText(e.in), isoText(e.out)});
    for (const TrafficEvent& t : traffic)
        out += Csv::Record({kTraffic, isoText(t.at), QString::number(t.count)});
    return out;
}

std::optional<Contents> Parse(const QByteArray& bytes)
{
    const auto records = Csv::Parse(bytes);
    if (!records)
        return std::nullopt;
    Contents contents;
    for (const QStringList& r : *records) {
        if (r.size() != 3)
            return std::nullopt;
        if (r.at(0).trimmed() == kTraffic) {
            TrafficEvent t;
            bool number = false;
            t.count = r.at(2).toInt(&number);
            if (!readTime(r.at(1), &t.at) || !t.at.isValid() || !number || t.count < 0 || t.count > kCounterMax)
                return std::nullopt;
            contents.traffic.append(t);
            continue;
        }
        Entry e;
        if (r.at(0).trimmed().isEmpty() || !readTime(r.at(1), &e.in) || !readTime(r.at(2), &e.out))
            return std::nullopt;
        e.call = r.at(0).trimmed();
        contents.stations.append(e);
    }
    return contents;
}

}  // namespace SessionTimes
