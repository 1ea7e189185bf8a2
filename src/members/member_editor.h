#pragma once

#include <QString>
#include <functional>

class MemberTable;
class CheckinRoster;
struct EditorFlags;

// The member editor's operations on the member table and the roster. The
// window shows and hides its boxes; everything that touches members, calls
// and counters happens here.
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
    QString rosterText;       // the replacement text of rosterLine
    bool membersChanged = false;
};

// Save in Add mode: a new member at the first free slot (or at the end), or a
// refusal ("  INVALID CALL", "CALL ALREADY EXISTS", "DATABASE FULL").
// recordNewMember is told of a stored member (for the month's new-member list).
using NewMemberRecorder = std::function<void(const QString& call, const QString& name, const QString& qth)>;
Outcome SaveNewMember(const QString& call, const QString& name, const QString& qth, MemberTable& table,
                      const NewMemberRecorder& recordNewMember);

// Save in Edit mode: new name and QTH for the member whose call is given;
// the roster line of that member shows the new values.
Outcome SaveEdit(const QString& call, const QString& name, const QString& qth, MemberTable& table,
                 CheckinRoster& roster);

// Save in change-call mode: the member with oldCall gets newCall; the roster
// line showing the member follows. selectedLine is the roster line the change
// was started from.
Outcome SaveChangeCall(const QString& oldCall, const QString& newCall, int selectedLine, MemberTable& table,
                       CheckinRoster& roster);

// Call and name word of a roster line, as the delete question names them.
struct LineWords {
    QString call;
    QString name;
};
LineWords WordsOfLine(const QString& rosterLine);
// "DELETE <call> <name> FROM THE DATABASE?"
QString DeleteQuestion(const QString& rosterLine);

// Delete answered Yes (deleteMember) or No: the line leaves the roster; with
// Yes the member's slot is freed as well.
Outcome DeleteLine(int line, bool deleteMember, MemberTable& table, CheckinRoster& roster);

// The end of a Save: whether the call in the call box is now checked in.
// Always ends the pending insert.
bool TakePendingInsert(EditorFlags& flags, bool autoInsertDisabled);

}  // namespace MemberEditor
