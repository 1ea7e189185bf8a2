#include "member_editor.h"

#include "core/call_sign.h"
#include "core/member_table.h"
#include "session/checkin.h"
#include "session/checkin_roster.h"

namespace MemberEditor {

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

Outcome refused(Refusal why, const QString& status, bool ding, StatusShow show = StatusShow::Show)
{
    Outcome o;
    o.refusal = why;
    o.show = show;
    o.status = status;
    o.ding = ding;
    return o;
}

Outcome writeFailed(const MemberTable& table)
{
    Outcome o;
    o.refusal = Refusal::WriteFailed;
    o.error = table.lastError().isEmpty() ? MemberTable::resultText(MemberTable::Result::WriteFailed) : table.lastError();
    o.ding = true;
    return o;
}

// The roster line of the member in slot, if it is on the roster.
int lineOfSlot(const CheckinRoster& roster, int slot)
{
    for (int k = 1; k <= roster.lineCount(); ++k)
        if (roster.slotAt(k) == slot)
            return k;
    return 0;
}

}  // namespace

Outcome SaveNewMember(const QString& call, const QString& name, const QString& qth, MemberTable& table,
                      const NewMemberRecorder& recordNewMember)
{
    // A call the program placed in the box never passed the box's own check.
    const bool digitPlaced = (call.size() >= 2 && isDigit(call.at(1))) || (call.size() >= 3 && isDigit(call.at(2)));
    if (!digitPlaced)
        return refused(Refusal::InvalidCall, call + QStringLiteral("  INVALID CALL"), false);

    const MemberTable::SlotClaim claim = table.TakeSlotForNew();
    int slot = 0;
    switch (table.AddMember({call, name, qth}, &slot)) {
    case MemberTable::Result::Ok:
        break;
    case MemberTable::Result::CallExists:
        return refused(Refusal::CallExists, QStringLiteral("CALL ALREADY EXISTS"), true);
    case MemberTable::Result::Full:
        return refused(Refusal::DatabaseFull, QStringLiteral("DATABASE FULL"), true);
    case MemberTable::Result::BadSlot:
        return refused(Refusal::InvalidCall, call + QStringLiteral("  INVALID CALL"), true);
    case MemberTable::Result::WriteFailed:
    case MemberTable::Result::NotLoaded:
        return writeFailed(table);
    }
    if (recordNewMember)
        recordNewMember(call, name, qth);
    Outcome o;
    o.ok = true;
    o.slot = slot;
    o.show = StatusShow::CaptionOnly;
    o.status = call + (claim.reused ? QStringLiteral(" INSERTED") : QStringLiteral(" ADDED"));
    o.membersChanged = true;
    return o;
}

Outcome SaveEdit(const QString& call, const QString& name, const QString& qth, MemberTable& table,
                 CheckinRoster& roster)
{
    // An empty call box names no member (it would match the first free slot).
    const int slot = call.isEmpty() ? 0 : table.FindCall(call);
    if (slot == 0)
        return refused(Refusal::NotFound, QStringLiteral("ERROR! RECORD NOT FOUND!"), false, StatusShow::ShowAlways);
    const MemberRecord rec{call, name, qth};
    if (table.WriteSlot(slot, rec) != MemberTable::Result::Ok)
        return writeFailed(table);
    Outcome o;
    o.ok = true;
    o.slot = slot;
    o.show = StatusShow::CaptionOnly;
    o.status = QStringLiteral("RECORD UPDATED");
    o.rosterLine = lineOfSlot(roster, slot);
    if (o.rosterLine != 0) {
        o.rosterText = CheckinRoster::lineFor(table.call(slot), table.name(slot), table.qth(slot));
        roster.replaceLine(o.rosterLine, o.rosterText);
    }
    return o;
}

Outcome SaveChangeCall(const QString& oldCall, const QString& newCall, int selectedLine, MemberTable& table,
                       CheckinRoster& roster)
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

    Outcome o;
    o.ok = true;
    o.slot = slot;
    o.show = StatusShow::Show;
    o.status = oldCall + QStringLiteral(" CHANGED TO ") + newCall;
    // The member's own line follows; failing that, the selected line when it
    // shows the old call (a line read from a session file has no member).
    int line = lineOfSlot(roster, slot);
    if (line == 0 && selectedLine >= 1 && selectedLine <= roster.lineCount()
        && roster.lines().at(selectedLine - 1).trimmed().section(QLatin1Char(' '), 0, 0) == oldCall)
        line = selectedLine;
    if (line != 0) {
        const QString old = roster.lines().at(line - 1).trimmed();
        const qsizetype blank = old.indexOf(QLatin1Char(' '));
        o.rosterLine = line;
        o.rosterText = QLatin1Char(' ') + newCall + (blank < 0 ? QString() : old.mid(blank));
        roster.replaceLine(line, o.rosterText);
    }
    roster.setSessionChanged(true);
    return o;
}

LineWords WordsOfLine(const QString& rosterLine)
{
    // The call ends at the first blank from the second character on; the
    // name word runs to the next blank.
    const qsizetype first = rosterLine.indexOf(QLatin1Char(' '), 1);
    if (first < 0)
        return {rosterLine.trimmed(), {}};
    const qsizetype second = rosterLine.indexOf(QLatin1Char(' '), first + 1);
    return {rosterLine.left(first).trimmed(),
            second < 0 ? rosterLine.mid(first + 1) : rosterLine.mid(first + 1, second - first - 1)};
}

QString DeleteQuestion(const QString& rosterLine)
{
    const LineWords w = WordsOfLine(rosterLine);
    return QStringLiteral("DELETE ") + w.call + QLatin1Char(' ') + w.name + QStringLiteral(" FROM THE DATABASE?");
}

Outcome DeleteLine(int line, bool deleteMember, MemberTable& table, CheckinRoster& roster)
{
    Outcome o;
    if (line < 1 || line > roster.lineCount())
        return o;
    const int slot = roster.slotAt(line);
    // A line without a member (read from a session file) frees no slot.
    if (deleteMember && slot != 0) {
        if (table.BlankSlot(slot) != MemberTable::Result::Ok)
            return writeFailed(table);
        o.show = StatusShow::Show;
        o.status = QStringLiteral("RECORD DELETED");
        o.membersChanged = true;
    }
    roster.removeLine(line);
    o.ok = true;
    o.slot = slot;
    o.rosterLine = line;
    return o;
}

bool TakePendingInsert(EditorFlags& flags, bool autoInsertDisabled)
{
    const bool insert = !autoInsertDisabled && flags.pendingInsert == 1;
    flags.pendingInsert = 0;
    return insert;
}

}  // namespace MemberEditor
