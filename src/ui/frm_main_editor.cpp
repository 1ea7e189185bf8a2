// The member editor's frame and the callbook lookup on an unknown call.
#include "frm_main.h"

#include "core/call_sign.h"
#include "lookup/callbook_manager.h"
#include "platform/browser.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "ui_style.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

using MemberEditor::Box;
using MemberEditor::EditorMode;

namespace {

void showText(QLineEdit* box, const QString& text)
{
    if (box->text() != text)
        box->setText(text);  // an unchanged text keeps the cursor where it is
}

}  // namespace

int frmMain::selectedLine() const
{
    const QListWidgetItem* item = lst1->currentItem();
    return item && item->isSelected() ? lst1->row(item) + 1 : 0;
}

void frmMain::setStatusCaption(const QString& text, const QString& spoken)
{
    lblStatus->setText(QStringLiteral("\r\n") + text);
    const QString heard = spoken.isEmpty() ? text : spoken;
    announce(lblStatus, QStringLiteral("Status"), heard);
    if (session_.options().speakStatus && platform_.speech && !heard.isEmpty())
        platform_.speech->say(heard);
}

void frmMain::resetModeLabel()
{
    Ui::setColours(lblMode, Qt::black, Ui::kButtonFace);
    lblMode->setText(QString());
}

void frmMain::drawEditor()
{
    const MemberEditor::EditorForm& f = session_.editor().form();
    lblMode->setText(f.modeCaption);
    lblCall->setText(f.callCaption);
    showText(txtCall, f.call);
    showText(txtName, f.name);
    showText(TxtCS, f.qth);
    showText(TxtNew, f.newCall);
    txtCall->setEnabled(f.callEnabled);
    for (QWidget* w : {static_cast<QWidget*>(lblName), static_cast<QWidget*>(txtName)})
        w->setVisible(f.nameVisible);
    for (QWidget* w : {static_cast<QWidget*>(lblCS), static_cast<QWidget*>(TxtCS)})
        w->setVisible(f.qthVisible);
    for (QWidget* w : {static_cast<QWidget*>(LblNew), static_cast<QWidget*>(TxtNew)})
        w->setVisible(f.newCallVisible);
    cmdCancel->setEnabled(f.cancelEnabled);
    cmdSave->setEnabled(f.saveEnabled);
    const QColor text = f.lookupFailed ? QColor(Qt::red) : QColor(Qt::black);
    Ui::setTextColour(txtCall, text);
    Ui::setTextColour(txtName, text);
}

void frmMain::applyEditorOutcome(const MemberEditor::Outcome& outcome)
{
    using MemberEditor::StatusShow;
    switch (outcome.show) {
    case StatusShow::None: break;
    case StatusShow::Show: showStatus(outcome.status); break;
    case StatusShow::CaptionOnly: setStatusCaption(outcome.status); break;
    case StatusShow::ShowAlways:
        setStatusCaption(outcome.status);
        lblStatus->setVisible(true);
        break;
    }
    if (outcome.ding)
        platform_.sound->play(Sound::kDing);
    if (!outcome.error.isEmpty())
        platform_.prompts->message(outcome.error, Prompts::Icon::Critical);
}

// ---------------------------------------------------------------- the Edit menu

void frmMain::mnuEditAdd_Click()
{
    session_.beginAdd();
    drawEditor();
    txtCall->setFocus();
}

void frmMain::mnuEditEdit_Click()
{
    if (!session_.beginEdit(selectedLine()))
        return;
    mnuEditAdd->setEnabled(true);
    drawEditor();
}

void frmMain::mnuChgCall_Click()
{
    mnuChgCtl->setEnabled(true);
    const MemberEditor::Outcome refused = session_.beginChangeCall(selectedLine());
    if (!refused.ok) {
        applyEditorOutcome(refused);
        return;
    }
    drawEditor();
    TxtNew->setFocus();
}

void frmMain::mnuEditDelete_Click()
{
    const int line = selectedLine();
    if (line == 0)
        return;
    mnuEditAdd->setEnabled(true);
    const Prompts::Answer answer =
        platform_.prompts->ask(session_.deleteQuestion(line), Prompts::Buttons::YesNoCancel, Prompts::Answer::Cancel,
                               Prompts::Icon::Question, QStringLiteral("DELETE RECORD"));
    if (answer == Prompts::Answer::Cancel)
        return;
    const MemberEditor::Outcome outcome = session_.deleteLine(line, answer == Prompts::Answer::Yes);
    applyEditorOutcome(outcome);
    if (outcome.ok) {
        drawCounters();
        lst1->setCurrentItem(nullptr);  // a delete leaves no line selected
        lst1->clearSelection();
    }
    Change_Caret();
}

