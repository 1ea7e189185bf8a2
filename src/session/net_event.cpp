#include "net_event.h"

#include <QJsonArray>

#include <array>
#include <utility>

namespace {

using Kind = NetEvent::Kind;

constexpr std::array<std::pair<Kind, const char*>, 17> kNames{{
    {Kind::NetStarted, "net-started"},
    {Kind::CheckedIn, "checked-in"},
    {Kind::UnknownCall, "unknown-call"},
    {Kind::CheckedOut, "checked-out"},
    {Kind::CheckedBack, "checked-back"},
    {Kind::LineRemoved, "line-removed"},
    {Kind::LineChanged, "line-changed"},
    {Kind::TrafficUp, "traffic-up"},
    {Kind::TrafficDown, "traffic-down"},
    {Kind::SearchListsCleared, "search-lists-cleared"},
    {Kind::MemberAdded, "member-added"},
    {Kind::MemberChanged, "member-changed"},
    {Kind::MemberDeleted, "member-deleted"},
    {Kind::Unsaved, "unsaved"},
    {Kind::SessionSaved, "session-saved"},
    {Kind::SessionOpened, "session-opened"},
    {Kind::SessionEnded, "session-ended"},
}};

QString iso(const QDateTime& at) { return at.isValid() ? at.toUTC().toString(Qt::ISODateWithMs) : QString(); }

std::optional<QDateTime> timeOf(const QJsonValue& v)
{
    if (v.isUndefined())
        return QDateTime();
    if (!v.isString())
        return std::nullopt;
    const QString s = v.toString();
    if (s.isEmpty())
        return QDateTime();
    QDateTime at = QDateTime::fromString(s, Qt::ISODateWithMs);
    if (!at.isValid())
        return std::nullopt;
    return at.toUTC();
}

QJsonObject stationJson(const StationRecord& s)
{
    QJsonObject o{{"call", s.call}, {"name", s.name}, {"qth", s.qth}, {"slot", s.slot}};
    if (s.words != 3)
        o.insert("words", s.words);
    if (s.in.isValid())
        o.insert("in", iso(s.in));
    if (s.out.isValid())
        o.insert("out", iso(s.out));
    return o;
}

std::optional<StationRecord> stationOf(const QJsonValue& v)
{
    if (!v.isObject())
        return std::nullopt;
    const QJsonObject o = v.toObject();
    StationRecord s;
    if (!o.value("call").isString())
        return std::nullopt;
    s.call = o.value("call").toString();
    s.name = o.value("name").toString();
    s.qth = o.value("qth").toString();
    s.slot = o.value("slot").toInt();
    s.words = o.value("words").toInt(3);
    const auto in = timeOf(o.value("in"));
    const auto out = timeOf(o.value("out"));
    if (!in || !out || s.words < 1 || s.words > 3 || s.slot < 0)
        return std::nullopt;
    s.in = *in;
    s.out = *out;
    return s;
}

}  // namespace

QString NetEvent::kindName(Kind kind)
{
    for (const auto& [k, name] : kNames)
        if (k == kind)
            return QString::fromLatin1(name);
    return {};
}

std::optional<NetEvent::Kind> NetEvent::kindOfName(const QString& name)
{
    for (const auto& [k, n] : kNames)
        if (name == QLatin1String(n))
            return k;
    return std::nullopt;
}

