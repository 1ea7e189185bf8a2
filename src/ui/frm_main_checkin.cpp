// Check-in, the roster, the search lists and the window's timers.
#include "frm_main.h"
#include "share/share_seat.h"

#include "core/call_sign.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/sound.h"
#include "session/id_alert.h"
#include "ui_style.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTimer>

void frmMain::playCue(SoundCue cue)
{
    switch (cue) {
    case SoundCue::None: return;
    case SoundCue::Ding: platform_.sound->play(Sound::kDing); return;
    case SoundCue::Tada: platform_.sound->play(Sound::kTada); return;
    }
}

void frmMain::showStatus(const QString& text, const QString& spoken)
{
    setStatusCaption(text, spoken);
    if (!Timer1->isActive())
        lblStatus->setVisible(true);
}

void frmMain::clearStatus()
{
    lblStatus->setText(QString());
    announce(lblStatus, QStringLiteral("Status"), QString());
}

void frmMain::announce(QWidget* w, const QString& what, const QString& value)
{
    // A changed name is what screen readers hear of a label that changed.
    const QString name = value.isEmpty() ? what : what + QStringLiteral(": ") + value;
    if (w->accessibleName() != name)
        w->setAccessibleName(name);
}

void frmMain::txtChkin_KeyDown(int keyCode, Qt::KeyboardModifiers)
{
    // Only Enter checks in: a member editor waiting for its Save never takes
    // the check-in box's keys.
    if (keyCode != 13)
        return;
    const QString typed = TxtChkin->text();
    TxtChkin->clear();
    applyOutcome(session_.checkIn(typed));
}

bool frmMain::TxtChkin_KeyPress(QChar key)
{
    return FilterKey(FieldKind::CheckIn, key, session_.options().disableEnterKeyDing).has_value();
}

void frmMain::drawCounters()
{
    lblChkins->setText(session_.roster().checkinsCaption());
    lblTraffic->setText(session_.roster().trafficCaption());
    announce(lblChkins, QStringLiteral("Check-ins"), session_.roster().checkinsCaption().trimmed());
    announce(lblTraffic, QStringLiteral("Traffic"), session_.roster().trafficCaption().trimmed());
}

void frmMain::drawEvent(const NetEvent& e)
{
    using Kind = NetEvent::Kind;
    const CheckinRoster& roster = session_.roster();
    switch (e.kind) {
    case Kind::CheckedIn:
        lst1->addItem(roster.lineAt(roster.lineCount()));
        drawRosterLine(lst1->count());
        lst1->scrollToBottom();
        drawCounters();
        break;
    case Kind::UnknownCall: {
        lstNF->addItem(e.text);
        lstSG->addItems(e.calls);
        const int size = listFontSize_ == 0 ? 10 : listFontSize_;
        for (QListWidget* l : {lstNF, lstSG}) {
            QFont f = l->font();
            f.setPointSize(size);
            l->setFont(f);
            l->scrollToBottom();
        }
        break;
    }
    case Kind::CheckedOut:
    case Kind::CheckedBack:
        drawRosterLine(e.line);
        break;
    case Kind::LineRemoved:
        delete lst1->takeItem(e.line - 1);
        drawCounters();
        break;
    case Kind::LineChanged:
        if (QListWidgetItem* item = lst1->item(e.line - 1))
            item->setText(roster.lineAt(e.line));
        drawRosterLine(e.line);
        break;
    case Kind::TrafficUp:
    case Kind::TrafficDown:
        drawCounters();
        break;
    case Kind::SearchListsCleared:
        drawSearchLists();
        break;
    case Kind::MemberAdded:
        if (lstNF->count() != session_.roster().unknownCalls().size())
            drawSearchLists();  // the added call is no longer unknown
        drawMembers();
        break;
    case Kind::MemberChanged:
    case Kind::MemberDeleted:
        drawMembers();
        break;
    case Kind::SessionOpened:
        drawRoster();
        Label4->setText(session_.altNetControl() ? QStringLiteral("ALT NET CONTROL") : QStringLiteral("NET CONTROL"));
        lblNetCtl->setText(session_.netControlCaption());
        break;
    case Kind::NetStarted:
    case Kind::Unsaved:
    case Kind::SessionSaved:
    case Kind::SessionEnded:
        break;
    }
}