// ---------------------------------------------------------------- Save and Cancel

void frmMain::cmdSave_Click()
{
    if (!session_.editor().form().saveEnabled)
        return;
    const EditorMode mode = session_.editor().mode();
    const NetSession::SaveOutcome outcome = session_.saveEditor(selectedLine());
    applyEditorOutcome(outcome.editor);
    checkSettingsWritten();  // the month's new-member list
    drawEditor();
    if (mode == EditorMode::Edit || mode == EditorMode::None) {
        if (outcome.editor.ok) {
            Change_Caret();
            TxtChkin->setFocus();
            resetModeLabel();
        }
        return;
    }
    if (outcome.editor.refusal == MemberEditor::Refusal::InvalidCall)
        TxtChkin->clear();
    Change_Caret();
    resetModeLabel();
    TxtChkin->setFocus();
    if (outcome.checkIn)
        applyOutcome(*outcome.checkIn);
}

void frmMain::cmdCancel_Click()
{
    session_.cancelEditor();
    drawEditor();
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::fraAdd_Click()
{
    Change_Caret();
    TxtChkin->setFocus();
}

// ---------------------------------------------------------------- unknown calls and the callbook

void frmMain::lstNF_Click(QListWidgetItem* item)
{
    if (!item)
        return;
    session_.unknownCallClicked(item->text());
    drawEditor();
    if (!session_.callbookReady())
        txtName->setFocus();
}

void frmMain::QRZ_Login()
{
    if (callbooks_)
        callbooks_->qrz().QRZ_Login();
}

void frmMain::lstNF_MouseDown(Qt::MouseButton button, QListWidgetItem* item)
{
    if (button == Qt::RightButton)
        lookUpUnknown(item);
}

void frmMain::mnuEditLookUp_Click()
{
    // The unknown call picked in the list, else the newest one.
    QListWidgetItem* item = lstNF->currentItem() ? lstNF->currentItem() : lstNF->item(lstNF->count() - 1);
    if (!item) {
        showStatus(QStringLiteral("No unknown call to look up"));
        platform_.sound->play(Sound::kDing);
        return;
    }
    lookUpUnknown(item);
}

void frmMain::lookUpUnknown(QListWidgetItem* item)
{
    if (!item || !callbooks_)
        return;
    lstNF->setCurrentItem(item);
    const QString call = item->text();
    if (!session_.callbookReady()) {
        txtCall->setText(call);
        if (platform_.browser && !platform_.browser->open(callbooks_->webPageUrl(call))) {
            showStatus(QStringLiteral("BROWSER DID NOT START"));
            platform_.sound->play(Sound::kDing);
        }
        txtName->setFocus();
        return;
    }
    // As a left click does first: Cancel may call the wait off.
    session_.unknownCallClicked(call);
    session_.beginLookup(call);
    drawEditor();
    Text1->clear();
    callbooks_->lookup(call);  // the window stays live; the answer comes to callbookAnswered
}

void frmMain::callbookAnswered(const QString& call, const CallbookResult& result)
{
    sayCacheNotice();  // a failed write of the answer, once
    QString failed;
    if (!session_.lookupAnswered(call, result, &failed))
        return;  // cancelled, or another call is looked up now
    drawEditor();
    if (!failed.isEmpty()) {
        showStatus(call + QLatin1Char(' ') + failed);
        platform_.sound->play(Sound::kDing);
        txtName->setFocus();
    } else if (const QString from = CallbookAnsweredText(call, result); !from.isEmpty()) {
        showStatus(from);
    }
}

// ---------------------------------------------------------------- the boxes

bool frmMain::editorBoxEvent(QLineEdit* box, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        // Switching to another program or opening a menu is no entering or
        // leaving of the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
    }
    if (type == QEvent::FocusIn) {
        if (box == txtCall)
            txtCall_GotFocus();
        else if (box == txtName)
            txtName_GotFocus();
        else if (box == TxtCS)
            TxtCS_GotFocus();
        else if (box == TxtNew)
            TxtNew_GotFocus();
    } else if (type == QEvent::FocusOut) {
        if (box == txtCall)
            txtCall_LostFocus();
        else if (box == txtName)
            txtName_LostFocus();
        else if (box == TxtCS)
            TxtCS_LostFocus();
        else if (box == TxtNew)
            TxtNew_LostFocus();
    } else if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;  // the window's Tab order, which leaves the frame too
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter) {
            if (box == txtCall)
                txtCall_KeyDown(13);
            else if (box == txtName)
                txtName_KeyDown(13);
            else if (box == TxtCS)
                TxtCS_KeyDown(13);
            else if (box == TxtNew)
                TxtNew_KeyDown(13);
            return true;
        }
        const QString text = key->text();
        if (text.size() != 1 || key->key() == Qt::Key_Backspace)
            return false;  // editing keys (arrows, Delete, Backspace) pass
        const FieldKind kind = box == txtCall ? FieldKind::MemberCall
            : box == TxtNew                   ? FieldKind::NewCall
            : box == txtName                  ? FieldKind::MemberName
                                              : FieldKind::MemberQth;
        if (KeyEnablesCancel(kind, text.at(0)))
            cmdCancel->setEnabled(true);
        return !FilterKey(kind, text.at(0)).has_value();
    }
    return false;
}

