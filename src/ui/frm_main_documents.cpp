// Documents, printing and the windows opened from the menu.
#include "frm_main.h"

#include "lookup/callbook_manager.h"
#include "platform/keyboard.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"
#include "frm_about.h"
#include "frm_net_ctl.h"
#include "frm_qrz.h"
#include "frm_report.h"
#include "frm_report_editor.h"
#include "frm_sort.h"
#include "members/net_manager.h"
#include "printing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextEdit>

// ---------------------------------------------------------------- printing and the other windows

void frmMain::mnuFilePrintPageSetup_Click() { Printing::PageSetup(platform_, this); }
void frmMain::mnuFilePrintFont_Click() { Printing::ChoosePrinterFont(platform_); }
void frmMain::mnuFilePrintSession_Click()
{
    const CheckinRoster& roster = session_.roster();
    Printing::PrintSession(platform_, session_.fileDate(), roster.checkinsCaption(), roster.trafficCaption(),
                           roster.lines());
}
void frmMain::mnuFilePrintDatabase_Click() { Printing::PrintDatabase(platform_, session_.table()); }
void frmMain::mnuFilePrintInstructions_Click()
{
    Printing::PrintInstructions(platform_, state_.paths.documentsFolder);
}
void frmMain::mnuFilePrintPreamble_Click() { Printing::PrintPreamble(platform_, state_.paths.documentsFolder); }
void frmMain::mnuFileDisplayDatabase_Click() { frmSort::DisplayDatabase(platform_, session_.table(), this); }
void frmMain::mnuReportsMonthly_Click()
{
    // Made once and shown again: not modal, it loads afresh at each showing.
    if (!reportWindow_)
        reportWindow_ = new FrmReport(platform_, state_, settings_, printerCount_, this);
    reportWindow_->show();
    reportWindow_->raise();
    reportWindow_->activateWindow();
}

void frmMain::mnuReportEditor_Click()
{
    if (!reportEditor_)
        reportEditor_ = new frmReportEditor(platform_, state_, settings_, this);
    reportEditor_->exec();
    TxtChkin->setFocus();
    Change_Caret();
}
void frmMain::mnuOptionsChangeQRZLogin_Click()
{
    // Passwords are case-sensitive: Caps Lock, which the net runs with, is off
    // while they are typed.
    const bool caps = platform_.keyboard && platform_.keyboard->isOn(Keyboard::Lock::Caps);
    SetCapsLock(false);
    frmQRZ dialog(settings_, this);
    dialog.prepareForChange();
    if (dialog.exec() == QDialog::Accepted && callbooks_)
        callbooks_->loginChanged();
    SetCapsLock(caps);
    checkSettingsWritten();
    TxtChkin->setFocus();
}

void frmMain::mnuAbout_Click()
{
    // Not modal: it may stay open beside the window while the net goes on.
    if (!about_)
        about_ = new frmAbout(this);
    about_->show();
    about_->raise();
    about_->activateWindow();
}
void frmMain::showNetManager(const QString& name, const QString& call)
{
    state_.netManagerName = name;
    state_.netManagerCall = call;
    session_.setNetManager(name, call);
    lblNetMgr->setText(session_.netManagerCaption());
}

void frmMain::mnuChgCtl_Click()
{
    FrmNetCtl dialog(settings_, {state_.netManagerName, state_.netManagerCall}, lblNetMgr->text(), this);
    dialog.setOpenedFromMenu(true);
    connect(&dialog, &FrmNetCtl::managerChanged, this, &frmMain::showNetManager);
    dialog.exec();
}

void frmMain::CmdChange_Click()
{
    // One dialog at a time; a second click brings it forward.
    if (netCtlDialog_) {
        netCtlDialog_->raise();
        netCtlDialog_->activateWindow();
        return;
    }
    netCtlDialog_ = new FrmNetCtl(settings_, {state_.netManagerName, state_.netManagerCall}, lblNetMgr->text(), this);
    netCtlDialog_->setAttribute(Qt::WA_DeleteOnClose);
    connect(netCtlDialog_, &FrmNetCtl::managerChanged, this, &frmMain::showNetManager);
    connect(netCtlDialog_, &FrmNetCtl::returnFocusToCheckIn, this, [this] {
        TxtChkin->setFocus();
        Change_Caret();
    });
    netCtlDialog_->show();
}
// ---------------------------------------------------------------- preamble and instructions

