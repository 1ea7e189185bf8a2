// The main window and its load.
#include "frm_main.h"
#include "core/settings_sections.h"

#include "core/settings_store.h"
#include "lookup/callbook_manager.h"
#include "members/net_manager.h"
#include "core/operator_settings.h"
#include "platform/clock.h"
#include "platform/caps_lock.h"
#include "platform/keyboard.h"
#include "platform/platform.h"
#include "platform/printers.h"
#include "platform/prompts.h"
#include "report/report_store.h"
#include "fit_widgets.h"
#include "ui_style.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

frmMain::frmMain(Platform& platform, ProgramState& state, SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent), platform_(platform), state_(state), settings_(settings), appearance_(settings),
      session_(settings, *platform.clock)
{
    setObjectName(QStringLiteral("frmMain"));
    Ui::installFontSubstitutes();
    InitProgramResources();
    buildControls();
    buildMenus();
    if (platform_.http) {
        MoveOldCallbookCache(state_.paths);
        callbooks_ = std::make_unique<CallbookManager>(*platform_.http, settings_, state_.paths.callbookCache,
                                                       *platform_.clock);
        connect(callbooks_.get(), &CallbookManager::answered, this, &frmMain::callbookAnswered);
    }
    session_.setCallbooks(callbooks_.get());
    // The journal hears each change first, so it is on disk before it shows.
    session_.follow([this](const NetEvent& e) {
        journalWritten(e);
        drawEvent(e);
    });
    Form_Load();
}

frmMain::~frmMain() = default;

namespace {
const QString& kFirst = SettingsSections::kFirst;
const QString kFirstime = QStringLiteral("Firstime");
}  // namespace

// The stored look is applied only once a run has ended and marked itself.
bool frmMain::firstRun() const { return settings_.GetSetting(kFirst, kFirstime).isEmpty(); }

void frmMain::rememberFirstRun()
{
    if (firstRun())
        settings_.SaveSetting(kFirst, kFirstime, QStringLiteral("FALSE"));
}

void frmMain::Form_Load()
{
    CaptureControlGeometry();
    printerCount_ = platform_.printers ? platform_.printers->count() : 0;
    SetCapsLock(true);
    SetNumLock(false);
    setWindowTitle(kDesignCaption + QStringLiteral("  ")
                   + QLocale::system().toString(platform_.clock->today(), QLocale::ShortFormat));
    endProgram_ = [this] {
        hide();
        QCoreApplication::quit();
    };

    // The restored window's client area is the design size, the menu bar on
    // top, but never larger than the screen leaves room for (the layout
    // scales with the window).
    QSize size(int(MainLayout::kDesignWidth / MainLayout::kTwipsPerPixel),
               int(MainLayout::kDesignHeight / MainLayout::kTwipsPerPixel) + menuBar()->sizeHint().height());
    QRect room(0, 0, state_.screenWidth, state_.screenHeight);
    if (const QScreen* s = QGuiApplication::primaryScreen(); s && !s->availableGeometry().isEmpty())
        room = s->availableGeometry();
    if (room.width() > 0 && room.height() > 0) {
        // Leave room for the window manager's frame.
        size = size.boundedTo(room.size() - QSize(16, 40));
        resize(size);
        move(room.x() + (room.width() - width()) / 2, room.y() + (room.height() - height()) / 2);
    } else {
        resize(size);
    }

    mnuEditEdit->setEnabled(false);
    mnuEditDelete->setEnabled(false);

    if (!firstRun()) {
        state_.report = LoadReportCounters(settings_);
        if (printerCount_ < 1)
            mnuFilePrint->setEnabled(false);
        else
            loadPrinterFont();
        applyStoredAppearance();
        CleanUpEarlierReleaseKeys(settings_);
        session_.setOptions(LoadSessionOptions(settings_));
        drawOptions();
    } else {
        // The first evening looks as every later one: the look the end of this
        // run keeps is drawn now as the next start will draw it. Nothing is
        // written before the end.
        SettingsStore scratch{QString()};
        AppearanceStore look(scratch);
        saveAppearanceTo(look, true);
        applyAppearance(look);
    }

    session_.setNetManager(state_.netManagerName, state_.netManagerCall);
    session_.setNetControl(state_.netControlName, state_.netControlCall);
    lblNetMgr->setText(session_.netManagerCaption());
    lblNetCtl->setText(session_.netControlCaption());
    drawCounters();

    const MemberTable& table = session_.table();
    if (!session_.loadMemberTable(state_.paths.memberFile)) {
        platform_.prompts->message(table.lastError() + QStringLiteral("\n\nMembers cannot be looked up or added in this run."),
                                   Prompts::Icon::Critical);
    } else if (!table.lastError().isEmpty()) {
        platform_.prompts->message(table.lastError(), Prompts::Icon::Warning);
    }
    // A damaged settings file or callbook cache was kept aside: said once.
    if (!settings_.notice().isEmpty())
        platform_.prompts->message(settings_.notice(), Prompts::Icon::Warning);
    sayCacheNotice();
    drawMembers();
    const MembersCounterColour colour = MembersCounterColourFor(table.memberCount());
    if (colour != MembersCounterColour::Unchanged)
        // On black, where yellow and red both read well.
        Ui::setColours(lblMembers, colour == MembersCounterColour::Yellow ? QColor(255, 255, 0) : QColor(255, 0, 0),
                       Qt::black);

    installDocumentTemplates();
    optInstructions->setChecked(true);
    optInstructions_Click();

    if (IsNetControlOperator(settings_, state_.netControlName))
        IDTimer->start();

    // A net left by a run that did not end comes back; otherwise a new net
    // starts with the net control checking itself in.
    netRestored_ = openJournal();
    if (!netRestored_)
        if (const auto outcome = session_.startNet())
            applyOutcome(*outcome);
    startSharingAsked();
}

