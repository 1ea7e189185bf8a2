#pragma once

#include "net_event.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class MemberTable;
class CheckinRoster;

// Flags of the member editor that the check-in reads and clears.
struct EditorFlags {
    int pendingInsert = 0;    // 0 none, 1 a member being added, 2 a lookup under way
    bool statusHold = false;  // keep the status line at the next check-in
};

enum class SoundCue { None, Ding, Tada };

// What one check-in did; the window shows it.
struct CheckInOutcome {
    enum class Kind { Invalid, Duplicate, CheckedIn, Unknown };
    Kind kind = Kind::Invalid;
    QString call;              // the typed text, upper-cased and trimmed
    bool clearStatus = false;  // the status line is emptied before anything else
    bool showStatus = false;   // status text to show (after CR LF)
    QString status;
    SoundCue sound = SoundCue::None;
    int slot = 0;               // member slot when found
    QString rosterLine;         // appended to the roster (CheckedIn)
    QStringList suggestions;    // appended to the suggestions list (Unknown)
    bool flashSearch = false;   // flash the search panel (Unknown)
    // What changed, for the roster to apply: the station checked in, or the
    // unknown call with its new suggestions.
    QList<NetEvent> events;
};

struct CheckInOptions {
    bool disableWindowFlash = false;
};

// The check-in of one typed call at the moment at: validate, look up, and
// either check the member in, refuse it, or list it as unknown with
// look-alike member calls. The roster is only read: the outcome's events
// carry the change. Changes the flags; opens no files.
CheckInOutcome ProcessCheckIn(const QString& typed, const MemberTable& table, const CheckinRoster& roster,
                              EditorFlags& flags, const CheckInOptions& options, const QDateTime& at = {});

// Member calls whose suffix looks like the suffix of call, in slot order.
QStringList SuggestCalls(const QString& call, const MemberTable& table);

// Position (2 or 3) of a call's district digit; 0 when neither the second nor
// the third character is a digit.
int DistrictDigitPosition(QStringView call);

// The suggestion rule for a typed suffix t and a member suffix d.
bool SuffixLooksAlike(QStringView t, QStringView d);
