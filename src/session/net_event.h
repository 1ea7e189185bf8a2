#pragma once

#include "checkin_roster.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One change of the net, as NetSession hands it to the window, the journal
// and anyone else who follows the net. Events come in the order they
// happened; applying them in that order to an empty net gives the same net.
// Each kind uses the fields its comment names; unsaved is always the
// session's unsaved mark after the change.
struct NetEvent {
    enum class Kind {
        NetStarted,          // (nothing) a new net: the journal's first line
        CheckedIn,           // station (its check-in time in station.in)
        UnknownCall,         // text = the call; calls = suggestions newly listed
        CheckedOut,          // line
        CheckedBack,         // line
        LineRemoved,         // line
        LineChanged,         // line, station (its new call, name and QTH)
        TrafficUp,           // count after the click
        TrafficDown,         // count after the click (unchanged at 0)
        SearchListsCleared,  // (nothing)
        MemberAdded,         // station (call, name, QTH, slot); no longer an unknown call
        MemberChanged,       // station (the member as it is now)
        MemberDeleted,       // station (the member as it was)
        Unsaved,             // (nothing) the session holds changes to save
        SessionSaved,        // text = the file
        SessionOpened,       // text = the file, date, stations, checkins, count, trafficLog, captions
        SessionEnded,        // (nothing) a normal end: the journal is closed
    };

    Kind kind = Kind::NetStarted;
    QDateTime at;  // UTC
    bool unsaved = false;
    int line = 0;
    StationRecord station;
    int count = 0;
    int checkins = 0;
    QString text;
    QString date;
    QStringList calls;
    QList<StationRecord> stations;
    QList<TrafficEvent> trafficLog;
    // The check-ins and traffic lines as the opened file gave them, so a
    // save writes them back as they were.
    QStringList captions;

    bool operator==(const NetEvent&) const = default;

    // The event's name as JSON carries it ("checked-in", ...).
    static QString kindName(Kind kind);
    static std::optional<Kind> kindOfName(const QString& name);

    QJsonObject toJson() const;
    // Nothing when the object is no event this program wrote.
    static std::optional<NetEvent> fromJson(const QJsonObject& object);
};
