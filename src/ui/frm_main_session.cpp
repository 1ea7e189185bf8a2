// Session files and the end of a session.
#include "frm_main.h"

#include "export/net_export.h"
#include "export/net_log.h"
#include "members/net_manager.h"
#include "core/operator_settings.h"
#include "frm_ics309.h"
#include "platform/caps_lock.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "report/report_store.h"
#include "session/session_file.h"
#include "startup/update_checker.h"
#include "core/safe_write.h"
#include "core/settings_store.h"
#include "ui_style.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QAction>
#include <QPushButton>

bool frmMain::showWriteOutcome(const NetSession::WriteOutcome& outcome)
{
    if (outcome.ok) {
        if (!outcome.notice.isEmpty())
            platform_.prompts->message(outcome.notice, Prompts::Icon::Information);
        return true;
    }
    // The roster stays, unsaved, and the operator can save it elsewhere.
    platform_.prompts->message(outcome.error + QStringLiteral("\n\nThe stations stay listed. Save them elsewhere with "
                                                             "File, Save As."),
                               Prompts::Icon::Critical);
    return false;
}

void frmMain::mnuFileSave_Click()
{
    if (session_.fileName().isEmpty()) {
        mnuFileSaveAs_Click();
        return;
    }
    if (session_.changed())
        showWriteOutcome(session_.writeSession(session_.fileName(), platform_.clock->today()));
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFileSaveAs_Click()
{
    // Without the sessions folder the dialog opens where it can.
    const QString folder = state_.paths.sessionsFolder;
    QDir().mkpath(folder);
    const QString chosen = platform_.prompts->askSaveFile(
        folder + SessionFile::DefaultFileName(platform_.clock->today()), SessionFile::kFilter);
    if (!chosen.isEmpty())
        showWriteOutcome(session_.saveAs(chosen, platform_.clock->today()));
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFileExport_Click()
{
    if (NetExport::NothingToExport(session_)) {
        platform_.prompts->message(NetExport::kNothingToExport, Prompts::Icon::Information);
        TxtChkin->setFocus();
        return;
    }
    const QString folder = state_.paths.sessionsFolder;
    QDir().mkpath(folder);
    int filterIndex = 0;
    const QString chosen = platform_.prompts->askSaveFile(
        folder + SessionFile::DefaultFileName(platform_.clock->today()), NetExport::kFilter, &filterIndex);
    if (!chosen.isEmpty()) {
        const NetExport::Target target = NetExport::TargetFor(chosen, filterIndex);
        NetExport::Request request;
        // The operator at this desk; before one was ever named, today's net control.
        request.operatorName = StoredUserName(settings_);
        request.operatorCall = StoredUserCall(settings_);
        if (request.operatorName.isEmpty() && request.operatorCall.isEmpty()) {
            request.operatorName = state_.netControlName;
            request.operatorCall = state_.netControlCall;
        }
        request.netControlCall = state_.netControlCall;
        request.now = platform_.clock->now();
        bool go = true;
        if (target.format == NetExport::Format::Ics309Pdf) {
            Ics309Setting kept(settings_);
            frmIcs309 ask(NetExport::OfferIcs309(session_, kept, NetLog::NetNameOfCaption(kDesignCaption), request.now),
                          this);
            // Incident and net names are written as typed.
            CapsLock::CaseMatters typing(platform_.capsLock);
            go = ask.exec() == QDialog::Accepted;
            if (go) {
                request.details = ask.details();
                kept.keep(request.details);
                checkSettingsWritten();
            }
        }
        if (go) {
            const NetExport::Outcome out = NetExport::Write(session_, target, request);
            if (!out.ok)
                platform_.prompts->message(out.error, Prompts::Icon::Critical);
        }
    }
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFileOpen_Click()
{
    if (!offerToSaveSession())
        return;
    // The roster is emptied only once a file has been chosen.
    const QString chosen = platform_.prompts->askOpenFile(state_.paths.sessionsFolder, SessionFile::kOpenFilter);
    if (chosen.isEmpty())
        return;
    const NetSession::OpenOutcome opened = session_.openSession(chosen, state_.netControlCall);
    if (!opened.ok) {
        platform_.prompts->message(QStringLiteral("%1 was not opened.\n\n%2\n\nThe stations listed stay as they were.")
                                       .arg(QDir::toNativeSeparators(chosen), opened.error),
                                   Prompts::Icon::Warning);
        return;
    }
    enableLineEditing();
    setWindowTitle(kDesignCaption + QStringLiteral("  ") + opened.date);
    if (!opened.notice.isEmpty())
        platform_.prompts->message(opened.notice, Prompts::Icon::Warning);
    Change_Caret();
    TxtChkin->setFocus();
}

// ---------------------------------------------------------------- the end of a session

void frmMain::addSessionToReport()
{
    const ReportWriteOutcome outcome = session_.addToReport(state_.report, state_.sessionsThisRun);
    if (!outcome.stored)
        platform_.prompts->message(outcome.message, Prompts::Icon::Exclamation);
    checkSettingsWritten();
}

void frmMain::CmdExit_MouseDown() { Ui::setColours(CmdExit, Qt::black, QColor(0, 255, 0)); }

bool frmMain::offerToSaveSession()
{
    if (!session_.changed())
        return true;
    const Prompts::Answer answer =
        platform_.prompts->ask(QStringLiteral("Do you want to Save the Session?"), Prompts::Buttons::YesNoCancel,
                               Prompts::Answer::Cancel, Prompts::Icon::Exclamation, QStringLiteral("Session"));
    if (answer == Prompts::Answer::Cancel)
        return false;
    if (answer == Prompts::Answer::Yes) {
        mnuFileSave_Click();
        // A save that failed or was cancelled keeps the roster on show.
        if (session_.saveFailed() || session_.changed())
            return false;
    }
    return true;
}

bool frmMain::askEndQuestions()
{
    if (!offerToSaveSession())
        return false;
    const Prompts::Answer answer = platform_.prompts->ask(
        QStringLiteral("Do you want to save this Session's data to the monthly report?"), Prompts::Buttons::YesNoCancel,
        Prompts::Answer::Cancel, Prompts::Icon::Exclamation, QStringLiteral("SAVE SESSION"));
    if (answer == Prompts::Answer::Cancel)
        return false;
    if (answer == Prompts::Answer::Yes)
        addSessionToReport();
    exitAsked_ = true;
    return true;
}

void frmMain::CmdExit_Click()
{
    if (!askEndQuestions()) {
        Change_Caret();
        TxtChkin->setFocus();
        return;
    }
    close();
}

void frmMain::mnuFileExit_Click() { CmdExit_Click(); }

void frmMain::Form_Unload()
{
    // Given back on every way out, whatever else is kept.
    SetCapsLock(false);
    if (!session_.closeKeepsSettings())
        return;
    saveAppearance(true);
    rememberFirstRun();
    savePrinterFont();
    // Only the program's own files go, never through a link.
    if (!state_.updateDownloaded)
        RemoveOwnFiles(state_.paths.tempFolder, UpdateChecker::parkedFileNames());
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // The close box asks what "73" asks: no roster and no report figures are
    // dropped without a word.
    if (!ended_ && !exitAsked_ && !askEndQuestions()) {
        event->ignore();
        Change_Caret();
        TxtChkin->setFocus();
        return;
    }
    if (!ended_) {
        // The normal end: the journal holds no net to bring back.
        session_.endNet();
        if (journal_)
            journal_->close();
        Form_Unload();
    }
    ended_ = true;
    QMainWindow::closeEvent(event);
}

void frmMain::endProgram()
{
    ended_ = true;
    if (endProgram_)
        endProgram_();
}

void frmMain::ErrorHandler(const QString& description)
{
    platform_.prompts->message(description, Prompts::Icon::Critical, Prompts::kProgramTitle);
    const Prompts::Answer answer = platform_.prompts->ask(
        QStringLiteral("Do you want to save this Session's data to the monthly report?"), Prompts::Buttons::YesNoCancel,
        Prompts::Answer::Cancel, Prompts::Icon::Exclamation, Prompts::kProgramTitle);
    if (answer == Prompts::Answer::Cancel)
        return;
    if (answer == Prompts::Answer::Yes) {
        addSessionToReport();
        saveAppearance(false);
        savePrinterFont();
    }
    endProgram();
}