bool frmMain::openJournal()
{
    const QString path = state_.paths.journalFile;
    journal_ = std::make_unique<Journal>(path);
    const Journal::Found found = Journal::Read(path);
    bool restored = false;
    if (found.state == Journal::Found::State::Unreadable) {
        const QString aside = Journal::KeepAside(path, platform_.clock->now());
        platform_.prompts->message(
            QStringLiteral("The journal of the last net could not be read (%1).\n\n%2\n\nThe net starts empty.")
                .arg(found.error,
                     aside.isEmpty() ? QStringLiteral("It could not be moved aside either.")
                                     : QStringLiteral("It was kept as %1.").arg(QDir::toNativeSeparators(aside))),
            Prompts::Icon::Warning);
    } else if (found.state == Journal::Found::State::Open && found.events.size() > 1) {
        const Prompts::Answer answer = platform_.prompts->ask(
            NetRecovery::Question(NetRecovery::Summarise(found.events)), Prompts::Buttons::YesNo, Prompts::Answer::Yes,
            Prompts::Icon::Question, QStringLiteral("RESTORE NET"));
        if (answer == Prompts::Answer::Yes) {
            session_.restore(found.events);
            restored = true;
        } else {
            const NetRecovery::Written w =
                NetRecovery::WriteRecovered(found.events, state_.paths.sessionsFolder, settings_, *platform_.clock);
            if (w.ok)
                platform_.prompts->message(
                    QStringLiteral("The net was saved as %1, its times beside it.").arg(QDir::toNativeSeparators(w.path)),
                    Prompts::Icon::Information, QStringLiteral("RESTORE NET"));
            else
                platform_.prompts->message(
                    w.error + QStringLiteral("\n\nThe journal stays as it is; the next start offers the net again."),
                    Prompts::Icon::Critical, QStringLiteral("RESTORE NET"));
            if (!w.ok) {
                // Nothing of that net may be lost: this run keeps no journal.
                journal_.reset();
                return false;
            }
        }
    }
    const bool open = restored ? journal_->resume(found.completeBytes) : journal_->start();
    if (!open) {
        platform_.prompts->message(journal_->error() + QStringLiteral("\n\nThe net goes on, but a crash would lose it: "
                                                                     "save the session now and then."),
                                   Prompts::Icon::Warning);
        journal_.reset();
    }
    if (restored) {
        drawRoster();
        drawSearchLists();
        Label4->setText(session_.altNetControl() ? QStringLiteral("ALT NET CONTROL") : QStringLiteral("NET CONTROL"));
        lblNetCtl->setText(session_.netControlCaption());
        if (!session_.fileDate().isEmpty())
            setWindowTitle(kDesignCaption + QStringLiteral("  ") + session_.fileDate());
    }
    return restored;
}