namespace {
void upperCase(QLineEdit* box) { box->setText(box->text().toUpper()); }
}  // namespace

Box frmMain::editorBoxOf(const QLineEdit* box) const
{
    return box == txtCall ? Box::Call : box == txtName ? Box::Name : box == TxtCS ? Box::Qth : Box::NewCall;
}

void frmMain::leaveEditorBox(QLineEdit* box)
{
    const Box which = editorBoxOf(box);
    session_.setEditorText(which, box->text());
    // On the way to Cancel a half-typed call is no refusal: Cancel cancels.
    QWidget* next = QApplication::focusWidget();
    if (next == cmdCancel)
        return;
    const QString refused = session_.leaveEditorBox(which);
    showText(box, session_.editor().text(which));
    if (refused.isEmpty())
        return;
    showStatus(refused);
    platform_.sound->play(Sound::kDing);
    // Within the frame the call is typed again; a click elsewhere (the
    // check-in box) keeps the keyboard where the operator put it.
    if (next && fraAdd->isAncestorOf(next))
        QTimer::singleShot(0, box, [box] { box->setFocus(); });
}

void frmMain::editorBoxEdited(QLineEdit* box, const QString& text)
{
    const Box which = editorBoxOf(box);
    const bool couldSave = session_.editor().form().saveEnabled;
    session_.editorTyped(which, text);
    if (session_.editor().form().saveEnabled != couldSave)
        drawEditor();
}

void frmMain::txtCall_GotFocus()
{
    // While a call is changed the old call stays, so that a Save still
    // changes the call and never writes the hidden name and QTH boxes.
    session_.enterEditorBox(Box::Call);
    showText(txtCall, session_.editor().text(Box::Call));
}

void frmMain::txtCall_KeyDown(int keyCode)
{
    if (keyCode != 13)
        return;
    upperCase(txtCall);
    if (TxtNew->isVisible())
        TxtNew->setFocus();
    else
        txtName->setFocus();
}

void frmMain::txtCall_LostFocus() { leaveEditorBox(txtCall); }

void frmMain::txtName_GotFocus()
{
    session_.enterEditorBox(Box::Name);
    showText(txtName, session_.editor().text(Box::Name));
    cmdCancel->setEnabled(session_.editor().form().cancelEnabled);
}

void frmMain::txtName_KeyDown(int keyCode)
{
    if (keyCode == 13)
        upperCase(txtName);
}

void frmMain::txtName_LostFocus() { leaveEditorBox(txtName); }

void frmMain::TxtCS_GotFocus() { session_.enterEditorBox(Box::Qth); }

void frmMain::TxtCS_KeyDown(int keyCode)
{
    if (keyCode == 13)
        upperCase(TxtCS);
}

void frmMain::TxtCS_LostFocus() { leaveEditorBox(TxtCS); }

void frmMain::TxtNew_GotFocus()
{
    session_.enterEditorBox(Box::NewCall);
    showText(TxtNew, session_.editor().text(Box::NewCall));
}

void frmMain::TxtNew_KeyDown(int keyCode)
{
    if (keyCode == 13)
        upperCase(TxtNew);
}

void frmMain::TxtNew_LostFocus() { leaveEditorBox(TxtNew); }
