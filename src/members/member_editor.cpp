#include "member_editor.h"

#include "core/call_sign.h"
#include "core/member_table.h"

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

}  // namespace MemberEditor
