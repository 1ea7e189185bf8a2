#include "net_snapshot.h"

#include "share_address.h"
#include "core/member_table.h"
#include "core/text_number.h"
#include "session/checkin_roster.h"

#include <QJsonArray>
#include <cmath>

namespace {
QJsonValue timeJson(const QDateTime& at)
{
    return at.isValid() ? QJsonValue(at.toUTC().toString(Qt::ISODate)) : QJsonValue(QJsonValue::Null);
}

// Null or absent: unknown. A text that is no time: not a snapshot.
std::optional<QDateTime> timeOf(const QJsonValue& v)
{
    if (v.isNull() || v.isUndefined())
        return QDateTime();
    if (!v.isString())
        return std::nullopt;
    QDateTime at = QDateTime::fromString(v.toString(), Qt::ISODateWithMs);
    if (!at.isValid())
        return std::nullopt;
    return at.toUTC();
}

std::optional<QString> textOf(const QJsonValue& v, int bound)
{
    if (v.isUndefined() || v.isNull())
        return QString();
    if (!v.isString())
        return std::nullopt;
    return v.toString().left(bound);
}
}  // namespace

std::optional<qint64> CountOf(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double d = value.toDouble();
    if (!(d >= 0) || d > 9007199254740991.0 || std::floor(d) != d)
        return std::nullopt;
    return qint64(d);
}

QJsonObject NetSnapshot::toJson(const CheckinRoster& roster, const QString& controlCall, const QString& controlName,
                                const QString& netId, qint64 epoch, qint64 seq)
{
    QJsonArray stations;
    int n = 0;
    for (const StationRecord& s : roster.stations()) {
        if (++n > kMaxStations)
            break;
        stations.append(QJsonObject{{"call", s.call.left(kMaxCall)},
                                    {"name", s.name.left(kMaxName)},
                                    {"qth", s.qth.left(kMaxQth)},
                                    {"member", s.member()},
                                    {"in", timeJson(s.in)},
                                    {"out", timeJson(s.out)}});
    }
    return QJsonObject{{"net", netId},
                       {"epoch", epoch},
                       {"seq", seq},
                       {"netControl", QJsonObject{{"call", controlCall.left(kMaxCall)}, {"name", controlName.left(kMaxName)}}},
                       {"checkins", roster.checkins()},
                       {"traffic", roster.traffic()},
                       {"stations", stations}};
}

std::optional<NetSnapshot> NetSnapshot::fromJson(const QJsonObject& o, const SlotOf& slotOf)
{
    NetSnapshot snap;
    const auto epoch = CountOf(o.value("epoch"));
    const auto seq = CountOf(o.value("seq"));
    const auto checkins = CountOf(o.value("checkins"));
    const auto traffic = CountOf(o.value("traffic"));
    if (!epoch || !seq || !checkins || !traffic || *checkins > kCounterMax || *traffic > kCounterMax)
        return std::nullopt;
    if (!o.value("net").isString() || !IsNetId(o.value("net").toString()) ||
        o.value("net").toString().size() > kMaxNetId)
        return std::nullopt;
    if (!o.value("stations").isArray() || !o.value("netControl").isObject())
        return std::nullopt;
    const QJsonObject control = o.value("netControl").toObject();
    const auto call = textOf(control.value("call"), kMaxCall);
    const auto name = textOf(control.value("name"), kMaxName);
    const QJsonArray list = o.value("stations").toArray();
    if (!call || !name || list.size() > kMaxStations)
        return std::nullopt;
    snap.net = o.value("net").toString();
    snap.epoch = *epoch;
    snap.seq = *seq;
    snap.controlCall = *call;
    snap.controlName = *name;

    NetEvent& e = snap.event;
    e.kind = NetEvent::Kind::SessionOpened;
    e.checkins = int(*checkins);
    e.count = int(*traffic);
    e.stations.reserve(list.size());
    for (const QJsonValue& v : list) {
        if (!v.isObject())
            return std::nullopt;
        const QJsonObject so = v.toObject();
        const auto sCall = textOf(so.value("call"), kMaxCall);
        const auto sName = textOf(so.value("name"), kMaxName);
        const auto sQth = textOf(so.value("qth"), kMaxQth);
        const auto in = timeOf(so.value("in"));
        const auto out = timeOf(so.value("out"));
        const QJsonValue member = so.value("member");
        if (!sCall || sCall->isEmpty() || !sName || !sQth || !in || !out || !(member.isBool() || member.isUndefined()))
            return std::nullopt;
        StationRecord s;
        s.call = *sCall;
        s.name = *sName;
        s.qth = *sQth;
        s.in = *in;
        s.out = *out;
        if (member.toBool()) {
            const int slot = slotOf ? slotOf(s.call.trimmed()) : 0;
            s.slot = slot >= 1 && slot <= MemberTable::kSlots ? slot : MemberTable::kSlots;
        }
        e.stations.append(s);
    }
    return snap;
}
