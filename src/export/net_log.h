#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

class CheckinRoster;
class MemberTable;
struct TrafficEvent;

// The net as a log for other programs and for the served agency: its
// stations with their times, and its events in time order.
namespace NetLog {

struct Station {
    QString call;
    QString name;
    QString qth;
    bool member = false;
    QDateTime in;   // UTC; invalid when unknown
    QDateTime out;  // UTC; invalid while in the net
    bool operator==(const Station&) const = default;
};

// The roster's stations in roster order; a member's name and QTH come from
// the member table, those of a line without a member from the line.
QList<Station> Stations(const MemberTable& table, const CheckinRoster& roster);

// The stations as CSV: header call,name,QTH,member,in UTC,out UTC; member
// is "yes" or "no", times ISO 8601 UTC.
QByteArray Csv(const QList<Station>& stations);

struct Event {
    QDateTime at;  // UTC
    QString from;
    QString to;
    QString subject;
    bool operator==(const Event&) const = default;
};

// Check-ins and check-outs (station to net control) and changes of the
// traffic count (from net control), in time order. When the logged changes
// do not end at the counter's value (a session opened from a file), one
// more row gives the count at the last event.
QList<Event> Events(const QList<Station>& stations, const QList<TrafficEvent>& traffic, int trafficCount,
                    const QString& netControlCall);

// The net's name in the window caption: its text before " Version", blanks
// made single.
QString NetNameOfCaption(const QString& caption);

}  // namespace NetLog
