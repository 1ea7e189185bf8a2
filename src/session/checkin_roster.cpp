#include "checkin_roster.h"

#include "net_event.h"
#include "core/member_table.h"
#include "core/text_number.h"

#include <algorithm>

QString RosterLine(const StationRecord& station)
{
    QString line = QLatin1Char(' ') + station.call;
    if (station.words >= 2)
        line += QLatin1Char(' ') + station.name;
    if (station.words >= 3)
        line += QLatin1Char(' ') + station.qth;
    return line;
}

CheckinRoster::CheckinRoster() : marks_(MemberTable::kSlots + 1, 0) {}

void CheckinRoster::apply(const NetEvent& e)
{
    using Kind = NetEvent::Kind;
    switch (e.kind) {
    case Kind::CheckedIn:
        append(e.station);
        break;
    case Kind::UnknownCall:
        unknown_.append(e.text);
        suggestions_.append(e.calls);
        break;
    case Kind::CheckedOut:
    case Kind::CheckedBack:
        if (e.line >= 1 && e.line <= lineCount())
            stations_[size_t(e.line - 1)].out = e.kind == Kind::CheckedOut ? e.at.toUTC() : QDateTime();
        break;
    case Kind::LineRemoved:
        removeLine(e.line);
        break;
    case Kind::LineChanged:
        replaceLine(e.line, e.station);
        break;
    case Kind::TrafficUp:
    case Kind::TrafficDown:
        if (e.at.isValid() && e.count != traffic_)
            trafficLog_.append({e.at.toUTC(), e.count});
        setTraffic(e.count, true);
        break;
    case Kind::SearchListsCleared:
        clearSearchLists();
        break;
    case Kind::SessionOpened:
        clearLines();
        // A member's line marks it checked in, so it is not listed twice.
        for (const StationRecord& s : e.stations)
            append(s);
        setCheckins(e.checkins);
        setTraffic(e.count, false);
        trafficLog_ = e.trafficLog;
        // Shown and saved as the file gave them, until they change.
        if (e.captions.size() == 2) {
            checkinsRead_ = int(LeadingNumber(e.captions[0])) == checkins_ ? e.captions[0] : QString();
            trafficRead_ = int(LeadingNumber(e.captions[1])) == traffic_ ? e.captions[1] : QString();
        }
        break;
    case Kind::MemberAdded:
        // A call added as a member is no longer unknown.
        unknown_.removeAll(e.station.call);
        break;
    case Kind::NetStarted:
    case Kind::MemberChanged:
    case Kind::MemberDeleted:
    case Kind::Unsaved:
    case Kind::SessionSaved:
    case Kind::SessionEnded:
        break;
    }
    sessionChanged_ = e.unsaved;
}

const StationRecord& CheckinRoster::station(int line) const
{
    static const StationRecord none;
    return line >= 1 && line <= lineCount() ? stations_[size_t(line - 1)] : none;
}

QString CheckinRoster::lineAt(int line) const
{
    return line >= 1 && line <= lineCount() ? RosterLine(stations_[size_t(line - 1)]) : QString();
}

QStringList CheckinRoster::lines() const
{
    QStringList out;
    out.reserve(lineCount());
    for (const StationRecord& s : stations_)
        out.append(RosterLine(s));
    return out;
}

int CheckinRoster::slotAt(int line) const { return station(line).slot; }

int CheckinRoster::lineOfSlot(int slot) const
{
    if (slot < 1)
        return 0;
    for (int k = 1; k <= lineCount(); ++k)
        if (stations_[size_t(k - 1)].slot == slot)
            return k;
    return 0;
}

void CheckinRoster::append(const StationRecord& station)
{
    appendUnmarked(station);
    const int slot = stations_.back().slot;
    if (slot >= 1)
        marks_[size_t(slot)] = slot;
    setCheckins(lineCount());
}

void CheckinRoster::appendUnmarked(const StationRecord& station)
{
    stations_.push_back(station);
    StationRecord& s = stations_.back();
    if (s.slot < 1 || s.slot > MemberTable::kSlots)
        s.slot = 0;
    s.in = s.in.toUTC();
    s.out = s.out.toUTC();
}

int CheckinRoster::removeLine(int line)
{
    if (line < 1 || line > lineCount())
        return 0;
    const int slot = stations_[size_t(line - 1)].slot;
    stations_.erase(stations_.begin() + (line - 1));
    if (slot >= 1)
        marks_[size_t(slot)] = 0;
    setCheckins(checkins_ - 1);
    sessionChanged_ = true;
    return slot;
}

void CheckinRoster::replaceLine(int line, const StationRecord& station)
{
    if (line < 1 || line > lineCount())
        return;
    StationRecord& s = stations_[size_t(line - 1)];
    s.call = station.call;
    s.name = station.name;
    s.qth = station.qth;
    s.words = station.words;
}

void CheckinRoster::clearLines()
{
    stations_.clear();
    std::fill(marks_.begin(), marks_.end(), 0);
}

StationTimes CheckinRoster::timesAt(int line) const
{
    const StationRecord& s = station(line);
    return {s.in, s.out};
}

void CheckinRoster::setTimes(int line, const StationTimes& times)
{
    if (line >= 1 && line <= lineCount()) {
        stations_[size_t(line - 1)].in = times.in.toUTC();
        stations_[size_t(line - 1)].out = times.out.toUTC();
    }
}

QString CheckinRoster::timesText(int line) const
{
    const StationTimes t = timesAt(line);
    auto hhmm = [](const QDateTime& at) { return at.toUTC().toString(QStringLiteral("HH:mm")) + QLatin1Char('Z'); };
    QStringList parts;
    if (t.in.isValid())
        parts << QStringLiteral("in ") + hhmm(t.in);
    if (t.out.isValid())
        parts << QStringLiteral("out ") + hhmm(t.out);
    return parts.join(QStringLiteral(", "));
}

bool CheckinRoster::isCheckedIn(int slot) const
{
    return slot >= 1 && slot <= MemberTable::kSlots && marks_[size_t(slot)] == slot;
}

void CheckinRoster::setCheckins(int value)
{
    checkinsRead_.clear();
    checkins_ = std::clamp(value, 0, kCounterMax);
}

QString CheckinRoster::checkinsCaption() const
{
    return checkinsRead_.isEmpty() ? QString::number(checkins_) : checkinsRead_;
}

QString CheckinRoster::trafficCaption() const
{
    if (!trafficRead_.isEmpty())
        return trafficRead_;
    return trafficSigned_ ? SignedNumberText(traffic_) : QString::number(traffic_);
}

void CheckinRoster::setTraffic(int count, bool clickedForm)
{
    trafficRead_.clear();
    traffic_ = std::clamp(count, 0, kCounterMax);
    trafficSigned_ = clickedForm;
}

int CheckinRoster::trafficAfterClick(bool rightButton) const
{
    return std::clamp(traffic_ + (rightButton ? -1 : 1), 0, kCounterMax);
}

QStringList CheckinRoster::newSuggestions(const QStringList& calls) const
{
    // One scan names every member once: only the calls listed before need
    // comparing, and an empty list needs none.
    QStringList added;
    for (const QString& call : calls)
        if (suggestions_.isEmpty() || !suggestions_.contains(call))
            added.append(call);
    return added;
}


void CheckinRoster::clearSearchLists()
{
    unknown_.clear();
    suggestions_.clear();
}
