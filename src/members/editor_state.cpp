#include "editor_state.h"

#include "core/call_sign.h"
#include "core/member_table.h"

namespace MemberEditor {

namespace {
const QString kAdd = QStringLiteral("ADD");
const QString kNotFound = QStringLiteral(" NOT FOUND ");
}  // namespace

EditorMode EditorMachine::mode() const
{
    switch (state_) {
    case EditorState::Idle:
    case EditorState::LookupArmed: return EditorMode::None;
    case EditorState::Adding:
    case EditorState::AddingUnknown:
    case EditorState::LookingUp:
    case EditorState::LookupFailed: return EditorMode::Add;
    case EditorState::Editing: return EditorMode::Edit;
    case EditorState::ChangingCall: return EditorMode::ChangeCall;
    }
    return EditorMode::None;
}

int EditorMachine::pendingInsert() const
{
    switch (state_) {
    case EditorState::Adding:
    case EditorState::AddingUnknown:
    case EditorState::LookupFailed: return insertDropped_ ? 0 : 1;
    case EditorState::LookupArmed:
    case EditorState::LookingUp: return 2;
    default: return 0;
    }
}

bool EditorMachine::checksInOnSave() const { return pendingInsert() == 1; }

QString& EditorMachine::field(Box box)
{
    switch (box) {
    case Box::Call: return form_.call;
    case Box::Name: return form_.name;
    case Box::Qth: return form_.qth;
    case Box::NewCall: break;
    }
    return form_.newCall;
}

void EditorMachine::setText(Box box, const QString& text) { field(box) = text; }

QString EditorMachine::text(Box box) const { return const_cast<EditorMachine*>(this)->field(box); }

void EditorMachine::openAdd()
{
    // Every new entry starts from the standard look.
    form_.modeCaption = kAdd;
    form_.callCaption = QStringLiteral("CALL");
    form_.name.clear();
    form_.qth.clear();
    form_.newCall.clear();
    form_.nameVisible = form_.qthVisible = true;
    form_.newCallVisible = false;
    form_.lookupFailed = false;
    form_.saveEnabled = true;
    emptied_ = false;
    insertDropped_ = false;
}

void EditorMachine::beginAdd()
{
    openAdd();
    form_.call.clear();
    form_.callEnabled = true;
    lookupCall_.clear();
    state_ = EditorState::Adding;
}

void EditorMachine::beginAddFor(const QString& call)
{
    openAdd();
    form_.call = call;
    form_.callEnabled = false;
    form_.cancelEnabled = true;
    lookupCall_.clear();
    state_ = EditorState::AddingUnknown;
}

void EditorMachine::armLookup()
{
    form_.cancelEnabled = true;
    insertDropped_ = false;
    state_ = EditorState::LookupArmed;
}

void EditorMachine::beginLookup(const QString& call)
{
    openAdd();
    form_.call = call;
    form_.callEnabled = false;
    form_.saveEnabled = false;  // until the answer is in
    lookupCall_ = call;
    state_ = EditorState::LookingUp;
}

bool EditorMachine::lookupAnswered(const QString& call, const LookupAnswer& answer)
{
    if (state_ != EditorState::LookingUp || call != lookupCall_)
        return false;
    form_.callEnabled = true;
    form_.saveEnabled = true;
    form_.lookupFailed = false;
    switch (answer.kind) {
    case LookupAnswer::Kind::Found:
        form_.call = answer.call.isEmpty() ? call : answer.call;
        form_.name = answer.name;
        form_.qth = answer.qth;
        state_ = EditorState::Adding;
        break;
    case LookupAnswer::Kind::NotFound:
        form_.call = call;
        form_.name = kNotFound;
        form_.lookupFailed = true;
        form_.saveEnabled = false;
        state_ = EditorState::LookupFailed;
        break;
    case LookupAnswer::Kind::Failed:
        // The operator types name and QTH himself.
        form_.call = call;
        form_.callEnabled = false;
        state_ = EditorState::AddingUnknown;
        break;
    }
    return true;
}

void EditorMachine::beginEdit(const MemberRecord& member)
{
    form_.modeCaption = QStringLiteral("EDIT");
    form_.callCaption = QStringLiteral("CALL");
    form_.call = member.call;
    form_.name = member.name;
    form_.qth = member.qth;
    form_.nameVisible = form_.qthVisible = true;
    form_.newCallVisible = false;
    form_.cancelEnabled = true;
    form_.lookupFailed = false;
    form_.saveEnabled = true;
    emptied_ = false;
    insertDropped_ = false;
    lookupCall_.clear();
    state_ = EditorState::Editing;
}

void EditorMachine::beginChangeCall(const QString& oldCall)
{
    form_.modeCaption = QStringLiteral("CHANGE CALL");
    form_.callCaption = QStringLiteral("OLD CALL");
    form_.call = oldCall;
    form_.callEnabled = true;
    form_.nameVisible = form_.qthVisible = false;
    form_.newCallVisible = true;
    form_.lookupFailed = false;
    form_.saveEnabled = true;
    emptied_ = false;
    insertDropped_ = false;
    lookupCall_.clear();
    state_ = EditorState::ChangingCall;
}

void EditorMachine::cancel()
{
    const bool cancelEnabled = form_.cancelEnabled;
    form_ = EditorForm();
    form_.cancelEnabled = cancelEnabled;
    emptied_ = false;
    insertDropped_ = false;
    lookupCall_.clear();
    state_ = EditorState::Idle;
}

void EditorMachine::dropPending()
{
    // CLEAR ended the pending check-in of an Add as well, as before the move.
    if (state_ == EditorState::Adding || state_ == EditorState::AddingUnknown || state_ == EditorState::LookupFailed)
        insertDropped_ = true;
    if (state_ == EditorState::LookupArmed || state_ == EditorState::LookingUp) {
        if (state_ == EditorState::LookingUp)
            form_.modeCaption.clear();
        form_.saveEnabled = true;
        lookupCall_.clear();
        state_ = EditorState::Idle;
    }
}

void EditorMachine::addSaved(bool keepBoxes)
{
    form_.modeCaption.clear();
    if (!keepBoxes) {
        form_.call.clear();
        form_.name.clear();
        form_.qth.clear();
    }
    emptied_ = false;
    insertDropped_ = false;
    state_ = EditorState::Idle;
}

void EditorMachine::editSaved() { form_.modeCaption.clear(); }

void EditorMachine::changeSaved()
{
    form_.modeCaption.clear();
    form_.callCaption = QStringLiteral("CALL");
    form_.newCall.clear();
    form_.newCallVisible = false;
    form_.callEnabled = false;
    form_.nameVisible = form_.qthVisible = true;
    emptied_ = false;
    state_ = EditorState::Idle;
}

void EditorMachine::enterBox(Box box)
{
    if (box == Box::Name)
        form_.cancelEnabled = true;
    const bool empties = box == Box::Name || box == Box::NewCall
        || (box == Box::Call && state_ != EditorState::ChangingCall);
    if (!empties)
        return;
    QString& f = field(box);
    emptied_ = !f.isEmpty();
    emptiedBox_ = box;
    emptiedText_ = f;
    f.clear();
}

QString EditorMachine::leaveBox(Box box)
{
    QString& f = field(box);
    f = f.toUpper();
    if ((box == Box::Call || box == Box::NewCall) && !f.isEmpty() && !IsValidCall(f)) {
        const QString refused = f + QStringLiteral("  INVALID CALL");
        f.clear();
        emptied_ = false;
        return refused;
    }
    if (emptied_ && emptiedBox_ == box) {
        if (f.isEmpty())
            f = emptiedText_;
        emptied_ = false;
    }
    return {};
}

void EditorMachine::settleBoxes()
{
    if (!emptied_)
        return;
    QString& f = field(emptiedBox_);
    if (f.isEmpty())
        f = emptiedText_;
    emptied_ = false;
}

void EditorMachine::typed(Box box, const QString& text)
{
    field(box) = text;
    if (state_ != EditorState::LookupFailed || (box != Box::Name && box != Box::Qth) || text.isEmpty())
        return;
    form_.lookupFailed = false;
    form_.saveEnabled = true;
    // The " NOT FOUND " mark is no value to give back or to store.
    if (emptied_ && emptiedBox_ == Box::Name)
        emptied_ = false;
    if (form_.name == kNotFound)
        form_.name.clear();
    state_ = EditorState::Adding;
}

}  // namespace MemberEditor
