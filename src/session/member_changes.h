#pragma once

#include "net_event.h"
#include "members/member_editor.h"

#include <QDateTime>
#include <QList>
#include <QString>

class MemberTable;
class CheckinRoster;

// The member editor's changes that reach the roster: a saved edit, a new
// call, a line deleted. Each writes the member file at once and returns the
// net events that carry the change to the roster (only read here).
namespace MemberChanges {

struct Result {
    MemberEditor::Outcome outcome;
    QList<NetEvent> events;
};

// New name and QTH for the member whose call is given; the roster line of
// that member follows.
Result SaveEdit(const QString& call, const QString& name, const QString& qth, MemberTable& table,
                const CheckinRoster& roster, const QDateTime& at = {});

// The member with oldCall gets newCall; the line showing the member follows.
// selectedLine is the roster line the change was started from.
Result SaveChangeCall(const QString& oldCall, const QString& newCall, int selectedLine, MemberTable& table,
                      const CheckinRoster& roster, const QDateTime& at = {});

// "DELETE <call> <name> FROM THE DATABASE?"
QString DeleteQuestion(const StationRecord& station);

// Delete answered Yes (deleteMember) or No: the line leaves the roster; with
// Yes the member's slot is freed as well.
Result DeleteLine(int line, bool deleteMember, MemberTable& table, const CheckinRoster& roster,
                  const QDateTime& at = {});

}  // namespace MemberChanges
