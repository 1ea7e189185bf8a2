#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

struct NetEvent;

// When a roster line's station checked in and, once gone, out (UTC); either
// may be unknown (a line read from a session file without its times).
struct StationTimes {
    QDateTime in;
    QDateTime out;
    bool checkedOut() const { return out.isValid(); }
    bool operator==(const StationTimes&) const = default;
};

// One station of the roster. A check-in fills all three words; a line read
// from a session file may hold fewer, and words keeps how many it held, so
// the line is written back as it was read.
struct StationRecord {
    QString call;
    QString name;
    QString qth;
    int slot = 0;  // member slot; 0 when the station is no member
    QDateTime in;  // UTC; invalid when unknown
    QDateTime out; // UTC; invalid while the station is in the net
    int words = 3;

    bool member() const { return slot != 0; }
    bool checkedOut() const { return out.isValid(); }
    bool operator==(const StationRecord&) const = default;
};

// The roster line of a station: one blank, the call, a blank, the name, a
// blank, the QTH. The one place a record becomes text; SessionFile::
// StationOfLine is the one place text becomes a record.
QString RosterLine(const StationRecord& station);

// A change of the traffic counter: when, and the count after it.
struct TrafficEvent {
    QDateTime at;
    int count = 0;
    bool operator==(const TrafficEvent&) const = default;
};

// The session's stations in check-in order, the check-in mark of every
// member slot, the counters and the two search lists. NetSession changes it
// only through apply(), so a net replayed from its events is the same net.
class CheckinRoster {
public:
    CheckinRoster();

    // Carries one event of the net out on the roster.
    void apply(const NetEvent& event);

    // --- stations; line k is 1-based
    const std::vector<StationRecord>& stations() const { return stations_; }
    int lineCount() const { return int(stations_.size()); }
    const StationRecord& station(int line) const;
    QString lineAt(int line) const;
    QStringList lines() const;
    // Member slot of line k; 0 when the line has no member.
    int slotAt(int line) const;
    StationTimes timesAt(int line) const;
    // "in 19:42Z, out 20:15Z"; empty when line k has no times.
    QString timesText(int line) const;
    bool isCheckedIn(int slot) const;
    // The first line of the member in slot; 0 when it is not listed.
    int lineOfSlot(int slot) const;

    // A checked-in station: listed, its member marked, the counter follows.
    void append(const StationRecord& station);
    // A station read from a session file; no mark is set.
    void appendUnmarked(const StationRecord& station);
    // Removes line k; clears its member's mark; lower lines move up. Returns
    // the removed line's member slot.
    int removeLine(int line);
    // New call, name and QTH of line k; its member, times and mark stay.
    void replaceLine(int line, const StationRecord& station);
    void clearLines();
    void setTimes(int line, const StationTimes& times);

    // --- counters
    int checkins() const { return checkins_; }
    void setCheckins(int value);
    QString checkinsCaption() const;

    int traffic() const { return traffic_; }
    // "0" at the start, a blank and the digits once the counter was clicked
    // (the sign position), the plain digits as a session file gave them.
    QString trafficCaption() const;
    bool trafficClickedForm() const { return trafficSigned_; }
    void setTraffic(int count, bool clickedForm);
    // The count after a click: the right button counts down (never below 0),
    // any other up (never past 32767).
    int trafficAfterClick(bool rightButton) const;
    const QList<TrafficEvent>& trafficLog() const { return trafficLog_; }
    void setTrafficLog(const QList<TrafficEvent>& log) { trafficLog_ = log; }

    bool sessionChanged() const { return sessionChanged_; }
    void setSessionChanged(bool changed) { sessionChanged_ = changed; }

    // --- search lists
    const QStringList& unknownCalls() const { return unknown_; }
    const QStringList& suggestions() const { return suggestions_; }
    // The calls of a scan not listed yet.
    QStringList newSuggestions(const QStringList& calls) const;
    void clearSearchLists();

private:
    std::vector<StationRecord> stations_;
    QList<TrafficEvent> trafficLog_;
    std::vector<int> marks_;  // index = member slot
    int checkins_ = 0;
    int traffic_ = 0;
    bool trafficSigned_ = false;
    QString checkinsRead_;  // a counter's line as an opened file gave it
    QString trafficRead_;
    bool sessionChanged_ = false;
    QStringList unknown_;
    QStringList suggestions_;
};
