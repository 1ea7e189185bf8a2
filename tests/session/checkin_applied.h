#pragma once

#include "session/checkin.h"
#include "session/checkin_roster.h"

// A check-in carried out on the roster, as NetSession does it.
inline CheckInOutcome CheckInApplied(const QString& typed, const MemberTable& table, CheckinRoster& roster,
                                     EditorFlags& flags, const CheckInOptions& options)
{
    CheckInOutcome out = ProcessCheckIn(typed, table, roster, flags, options);
    for (const NetEvent& e : out.events)
        roster.apply(e);
    return out;
}