void frmMain::drawMembers()
{
    lblMembers->setText(QString::number(session_.table().memberCount()));
    announce(lblMembers, QStringLiteral("Members"), lblMembers->text());
}

void frmMain::drawSearchLists()
{
    lstNF->clear();
    lstNF->addItems(session_.roster().unknownCalls());
    lstSG->clear();
    lstSG->addItems(session_.roster().suggestions());
}

void frmMain::drawRoster()
{
    lst1->clear();
    lst1->addItems(session_.roster().lines());
    for (int k = 1; k <= lst1->count(); ++k)
        drawRosterLine(k);
    drawCounters();
}

void frmMain::drawRosterLine(int line)
{
    QListWidgetItem* item = lst1->item(line - 1);
    if (!item)
        return;
    // The default brush follows the colour chosen for the lists.
    // A station gone is drawn fainter and slanted, still readable.
    const bool out = session_.roster().timesAt(line).checkedOut();
    item->setForeground(out ? QBrush(Ui::dimmed(Ui::textColour(lst1), Ui::background(lst1))) : QBrush());
    QFont f = lst1->font();
    f.setItalic(!f.italic());
    item->setData(Qt::FontRole, out ? QVariant(f) : QVariant());
    const QString times = session_.roster().timesText(line);
    item->setToolTip(times);
    // What a screen reader says after the line: gone or not, and when.
    item->setData(Qt::AccessibleDescriptionRole, out ? QStringLiteral("checked out, ") + times : times);
}

void frmMain::mnuEditCheckOut_Click()
{
    if (!session_.checkOut(selectedLine())) {
        showStatus(QStringLiteral("You must select a call to check out"));
        platform_.sound->play(Sound::kDing);
    }
    TxtChkin->setFocus();
}

void frmMain::applyOutcome(const CheckInOutcome& outcome)
{
    if (outcome.clearStatus)
        clearStatus();
    TxtChkin->clear();
    // The caption of a duplicate says only DUPLICATE; a listener hears the call too.
    if (outcome.showStatus)
        showStatus(outcome.status, outcome.kind == CheckInOutcome::Kind::Duplicate
                                       ? outcome.call + QLatin1Char(' ') + outcome.status
                                       : QString());
    playCue(outcome.sound);

    switch (outcome.kind) {
    case CheckInOutcome::Kind::Invalid:
        break;
    case CheckInOutcome::Kind::Duplicate:
        TxtChkin->setFocus();
        break;
    case CheckInOutcome::Kind::CheckedIn:
        break;  // the roster drew its new line from the net's event
    case CheckInOutcome::Kind::Unknown:
        if (outcome.flashSearch && !Timer2->isActive()) {
            Timer2->setInterval(125);
            Timer2->start();
        }
        break;
    }
    Change_Caret();
}

void frmMain::TxtChkin_GotFocus()
{
    // Typing goes where the operator put it: a pending Add or change of call
    // waits in its frame while the net goes on.
    Change_Caret();
}

void frmMain::lst1_Click()
{
    enableLineEditing();
    TxtChkin->setFocus();
}

void frmMain::lst1_MouseDown(Qt::MouseButton button, const QPoint& globalPos)
{
    if (button == Qt::RightButton) {
        mnuEditAdd->setEnabled(false);
        mnuChgCtl->setEnabled(false);
        mnuEdit->exec(globalPos);
    } else {
        mnuEditAdd->setEnabled(true);
    }
    mnuChgCtl->setEnabled(true);
    TxtChkin->setFocus();
}

void frmMain::lstSG_Click(QListWidgetItem* item)
{
    if (!item)
        return;
    const auto outcome = session_.autoCheckIn(item->text());
    if (!outcome)
        return;
    applyOutcome(*outcome);
    TxtChkin->setFocus();
}

