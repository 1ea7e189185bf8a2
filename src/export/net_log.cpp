#include "net_log.h"

#include "core/csv.h"
#include "core/member_table.h"
#include "session/checkin_roster.h"

#include <algorithm>

namespace NetLog {

QList<Station> Stations(const MemberTable& table, const CheckinRoster& roster)
{
    QList<Station> out;
    for (int k = 1; k <= roster.lineCount(); ++k) {
        const StationRecord& r = roster.station(k);
        Station s;
        s.call = r.call.trimmed();
        s.member = r.member();
        if (s.member) {
            s.name = table.name(r.slot).trimmed();
            s.qth = table.qth(r.slot).trimmed();
        } else {
            s.name = r.name.trimmed();
            s.qth = r.qth.trimmed();
        }
        s.in = r.in;
        s.out = r.out;
        out.append(s);
    }
    return out;
}

namespace {
QString iso(const QDateTime& at) { return at.isValid() ? at.toUTC().toString(Qt::ISODate) : QString(); }
}  // namespace

QByteArray Csv(const QList<Station>& stations)
{
    QByteArray out = Csv::Record({QStringLiteral("call"), QStringLiteral("name"), QStringLiteral("QTH"),
                                  QStringLiteral("member"), QStringLiteral("in UTC"), QStringLiteral("out UTC")});
    for (const Station& s : stations)
        out += Csv::Record({s.call, s.name, s.qth, s.member ? QStringLiteral("yes") : QStringLiteral("no"), iso(s.in),
                            iso(s.out)});
    return out;
}

QList<Event> Events(const QList<Station>& stations, const QList<TrafficEvent>& traffic, int trafficCount,
                    const QString& netControlCall)
{
    QList<Event> events;
    for (const Station& s : stations) {
        if (s.in.isValid())
            events.append({s.in.toUTC(), s.call, netControlCall, QStringLiteral("check-in")});
        if (s.out.isValid())
            events.append({s.out.toUTC(), s.call, netControlCall, QStringLiteral("check-out")});
    }
    auto trafficText = [](int count) { return QStringLiteral("traffic count %1").arg(count); };
    for (const TrafficEvent& t : traffic)
        events.append({t.at.toUTC(), netControlCall, QString(), trafficText(t.count)});
    // Equal times keep the order above: a station's check-in before its check-out.
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.at < b.at; });
    const int logged = traffic.isEmpty() ? 0 : traffic.last().count;
    if (trafficCount != logged && !events.isEmpty())
        events.append({events.last().at, netControlCall, QString(), trafficText(trafficCount)});
    return events;
}

QString NetNameOfCaption(const QString& caption)
{
    const qsizetype version = caption.indexOf(QStringLiteral(" Version"));
    return (version < 0 ? caption : caption.left(version)).simplified();
}

}  // namespace NetLog
