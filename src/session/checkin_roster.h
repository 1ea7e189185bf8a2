#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

// When a roster line's station checked in and, once gone, out (UTC); either
// may be unknown (a line read from a session file without its times).
struct StationTimes {
    QDateTime in;
    QDateTime out;
    bool checkedOut() const { return out.isValid(); }
    bool operator==(const StationTimes&) const = default;
};

// A change of the traffic counter: when, and the count after it.
struct TrafficEvent {
    QDateTime at;
    int count = 0;
    bool operator==(const TrafficEvent&) const = default;
};

// The session's stations: roster lines in check-in order with the member slot
// of each line (0 for a line with no member), the check-in mark of every
// member slot, the counters and the two search lists; each line's check-in and
// check-out times.
class CheckinRoster {
public:
    CheckinRoster();

    // --- roster lines
    const QStringList& lines() const { return lines_; }
    int lineCount() const { return int(lines_.size()); }
    // Member slot of line k (1-based); 0 when the line has no member.
    int slotAt(int line) const;
    // Adds a checked-in member's line, records its slot and sets its mark.
    void append(const QString& line, int slot);
    // Adds a line read from a session file; no mark is set.
    void appendUnmarked(const QString& line, int slot);
    // Removes line k (1-based); clears its member's mark; lower lines move up.
    // Returns the removed line's member slot.
    int removeLine(int line);
    void clearLines();
    // New text for line k (1-based); its member stays.
    void replaceLine(int line, const QString& text);

    // --- times of line k (1-based); they move with the line
    StationTimes timesAt(int line) const;
    void setTimes(int line, const StationTimes& times);
    // Marks line k's station gone at the moment, or back when it was gone;
    // the check-ins counter stays. False when there is no line k.
    bool toggleCheckOut(int line, const QDateTime& at);
    // "in 19:42Z, out 20:15Z"; empty when line k has no times.
    QString timesText(int line) const;

    bool isCheckedIn(int slot) const;
    // The roster line of a member as a check-in writes it.
    static QString lineFor(const QString& call, const QString& name, const QString& qth);

    // --- counters
    int checkins() const { return checkins_; }
    void setCheckins(int value);
    QString checkinsCaption() const { return QString::number(checkins_); }

    int traffic() const;
    QString trafficCaption() const { return trafficCaption_; }
    void setTrafficCaption(const QString& caption) { trafficCaption_ = caption; }
    // A click on the counter: the right button counts down (never below 0),
    // any other up (never past 32767).
    // A valid moment logs the change in trafficLog().
    void trafficClicked(bool rightButton, const QDateTime& at = {});
    const QList<TrafficEvent>& trafficLog() const { return trafficLog_; }
    void clearTrafficLog() { trafficLog_.clear(); }
    void setTrafficLog(const QList<TrafficEvent>& log) { trafficLog_ = log; }

    bool sessionChanged() const { return sessionChanged_; }
    void setSessionChanged(bool changed) { sessionChanged_ = changed; }

    // --- search lists
    const QStringList& unknownCalls() const { return unknown_; }
    const QStringList& suggestions() const { return suggestions_; }
    void addUnknown(const QString& call) { unknown_.append(call); }
    // A call added as a member is no longer unknown.
    void removeUnknown(const QString& call);
    // Lists the calls not listed yet and returns them.
    QStringList addSuggestions(const QStringList& calls);
    void clearSearchLists();

private:
    QStringList lines_;
    std::vector<int> lineSlots_;
    std::vector<StationTimes> times_;  // one per line
    QList<TrafficEvent> trafficLog_;
    std::vector<int> marks_;  // index = member slot
    int checkins_ = 0;
    QString trafficCaption_ = QStringLiteral("0");
    bool sessionChanged_ = false;
    QStringList unknown_;
    QStringList suggestions_;
};
