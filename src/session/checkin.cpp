#include "checkin.h"

#include "checkin_roster.h"
#include "core/call_sign.h"
#include "core/member_table.h"

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

}  // namespace

int DistrictDigitPosition(QStringView call)
{
    const bool second = call.size() >= 2 && isDigit(call.at(1));
    const bool third = call.size() >= 3 && isDigit(call.at(2));
    if (second && third) {
        if (call.at(1) == call.at(2))
            return 3;
        return call.at(1) > call.at(2) ? 2 : 3;
    }
    if (second)
        return 2;
    if (third)
        return 3;
    return 0;
}

bool SuffixLooksAlike(QStringView t, QStringView d)
{
    const qsizetype x = t.size();
    const qsizetype y = d.size();
    if (y < x)
        return false;
    // Plain character tests: this runs for every member on every unknown call.
    auto in = [&](QChar c) {
        for (QChar e : d)
            if (e == c)
                return true;
        return false;
    };
    if (x == 3 && y == 3) {
        const QChar t1 = t[0], t2 = t[1], t3 = t[2], d1 = d[0], d2 = d[1], d3 = d[2];
        return (d1 == t1 && d2 == t2)                  // D = T, or D1D2 = T1T2
            || (d2 == t2 && d3 == t3)                  // D2D3 = T2T3
            || (d1 == t1 && (d3 == t3 || d3 == t2))    // D1 = T1 and D3 = T3 or T2
            || (in(t1) && in(t2) && in(t3));           // each typed letter in D
    }
    if (x == 2 && y == 3)
        return (d[0] == t[0] && d[1] == t[1]) || (d[1] == t[0] && d[2] == t[1]);
    if (x == 2 && y == 2)
        return in(t[0]) || in(t[1]);  // covers D = T
    if (x == 1 && y == 2)
        return d[0] == t[0] || d[1] == t[0];
    if (x == 1 && y == 1)
        return true;
    return false;
}

QStringList SuggestCalls(const QString& call, const MemberTable& table)
{
    QStringList out;
    const int p = DistrictDigitPosition(call);
    if (p == 0)
        return out;
    const QString t = call.mid(p);
    if (t.isEmpty())
        return out;
    const int end = std::min(table.EndSlot(), MemberTable::kSlots + 1);
    for (int i = 1; i < end; ++i) {
        const QString& m = table.at(i).call;
        const int q = DistrictDigitPosition(m);
        if (q == 0)
            continue;
        if (SuffixLooksAlike(t, QStringView(m).mid(q)))
            out.append(m);
    }
    return out;
}

CheckInOutcome ProcessCheckIn(const QString& typed, const MemberTable& table, const CheckinRoster& roster,
                              EditorFlags& flags, const CheckInOptions& options, const QDateTime& at)
{
    CheckInOutcome out;
    out.clearStatus = !flags.statusHold;
    out.call = typed.toUpper().trimmed();
    const QString& c = out.call;

    if (!IsValidCall(c)) {
        out.kind = CheckInOutcome::Kind::Invalid;
        out.showStatus = true;
        out.status = c + QStringLiteral("  INVALID CALL");
        out.sound = SoundCue::Ding;
        return out;  // the status hold stays as it was
    }

    const int slot = table.FindCall(c);
    out.slot = slot;
    if (slot != 0 && roster.isCheckedIn(slot)) {
        out.kind = CheckInOutcome::Kind::Duplicate;
        out.showStatus = true;
        out.status = QStringLiteral("DUPLICATE");
        out.sound = SoundCue::Ding;
    } else if (slot != 0) {
        out.kind = CheckInOutcome::Kind::CheckedIn;
        NetEvent e;
        e.kind = NetEvent::Kind::CheckedIn;
        e.at = at.toUTC();
        e.unsaved = true;
        e.station = {table.call(slot), table.name(slot), table.qth(slot), slot, e.at, {}};
        out.rosterLine = RosterLine(e.station);
        out.events.append(e);
        flags.pendingInsert = 0;
    } else {
        out.kind = CheckInOutcome::Kind::Unknown;
        out.showStatus = true;
        out.status = c + QStringLiteral(" NOT FOUND");
        out.sound = SoundCue::Tada;
        out.suggestions = roster.newSuggestions(SuggestCalls(c, table));
        NetEvent e;
        e.kind = NetEvent::Kind::UnknownCall;
        e.at = at.toUTC();
        e.unsaved = roster.sessionChanged();
        e.text = c;
        e.calls = out.suggestions;
        out.events.append(e);
        out.flashSearch = !options.disableWindowFlash;
    }
    flags.statusHold = false;
    return out;
}
