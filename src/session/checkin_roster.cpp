#include "checkin_roster.h"

#include "core/member_table.h"
#include "core/text_number.h"

#include <algorithm>

CheckinRoster::CheckinRoster() : marks_(MemberTable::kSlots + 1, 0) {}

int CheckinRoster::slotAt(int line) const
{
    if (line < 1 || line > lineCount())
        return 0;
    return lineSlots_[size_t(line - 1)];
}

void CheckinRoster::append(const QString& line, int slot)
{
    appendUnmarked(line, slot);
    if (slot >= 1 && slot <= MemberTable::kSlots)
        marks_[size_t(slot)] = slot;
    checkins_ = lineCount();
}

void CheckinRoster::appendUnmarked(const QString& line, int slot)
{
    lines_.append(line);
    lineSlots_.push_back(slot >= 1 && slot <= MemberTable::kSlots ? slot : 0);
    times_.emplace_back();
}

int CheckinRoster::removeLine(int line)
{
    if (line < 1 || line > lineCount())
        return 0;
    const int slot = lineSlots_[size_t(line - 1)];
    lines_.removeAt(line - 1);
    lineSlots_.erase(lineSlots_.begin() + (line - 1));
    times_.erase(times_.begin() + (line - 1));
    if (slot >= 1)
        marks_[size_t(slot)] = 0;
    checkins_ = std::max(0, checkins_ - 1);
    sessionChanged_ = true;
    return slot;
}

void CheckinRoster::replaceLine(int line, const QString& text)
{
    if (line >= 1 && line <= lineCount())
        lines_[line - 1] = text;
}

void CheckinRoster::clearLines()
{
    lines_.clear();
    lineSlots_.clear();
    times_.clear();
    std::fill(marks_.begin(), marks_.end(), 0);
}

StationTimes CheckinRoster::timesAt(int line) const
{
    if (line < 1 || line > lineCount())
        return {};
    return times_[size_t(line - 1)];
}

void CheckinRoster::setTimes(int line, const StationTimes& times)
{
    if (line >= 1 && line <= lineCount())
        times_[size_t(line - 1)] = {times.in.toUTC(), times.out.toUTC()};
}

bool CheckinRoster::toggleCheckOut(int line, const QDateTime& at)
{
    if (line < 1 || line > lineCount())
        return false;
    StationTimes& t = times_[size_t(line - 1)];
    t.out = t.checkedOut() ? QDateTime() : at.toUTC();
    sessionChanged_ = true;
    return true;
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

QString CheckinRoster::lineFor(const QString& call, const QString& name, const QString& qth)
{
    return QLatin1Char(' ') + call + QLatin1Char(' ') + name + QLatin1Char(' ') + qth;
}

void CheckinRoster::setCheckins(int value) { checkins_ = std::clamp(value, 0, kCounterMax); }

int CheckinRoster::traffic() const
{
    return int(std::clamp(LeadingNumber(trafficCaption_), 0.0, double(kCounterMax)));
}

void CheckinRoster::trafficClicked(bool rightButton, const QDateTime& at)
{
    const int before = traffic();
    const int value = std::clamp(before + (rightButton ? -1 : 1), 0, kCounterMax);
    trafficCaption_ = SignedNumberText(value);
    if (value == before)
        return;
    // The count is part of the session file: a click alone is worth a Save.
    sessionChanged_ = true;
    if (at.isValid())
        trafficLog_.append({at.toUTC(), value});
}

QStringList CheckinRoster::addSuggestions(const QStringList& calls)
{
    // One scan names every member once: only the calls listed before need
    // comparing, and an empty list needs none.
    const qsizetype listedBefore = suggestions_.size();
    QStringList added;
    for (const QString& call : calls)
        if (listedBefore == 0
            || std::find(suggestions_.cbegin(), suggestions_.cbegin() + listedBefore, call)
                == suggestions_.cbegin() + listedBefore) {
            suggestions_.append(call);
            added.append(call);
        }
    return added;
}

void CheckinRoster::removeUnknown(const QString& call) { unknown_.removeAll(call); }

void CheckinRoster::clearSearchLists()
{
    unknown_.clear();
    suggestions_.clear();
}
