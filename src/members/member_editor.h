#pragma once

#include <QString>
#include <functional>

class MemberTable;

// The member editor's operations on the member table. The window shows and
// hides its boxes; the changes that reach the roster are the session's
// (session/member_changes.h).
namespace MemberEditor {

enum class EditorMode { None, Add, Edit, ChangeCall };

// How a status text reaches the status line.
enum class StatusShow {
    None,
    Show,         // caption set, shown unless the ID alert blinks
    CaptionOnly,  // caption set, visibility left alone
    ShowAlways,   // caption set and shown
};

// Why an operation was refused.
enum class Refusal { None, InvalidCall, CallExists, DatabaseFull, NotFound, WriteFailed };

struct Outcome {
    bool ok = false;
    Refusal refusal = Refusal::None;
    StatusShow show = StatusShow::None;
    QString status;
    bool ding = false;
    QString error;            // a message box text (a file that could not be written)
    int slot = 0;             // the member slot acted on
    int rosterLine = 0;       // roster line replaced or removed (1-based), 0 none
    bool membersChanged = false;
};

// Save in Add mode: a new member at the first free slot (or at the end), or a
// refusal ("  INVALID CALL", "CALL ALREADY EXISTS", "DATABASE FULL").
// recordNewMember is told of a stored member (for the month's new-member list).
using NewMemberRecorder = std::function<void(const QString& call, const QString& name, const QString& qth)>;
Outcome SaveNewMember(const QString& call, const QString& name, const QString& qth, MemberTable& table,
                      const NewMemberRecorder& recordNewMember);

}  // namespace MemberEditor