void frmMain::lblTraffic_MouseDown(Qt::MouseButton button)
{
    // A followed net is counted at its net control's seat.
    if (shareSeat_ && shareSeat_->role() == ShareSeat::Role::Following)
        return;
    session_.trafficClicked(button == Qt::RightButton);
}

void frmMain::mnuEditTrafficUp_Click()
{
    session_.trafficClicked(false);
    drawCounters();
}

void frmMain::mnuEditTrafficDown_Click()
{
    session_.trafficClicked(true);
    drawCounters();
}

// ---------------------------------------------------------------- the Go menu

void frmMain::mnuGoCheckIn_Click()
{
    TxtChkin->setFocus(Qt::ShortcutFocusReason);
    Change_Caret();
}

namespace {
// The list takes the keyboard on its picked line, else on the newest
// (roster) or first line, so the arrow keys start from there.
void focusList(QListWidget* list, bool fromEnd)
{
    list->setFocus(Qt::ShortcutFocusReason);
    if (list->selectedItems().isEmpty() && list->count() > 0)
        list->setCurrentRow(fromEnd ? list->count() - 1 : 0);
}
}  // namespace

void frmMain::mnuGoRoster_Click() { focusList(lst1, true); }
void frmMain::mnuGoUnknown_Click() { focusList(lstNF, false); }
void frmMain::mnuGoSuggest_Click() { focusList(lstSG, false); }

void frmMain::mnuGoEditor_Click()
{
    // The first box there is to type: the new call, the call of an Add, else the name.
    using MemberEditor::EditorMode;
    const EditorMode mode = session_.editor().mode();
    QLineEdit* box = mode == EditorMode::ChangeCall                  ? TxtNew
        : mode == EditorMode::Add && session_.editor().form().callEnabled ? txtCall
                                                                        : txtName;
    box->setFocus(Qt::ShortcutFocusReason);
}

void frmMain::cmdHide_Click()
{
    session_.clearSearchLists();
    drawEditor();
    if (!lblStatus->text().isEmpty())
        clearStatus();
    TxtChkin->setFocus();
}

void frmMain::Form_Click() { Change_Caret(); }

void frmMain::Form_GotFocus() { Change_Caret(); }

// ---------------------------------------------------------------- timers

void frmMain::IDTimer_Timer()
{
    switch (IdAlert::ActionFor(IdAlert::ScheduleKey(platform_.clock->now().time()), Timer1->isActive())) {
    case IdAlert::Action::None:
        break;
    case IdAlert::Action::Start:
        platform_.sound->play(state_.paths.documentsFolder + QStringLiteral("IDTime.wav"));
        if (state_.screenWidth == 1280 && state_.screenHeight == 960) {
            QFont f = lblIDTime->font();
            f.setPointSizeF(28);
            lblIDTime->setFont(f);
        }
        lblStatus->setVisible(false);
        Timer1->start();
        break;
    case IdAlert::Action::Stop:
        Timer1->stop();
        lblStatus->setVisible(true);
        lblIDTime->setVisible(false);
        break;
    }
}

void frmMain::Timer1_Timer() { lblIDTime->setVisible(!lblIDTime->isVisible()); }

void frmMain::Timer2_Timer()
{
    flashToggle_ = !flashToggle_;
    // A frame that holds the keyboard stays: hiding it would throw the
    // operator's keys somewhere else.
    const bool keyboardInside = FraSearch->isAncestorOf(QApplication::focusWidget());
    FraSearch->setVisible(!flashToggle_ || keyboardInside);
    if (++flashTicks_ >= 10) {
        Timer2->stop();
        flashTicks_ = 0;
    }
}

void frmMain::Check_Timer1_Status() { lblStatus->setVisible(!Timer1->isActive()); }

void frmMain::Change_Caret()
{
    // The wide caret comes from the box's style; here it is made visible at
    // the end of the text.
    TxtChkin->setCursorPosition(int(TxtChkin->text().size()));
}
