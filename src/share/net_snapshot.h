#pragma once

#include "session/net_event.h"

#include <QJsonObject>
#include <QString>
#include <functional>
#include <optional>

class CheckinRoster;

// The whole of a shared net as one JSON object: the retained message a late
// follower starts from and the web page's data. It holds the roster, the
// counters, the times and the net control, nothing else (no file names, no
// logins). Sizes are bounded both ways, so a hostile publisher cannot make a
// follower hold more than a net can be.
struct NetSnapshot {
    static constexpr int kMaxStations = 10000;
    static constexpr int kMaxCall = 20;
    static constexpr int kMaxName = 64;
    static constexpr int kMaxQth = 128;
    static constexpr int kMaxNetId = 64;

    QString net;
    qint64 epoch = 0;
    qint64 seq = 0;
    QString controlCall;
    QString controlName;
    // The net as a roster takes it: kind SessionOpened with stations,
    // checkins, count (traffic) and its time; apply() it to an empty roster.
    NetEvent event;

    // Which member slot a call has on this seat (0: none). Without one, a
    // member keeps a stand-in slot so the line still reads as a member's.
    using SlotOf = std::function<int(const QString& call)>;

    static QJsonObject toJson(const CheckinRoster& roster, const QString& controlCall, const QString& controlName,
                              const QString& netId, qint64 epoch, qint64 seq);
    // Nothing when the object is no snapshot (wrong types, too many
    // stations, an id no net has); over-long texts are cut to their bounds.
    static std::optional<NetSnapshot> fromJson(const QJsonObject& object, const SlotOf& slotOf = {});
};

// A whole number JSON carries exactly, from 0 up; nothing otherwise.
std::optional<qint64> CountOf(const QJsonValue& value);
