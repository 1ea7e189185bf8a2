#pragma once

#include "member_editor.h"

#include <QString>

struct MemberRecord;

// The member-info frame as one state machine: which operation is under way
// and what its boxes hold, show and allow. The window copies the operator's
// typing in with setText() and draws form() after every call.
namespace MemberEditor {

enum class EditorState {
    Idle,           // nothing under way
    LookupArmed,    // an unknown call was clicked; its right button looks it up
    Adding,         // a new member typed in after Add; checked in once saved
    AddingUnknown,  // a new member for a clicked unknown call; the call is locked
    LookingUp,      // a callbook lookup for lookupCall() is on its way
    LookupFailed,   // the callbook does not know the call; Save waits for a new entry
    Editing,        // name and QTH of a listed member
    ChangingCall,   // a listed member gets a new call
};

enum class Box { Call, Name, Qth, NewCall };

// What the frame shows.
struct EditorForm {
    QString modeCaption;                                 // lblMode
    QString callCaption = QStringLiteral("CALL");        // lblCall
    QString call, name, qth, newCall;                    // txtCall, txtName, TxtCS, TxtNew
    bool callEnabled = true;
    bool nameVisible = true;     // lblName, txtName
    bool qthVisible = true;      // lblCS, TxtCS
    bool newCallVisible = false; // LblNew, TxtNew
    bool cancelEnabled = false;
    bool saveEnabled = true;
    bool lookupFailed = false;   // call and name drawn red
    bool operator==(const EditorForm&) const = default;
};

// What a callbook answered for one call, already in the member file's terms.
struct LookupAnswer {
    enum class Kind { Found, NotFound, Failed };
    Kind kind = Kind::NotFound;
    QString call, name, qth;  // Found
    QString status;           // Failed: what failed, for the status line
};

class EditorMachine {
public:
    EditorState state() const { return state_; }
    EditorMode mode() const;
    const EditorForm& form() const { return form_; }
    // The saved member is handed to the check-in afterwards.
    bool checksInOnSave() const;
    // 0 nothing pending, 1 a member being added, 2 a lookup armed or running.
    int pendingInsert() const;
    QString lookupCall() const { return lookupCall_; }

    void setText(Box box, const QString& text);
    QString text(Box box) const;

    // Add from the menu: an empty call box to type into.
    void beginAdd();
    // Add for a clicked unknown call: the call is given and locked.
    void beginAddFor(const QString& call);
    // An unknown call was clicked while a callbook login is stored.
    void armLookup();
    // A lookup for call starts: the frame opens in Add mode holding the call.
    void beginLookup(const QString& call);
    // The callbook's answer; dropped unless the frame still waits for call.
    bool lookupAnswered(const QString& call, const LookupAnswer& answer);
    void beginEdit(const MemberRecord& member);
    void beginChangeCall(const QString& oldCall);
    void cancel();
    // The search lists were cleared: a pending insert or lookup ends there.
    void dropPending();

    // The end of a Save: Add always ends; Edit stays; a change of call ends
    // when it was made.
    void addSaved(bool keepBoxes);
    void editSaved();
    void changeSaved();

    // A box gets or loses the keyboard. Entering the call box outside a
    // change of call and the name and new-call boxes empties them; a box
    // emptied so and left empty gets its text back.
    // Leaving upper-cases; an implausible call is emptied and its refusal
    // returned for the status line.
    void enterBox(Box box);
    QString leaveBox(Box box);
    // Save is pressed (button, Alt+S) while a box may still have the
    // keyboard: a box emptied on entering and still empty gets its text back.
    void settleBoxes();
    // The operator typed into a box. A name or QTH typed after the callbook
    // knew nothing makes a new entry that can be saved.
    void typed(Box box, const QString& text);

private:
    QString& field(Box box);
    void openAdd();

    EditorState state_ = EditorState::Idle;
    EditorForm form_;
    QString lookupCall_;
    Box emptiedBox_ = Box::Call;
    QString emptiedText_;
    bool emptied_ = false;
    // CLEAR during an Add: the member is no longer checked in when saved.
    bool insertDropped_ = false;
};

}  // namespace MemberEditor