QString frmMain::documentPath(bool preamble) const
{
    return state_.paths.documentsFolder
        + NetSession::documentFileName(preamble ? NetSession::Document::Preamble : NetSession::Document::Instructions);
}

void frmMain::installDocumentTemplates()
{
    // Without a documents folder the names are used as they are, and nothing
    // is written into the current folder.
    const QString folder = state_.paths.documentsFolder;
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    // The templates to adapt to the net, and the station-ID sound.
    const std::pair<QString, QString> shipped[] = {
        {QStringLiteral(":/documents/VelnInst.rtf"), documentPath(false)},
        {QStringLiteral(":/documents/VelnPreamble.rtf"), documentPath(true)},
        {QStringLiteral(":/sounds/IDTime.wav"), folder + QStringLiteral("IDTime.wav")},
    };
    for (const auto& [from, to] : shipped) {
        if (QFileInfo::exists(to))
            continue;
        if (QFile::copy(from, to))
            QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}

void frmMain::showDocument(bool preamble)
{
    using Document = NetSession::Document;
    const Document wanted = preamble ? Document::Preamble : Document::Instructions;
    const Document shown = session_.shownDocument();
    auto keepShown = [&] {
        // The viewer keeps what it shows, and the buttons say which it is.
        (shown == Document::Preamble ? optPreamble : optInstructions)->setChecked(true);
    };
    if (wanted != shown && rtfInfo->document()->isModified()) {
        const QString name = shown == Document::Preamble ? QStringLiteral("preamble") : QStringLiteral("instructions");
        const Prompts::Answer answer = platform_.prompts->ask(
            QStringLiteral("The %1 was changed. Do you want to save the changes?").arg(name),
            Prompts::Buttons::YesNoCancel, Prompts::Answer::Cancel, Prompts::Icon::Exclamation,
            shown == Document::Preamble ? QStringLiteral("PREAMBLE") : QStringLiteral("INSTRUCTIONS"));
        if (answer == Prompts::Answer::Cancel || (answer == Prompts::Answer::Yes && !saveShownDocument())) {
            keepShown();
            return;
        }
    }
    const QString path = documentPath(preamble);
    QString error;
    if (!QFileInfo::exists(path))
        error = QStringLiteral("%1 does not exist.").arg(QDir::toNativeSeparators(path));
    if (!error.isEmpty() || !LoadRtfFile(path, rtfInfo->document(), &error)) {
        platform_.prompts->message(
            QStringLiteral("The %1 cannot be shown.\n\n%2")
                .arg(preamble ? QStringLiteral("preamble") : QStringLiteral("instructions"), error),
            Prompts::Icon::Warning);
        keepShown();
        return;
    }
    rtfInfo->document()->setModified(false);
    session_.setShownDocument(wanted);
    QTextCursor start(rtfInfo->document());
    rtfInfo->setTextCursor(start);
}

void frmMain::optInstructions_Click() { showDocument(false); }

void frmMain::optPreamble_Click()
{
    showDocument(true);
    TxtChkin->setFocus();
}

void frmMain::mnuFormatPreambleSaveChanges_Click() { saveShownDocument(); }

bool frmMain::saveShownDocument()
{
    QString error;
    // The document on show goes to its own file.
    const bool preamble = session_.shownDocument() == NetSession::Document::Preamble;
    if (!SaveRtfFile(documentPath(preamble), *rtfInfo->document(), &error)) {
        platform_.prompts->message(error, Prompts::Icon::Warning);
        return false;
    }
    rtfInfo->document()->setModified(false);
    return true;
}