QJsonObject NetEvent::toJson() const
{
    QJsonObject o{{"event", kindName(kind)}, {"at", iso(at)}, {"unsaved", unsaved}};
    switch (kind) {
    case Kind::CheckedIn:
    case Kind::MemberAdded:
    case Kind::MemberChanged:
    case Kind::MemberDeleted:
        o.insert("station", stationJson(station));
        break;
    case Kind::LineChanged:
        o.insert("line", line);
        o.insert("station", stationJson(station));
        break;
    case Kind::CheckedOut:
    case Kind::CheckedBack:
    case Kind::LineRemoved:
        o.insert("line", line);
        break;
    case Kind::UnknownCall:
        o.insert("call", text);
        o.insert("suggestions", QJsonArray::fromStringList(calls));
        break;
    case Kind::TrafficUp:
    case Kind::TrafficDown:
        o.insert("count", count);
        break;
    case Kind::SessionSaved:
        o.insert("file", text);
        break;
    case Kind::SessionOpened: {
        o.insert("file", text);
        o.insert("date", date);
        o.insert("checkins", checkins);
        o.insert("count", count);
        o.insert("captions", QJsonArray::fromStringList(captions));
        QJsonArray list;
        for (const StationRecord& s : stations)
            list.append(stationJson(s));
        o.insert("stations", list);
        QJsonArray traffic;
        for (const TrafficEvent& t : trafficLog)
            traffic.append(QJsonObject{{"at", iso(t.at)}, {"count", t.count}});
        o.insert("traffic", traffic);
        break;
    }
    case Kind::NetStarted:
    case Kind::SearchListsCleared:
    case Kind::Unsaved:
    case Kind::SessionEnded:
        break;
    }
    return o;
}

std::optional<NetEvent> NetEvent::fromJson(const QJsonObject& o)
{
    const auto kind = kindOfName(o.value("event").toString());
    const auto at = timeOf(o.value("at"));
    if (!kind || !at || !o.value("unsaved").isBool())
        return std::nullopt;
    NetEvent e;
    e.kind = *kind;
    e.at = *at;
    e.unsaved = o.value("unsaved").toBool();
    auto needLine = [&]() {
        e.line = o.value("line").toInt();
        return e.line >= 1;
    };
    auto needStation = [&]() {
        const auto s = stationOf(o.value("station"));
        if (s)
            e.station = *s;
        return s.has_value();
    };
    auto needCount = [&]() {
        e.count = o.value("count").toInt(-1);
        return e.count >= 0 && e.count <= 32767;
    };
    switch (e.kind) {
    case Kind::CheckedIn:
    case Kind::MemberAdded:
    case Kind::MemberChanged:
    case Kind::MemberDeleted:
        if (!needStation())
            return std::nullopt;
        break;
    case Kind::LineChanged:
        if (!needLine() || !needStation())
            return std::nullopt;
        break;
    case Kind::CheckedOut:
    case Kind::CheckedBack:
    case Kind::LineRemoved:
        if (!needLine())
            return std::nullopt;
        break;
    case Kind::UnknownCall:
        if (!o.value("call").isString() || !o.value("suggestions").isArray())
            return std::nullopt;
        e.text = o.value("call").toString();
        for (const QJsonValue& v : o.value("suggestions").toArray())
            e.calls.append(v.toString());
        break;
    case Kind::TrafficUp:
    case Kind::TrafficDown:
        if (!needCount())
            return std::nullopt;
        break;
    case Kind::SessionSaved:
        if (!o.value("file").isString())
            return std::nullopt;
        e.text = o.value("file").toString();
        break;
    case Kind::SessionOpened: {
        if (!o.value("file").isString() || !o.value("stations").isArray() || !needCount())
            return std::nullopt;
        e.text = o.value("file").toString();
        e.date = o.value("date").toString();
        e.checkins = o.value("checkins").toInt();
        for (const QJsonValue& v : o.value("captions").toArray())
            e.captions.append(v.toString());
        for (const QJsonValue& v : o.value("stations").toArray()) {
            const auto s = stationOf(v);
            if (!s)
                return std::nullopt;
            e.stations.append(*s);
        }
        for (const QJsonValue& v : o.value("traffic").toArray()) {
            const auto t = timeOf(v.toObject().value("at"));
            if (!t || !t->isValid())
                return std::nullopt;
            e.trafficLog.append({*t, v.toObject().value("count").toInt()});
        }
        break;
    }
    case Kind::NetStarted:
    case Kind::SearchListsCleared:
    case Kind::Unsaved:
    case Kind::SessionEnded:
        break;
    }
    return e;
}