void frmMain::journalWritten(const NetEvent& event)
{
    if (!journal_ || !journal_->isOpen())
        return;
    if (journal_->append(event)) {
        // One sync for all the events of this turn of the event loop, before
        // the program waits for the operator again.
        if (!journalSyncDue_) {
            journalSyncDue_ = true;
            QTimer::singleShot(0, this, &frmMain::syncJournal);
        }
        return;
    }
    warnJournal();
}

void frmMain::syncJournal()
{
    journalSyncDue_ = false;
    if (journal_ && journal_->isOpen() && !journal_->sync())
        warnJournal();
}

void frmMain::warnJournal()
{
    if (journalWarned_)
        return;
    journalWarned_ = true;
    // Told once the operation is over, not in the middle of it.
    const QString error = journal_->error();
    QTimer::singleShot(0, this, [this, error] {
        platform_.prompts->message(error + QStringLiteral("\n\nThe net goes on, but a crash would lose it from now "
                                                         "on: save the session now and then."),
                                   Prompts::Icon::Warning);
    });
}

void frmMain::showNetControlCaption(const QString& caption)
{
    session_.setNetControlCaption(caption);
    lblNetCtl->setText(caption);
}

// ---------------------------------------------------------------- options

void frmMain::drawOptions()
{
    const SessionOptions o = session_.options();  // each check mark reads them back
    mnuOptionsDisableAutoInsert->setChecked(o.disableAutoInsert);
    mnuOptionsDisableEnterKeyDing->setChecked(o.disableEnterKeyDing);
    mnuOptionsDisableWindowFlash->setChecked(o.disableWindowFlash);
    mnuOptionsSpeakStatus->setChecked(o.speakStatus);
}

void frmMain::readOptions()
{
    // Called while the menu is still being built, before every item exists.
    if (!mnuOptionsDisableAutoInsert || !mnuOptionsDisableEnterKeyDing || !mnuOptionsDisableWindowFlash
        || !mnuOptionsSpeakStatus)
        return;
    SessionOptions o;
    o.disableAutoInsert = mnuOptionsDisableAutoInsert->isChecked();
    o.disableEnterKeyDing = mnuOptionsDisableEnterKeyDing->isChecked();
    o.disableWindowFlash = mnuOptionsDisableWindowFlash->isChecked();
    o.speakStatus = mnuOptionsSpeakStatus->isChecked();
    session_.setOptions(o);
}

void frmMain::saveOptions()
{
    readOptions();
    SaveSessionOptions(settings_, session_.options());
    checkSettingsWritten();
}

void frmMain::sayCacheNotice()
{
    CallbookCache* cache = callbooks_ ? callbooks_->cache() : nullptr;
    if (const QString notice = cache ? cache->takeNotice() : QString(); !notice.isEmpty())
        platform_.prompts->message(notice, Prompts::Icon::Warning);
}

void frmMain::checkSettingsWritten()
{
    if (settings_.lastWriteOk() || settingsWarned_)
        return;
    settingsWarned_ = true;
    platform_.prompts->message(
        QStringLiteral("Your settings could not be stored.\n\n%1\n\nThe net goes on; options, report figures and logins "
                       "changed from now on are kept only until the program ends.")
            .arg(settings_.lastError()),
        Prompts::Icon::Warning);
}

void frmMain::mnuOptionsDisableEnterKeyDing_Click() { saveOptions(); }
void frmMain::mnuOptionsDisableAutoInsert_Click() { saveOptions(); }
void frmMain::mnuOptionsDisableWindowFlash_Click() { saveOptions(); }
void frmMain::mnuOptionsSpeakStatus_Click() { saveOptions(); }

void frmMain::SetCapsLock(bool on)
{
    // Held through its owner, which gives it back even after a crash.
    if (platform_.capsLock)
        on ? platform_.capsLock->hold() : platform_.capsLock->release();
    else if (platform_.keyboard)
        SetLock(*platform_.keyboard, Keyboard::Lock::Caps, on);
}

void frmMain::SetNumLock(bool on)
{
    if (platform_.keyboard)
        SetLock(*platform_.keyboard, Keyboard::Lock::Num, on);
}
