#include "member_changes.h"

#include "checkin_roster.h"
#include "core/call_sign.h"
#include "core/member_table.h"

using MemberEditor::Outcome;
using MemberEditor::Refusal;
using MemberEditor::StatusShow;

namespace MemberChanges {

namespace {

Result refused(Refusal why, const QString& status, bool ding, StatusShow show = StatusShow::Show)
{
    Result r;
    r.outcome.refusal = why;
    r.outcome.show = show;
    r.outcome.status = status;
    r.outcome.ding = ding;
    return r;
}

Result writeFailed(const MemberTable& table)
{
    Result r;
    r.outcome.refusal = Refusal::WriteFailed;
    r.outcome.error =
        table.lastError().isEmpty() ? MemberTable::resultText(MemberTable::Result::WriteFailed) : table.lastError();
    r.outcome.ding = true;
    return r;
}

NetEvent event(NetEvent::Kind kind, const QDateTime& at, bool unsaved)
{
    NetEvent e;
    e.kind = kind;
    e.at = at.toUTC();
    e.unsaved = unsaved;
    return e;
}

NetEvent memberEvent(NetEvent::Kind kind, const MemberTable& table, int slot, const QDateTime& at, bool unsaved)
{
    NetEvent e = event(kind, at, unsaved);
    e.station = {table.call(slot), table.name(slot), table.qth(slot), slot, {}, {}};
    return e;
}

}  // namespace

Result SaveEdit(const QString& call, const QString& name, const QString& qth, MemberTable& table,
                const CheckinRoster& roster, const QDateTime& at)
{
    // An empty call box names no member (it would match the first free slot).
    const int slot = call.isEmpty() ? 0 : table.FindCall(call);
    if (slot == 0)
        return refused(Refusal::NotFound, QStringLiteral("ERROR! RECORD NOT FOUND!"), false, StatusShow::ShowAlways);
    if (table.WriteSlot(slot, {call, name, qth}) != MemberTable::Result::Ok)
        return writeFailed(table);
    Result r;
    Outcome& o = r.outcome;
    o.ok = true;
    o.slot = slot;
    o.show = StatusShow::CaptionOnly;
    o.status = QStringLiteral("RECORD UPDATED");
    r.events.append(memberEvent(NetEvent::Kind::MemberChanged, table, slot, at, roster.sessionChanged()));
    o.rosterLine = roster.lineOfSlot(slot);
    if (o.rosterLine != 0) {
        NetEvent e = event(NetEvent::Kind::LineChanged, at, true);
        e.line = o.rosterLine;
        e.station = roster.station(o.rosterLine);
        e.station.call = table.call(slot);
        e.station.name = table.name(slot);
        e.station.qth = table.qth(slot);
        e.station.words = 3;
        r.events.append(e);
    }
    return r;
}

Result SaveChangeCall(const QString& oldCall, const QString& newCall, int selectedLine, MemberTable& table,
                      const CheckinRoster& roster, const QDateTime& at)
{
    const int slot = oldCall.isEmpty() ? 0 : table.FindCall(oldCall);
    if (slot == 0)
        return refused(Refusal::NotFound, QStringLiteral("ERROR! RECORD NOT FOUND!"), false);
    // An empty or implausible new call would leave a nameless record behind.
    if (!IsValidCall(newCall))
        return refused(Refusal::InvalidCall, newCall + QStringLiteral("  INVALID CALL"), true);
    if (newCall != oldCall && table.FindCall(newCall) != 0)
        return refused(Refusal::CallExists, QStringLiteral("CALL ALREADY EXISTS"), true);
    MemberRecord rec = table.record(slot);
    rec.call = newCall;
    if (table.WriteSlot(slot, rec) != MemberTable::Result::Ok)
        return writeFailed(table);

    Result r;
    Outcome& o = r.outcome;
    o.ok = true;
    o.slot = slot;
    o.show = StatusShow::Show;
    o.status = oldCall + QStringLiteral(" CHANGED TO ") + newCall;
    r.events.append(memberEvent(NetEvent::Kind::MemberChanged, table, slot, at, true));
    // The member's own line follows; failing that, the selected line when it
    // shows the old call (a line read from a session file has no member).
    int line = roster.lineOfSlot(slot);
    if (line == 0 && roster.station(selectedLine).call == oldCall)
        line = selectedLine;
    if (line != 0) {
        NetEvent e = event(NetEvent::Kind::LineChanged, at, true);
        e.line = line;
        e.station = roster.station(line);
        e.station.call = newCall;
        r.events.append(e);
        o.rosterLine = line;
    } else {
        r.events.append(event(NetEvent::Kind::Unsaved, at, true));
    }
    return r;
}

QString DeleteQuestion(const StationRecord& station)
{
    return QStringLiteral("DELETE ") + station.call + QLatin1Char(' ') + station.name
        + QStringLiteral(" FROM THE DATABASE?");
}

Result DeleteLine(int line, bool deleteMember, MemberTable& table, const CheckinRoster& roster, const QDateTime& at)
{
    Result r;
    if (line < 1 || line > roster.lineCount())
        return r;
    Outcome& o = r.outcome;
    const int slot = roster.slotAt(line);
    // A line without a member (read from a session file) frees no slot.
    if (deleteMember && slot != 0) {
        const NetEvent gone = memberEvent(NetEvent::Kind::MemberDeleted, table, slot, at, roster.sessionChanged());
        if (table.BlankSlot(slot) != MemberTable::Result::Ok)
            return writeFailed(table);
        o.show = StatusShow::Show;
        o.status = QStringLiteral("RECORD DELETED");
        o.membersChanged = true;
        r.events.append(gone);
    }
    NetEvent e = event(NetEvent::Kind::LineRemoved, at, true);
    e.line = line;
    r.events.append(e);
    o.ok = true;
    o.slot = slot;
    o.rosterLine = line;
    return r;
}

}  // namespace MemberChanges
