// Session files and the end of a session.
#include "frm_main.h"

#include "members/net_manager.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "report/report_store.h"
#include "session/session_file.h"
#include "core/settings_store.h"
#include "ui_style.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QAction>
#include <QPushButton>

bool frmMain::writeSession(const QString& path)
{
    const NetSession::WriteOutcome outcome = session_.writeSession(path, platform_.clock->today());
    if (!outcome.ok) {
        ErrorHandler(outcome.error);
        return false;
    }
    return true;
}

void frmMain::mnuFileSave_Click()
{
    if (session_.fileName().isEmpty()) {
        mnuFileSaveAs_Click();
        return;
    }
    if (session_.changed())
        writeSession(session_.fileName());
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFileSaveAs_Click()
{
    const QString folder = state_.paths.sessionsFolder;
    if (!QDir().mkpath(folder)) {
        ErrorHandler(QStringLiteral("The folder %1 could not be created.").arg(folder));
        return;
    }
    const QString chosen = platform_.prompts->askSaveFile(
        folder + SessionFile::DefaultFileName(platform_.clock->today()), SessionFile::kFilter);
    if (!chosen.isEmpty())
        writeSession(chosen);
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFileOpen_Click()
{
    if (session_.changed()) {
        const Prompts::Answer answer =
            platform_.prompts->ask(QStringLiteral("Do you want to Save the Session?"), Prompts::Buttons::YesNoCancel,
                                   Prompts::Answer::Cancel, Prompts::Icon::Exclamation, QStringLiteral("Session"));
        if (answer == Prompts::Answer::Cancel)
            return;
        if (answer == Prompts::Answer::Yes) {
            mnuFileSave_Click();
            // A save that failed or was cancelled keeps the roster.
            if (session_.saveFailed() || session_.changed())
                return;
        }
    }
    // The roster is emptied only once a file has been chosen.
    const QString chosen = platform_.prompts->askOpenFile(state_.paths.sessionsFolder, SessionFile::kFilter);
    if (chosen.isEmpty())
        return;
    const NetSession::OpenOutcome opened = session_.openSession(chosen, state_.netControlCall);
    if (!opened.ok) {
        ErrorHandler(opened.error);
        return;
    }
    drawRoster();
    mnuEditEdit->setEnabled(true);
    Label4->setText(opened.altNetControl ? QStringLiteral("ALT NET CONTROL") : QStringLiteral("NET CONTROL"));
    lblNetCtl->setText(opened.altNetControl ? opened.altNetControlCaption
                                            : IdentityCaption(state_.netControlName, state_.netControlCall));
    setWindowTitle(kDesignCaption + QStringLiteral("  ") + opened.date);
    if (!opened.shortfall.isEmpty()) {
        ErrorHandler(opened.shortfall);
        return;
    }
    Change_Caret();
    TxtChkin->setFocus();
}

// ---------------------------------------------------------------- the end of a session

void frmMain::addSessionToReport()
{
    const ReportWriteOutcome outcome = session_.addToReport(state_.report, state_.sessionsThisRun);
    if (!outcome.stored)
        platform_.prompts->message(outcome.message, Prompts::Icon::Exclamation);
}

void frmMain::CmdExit_MouseDown() { Ui::setColours(CmdExit, Qt::black, QColor(0, 255, 0)); }

void frmMain::CmdExit_Click()
{
    const Prompts::Answer answer = platform_.prompts->ask(
        QStringLiteral("Do you want to save this Session's data to the monthly report?"), Prompts::Buttons::YesNoCancel,
        Prompts::Answer::Cancel, Prompts::Icon::Exclamation, QStringLiteral("SAVE SESSION"));
    if (answer == Prompts::Answer::Cancel) {
        Change_Caret();
        TxtChkin->setFocus();
        return;
    }
    if (answer == Prompts::Answer::Yes)
        addSessionToReport();
    close();
}

void frmMain::mnuFileExit_Click() { CmdExit_Click(); }

void frmMain::Form_Unload()
{
    if (lblNetMgr->text().isEmpty() || lblNetCtl->text().isEmpty())
        return;
    SetCapsLock(false);
    saveAppearance(true);
    rememberFirstRun();
    savePrinterFont();
    if (!state_.updateDownloaded) {
        QDir temp(state_.paths.tempFolder);
        if (temp.exists())
            temp.removeRecursively();
    }
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (!ended_)
        Form_Unload();
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
