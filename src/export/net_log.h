#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

class CheckinRoster;
class MemberTable;

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

// The stations as CSV for spreadsheets: a UTF-8 byte-order mark, then the
// header call,name,QTH,member,in UTC,out UTC; member is "yes" or "no", times
// ISO 8601 UTC. A cell that a spreadsheet would take for a formula (= + - @)
// starts with an apostrophe.
QByteArray Csv(const QList<Station>& stations);

struct Event {
    QDateTime at;  // UTC; invalid when not known
    QString from;
    QString to;
    QString subject;
    bool operator==(const Event&) const = default;
};

// Check-ins and check-outs, station to net control, in time order. A station
// without a known time (a session opened without its times) is listed first,
// in roster order, with no time. The net control's own rows name no receiver.
QList<Event> Events(const QList<Station>& stations, const QString& netControlCall);

// The net's name in the window caption: its text before " Version", blanks
// made single.
QString NetNameOfCaption(const QString& caption);

}  // namespace NetLog
