#include "core/program_state.h"
#include "core/settings_store.h"
#include "fake_http.h"
#include "fakes.h"
#include "members/net_manager.h"
#include "report/report_store.h"
#include "startup/single_instance.h"
#include "startup/startup_sequence.h"
#include "test_home.h"
#include "test_main.h"
#include "ui/fit_widgets.h"
#include "ui/frm_main.h"
#include "ui/frm_qrz.h"
#include "ui/frm_splash.h"
#include "ui/frm_update.h"
#include "ui/frm_user_name.h"
#include "ui/frm_xmas.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSysInfo>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

// Answers the modal windows the start-up opens, whichever comes up, and closes
// anything it was not told about, so no test can hang on a modal.
class ModalDriver : public QObject {
public:
    struct Seen {
        QString name;
        QString prefillName;
        QString prefillCall;
        bool mainVisible = false;
    };

    // The identity dialog's answers.
    QString name;
    QString call;
    bool yes = false;
    // The QRZ dialog: tick "DO NOT ASK AGAIN" before CANCEL.
    bool tickNoShow = false;
    std::function<bool()> mainVisible = [] { return false; };
    QList<Seen> seen;

    ModalDriver()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start();
    }

    QStringList names() const
    {
        QStringList out;
        for (const Seen& s : seen)
            out << s.name;
        return out;
    }

private:
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        Seen s{modal->objectName(), {}, {}, mainVisible()};
        if (auto* user = qobject_cast<frmUserName*>(modal)) {
            s.prefillName = user->txtUser->text();
            s.prefillCall = user->txtUserCall->text();
            user->txtUser->setText(name);
            user->txtUserCall->setText(call);
            user->OptYes->setChecked(yes);
            user->CmdExit->click();
        } else if (auto* qrz = qobject_cast<frmQRZ*>(modal)) {
            if (tickNoShow)
                qrz->chkNoShow->setChecked(true);
            qrz->cmdCancel->click();
        } else if (auto* xmas = qobject_cast<frmXmas*>(modal)) {
            xmas->TimeXmas_Timer();
            xmas->Timer1_Timer();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
        seen.append(s);
    }

    QTimer timer_;
};

// Notes, at every request, whether the update window is up and what it says.
class WatchedHttp : public FakeHttpClient {
public:
    QStringList captions;  // "" when the window was not shown

protected:
    HttpResult fetch(const QUrl& url, int timeoutMs) override
    {
        QString caption;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* u = qobject_cast<frmUpdate*>(w); u && u->isVisible())
                caption = u->lblUpdate1->text();
        captions.append(caption);
        return FakeHttpClient::fetch(url, timeoutMs);
    }
};

}  // namespace

class TstSplash : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void designControls();
    void firstRun();
    void laterRunNotNetControl();
    void laterRunNetControl();
    void qrzOfferFollowsStore_data();
    void qrzOfferFollowsStore();
    void earlierManagerFlagRemoved();
    void resetReminderOnlyForNetControl_data();
    void resetReminderOnlyForNetControl();
    void greetingBeforeMainWindow_data();
    void greetingBeforeMainWindow();
    void sayingFontOnSmallScreen_data();
    void sayingFontOnSmallScreen();
    void updateWindowAroundTheCheck();
    void secondCopyRefused();
    void lockOfACrashedCopyIsTakenOver();
    void firstStartMakesTheDataRootForTheLock();
    void shots();

private:
    void runLoad(frmsplash& splash);
    void handOver(frmsplash& splash);
    QString get(const QString& section, const QString& key) const { return settings_->GetSetting(section, key); }
    void set(const QString& key, const QString& value) { settings_->SaveSetting(QStringLiteral("Settings"), key, value); }
    std::unique_ptr<frmsplash> makeSplash()
    {
        auto s = std::make_unique<frmsplash>(fakes_->platform, state_, *settings_);
        s->show();
        return s;
    }

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<FakePlatform> fakes_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<ModalDriver> driver_;
    ProgramState state_;
};

void TstSplash::init()
{
    home_ = std::make_unique<TestHome>();
    QDir().mkpath(home_->path() + QStringLiteral("/.local/share/Pellam Software"));
    fakes_ = std::make_unique<FakePlatform>();
    state_ = ProgramState();
    state_.paths = Paths::forCurrentUser();
    state_.screenWidth = 1280;
    state_.screenHeight = 1024;
    settings_ = std::make_unique<SettingsStore>(state_.paths.settingsFile);
    driver_ = std::make_unique<ModalDriver>();
    QApplication::setQuitOnLastWindowClosed(false);
}

void TstSplash::cleanup()
{
    driver_.reset();
    settings_.reset();
    fakes_.reset();
    home_.reset();
}

void TstSplash::runLoad(frmsplash& splash)
{
    driver_->mainVisible = [&splash] { return splash.mainWindow() && splash.mainWindow()->isVisible(); };
    splash.Form_Load();
}

void TstSplash::handOver(frmsplash& splash)
{
    QVERIFY(splash.Timer1->isActive());
    QCOMPARE(splash.Timer1->interval(), 5000);
    splash.Timer1_Timer();
    QVERIFY(!splash.Timer1->isActive());
    QVERIFY(splash.mainWindow());
    QVERIFY(splash.mainWindow()->isVisible());
    QVERIFY(splash.mainWindow()->windowState() & Qt::WindowMaximized);
    QVERIFY(!splash.isVisible());
}

void TstSplash::designControls()
{
    frmsplash s(fakes_->platform, state_, *settings_);
    QCOMPARE(s.windowTitle(), QStringLiteral("TARVEN SECTION NET"));
    struct Caption {
        const char* name;
        const char* text;
    };
    for (const Caption& c : {Caption{"Label2", "VELNOR ASSOCIATION"}, Caption{"Label5", " VERSION 1     BUILD 1"},
                             Caption{"Label6", "TODAY'S NET CONTROL IS"}, Caption{"lblGM", "GOOD EVENING"}}) {
        auto* l = s.findChild<QLabel*>(QString::fromLatin1(c.name));
        QVERIFY2(l, c.name);
        QCOMPARE(l->text(), QString::fromLatin1(c.text));
    }
    for (const char* name : {"fraSplash", "Label3", "lblName", "lblNetCtlName", "lblNetCtlCall"})
        QVERIFY2(s.findChild<QWidget*>(QString::fromLatin1(name)), name);
    for (QLabel* logo : {s.WinLogo, s.TsnLogo})
        QVERIFY(!logo->pixmap().isNull());
    QVERIFY(!s.Timer1->isActive());
    QCOMPARE(s.Timer1->interval(), 5000);
}

void TstSplash::firstRun()
{
    driver_->name = QStringLiteral("ada quill");
    driver_->call = QStringLiteral("k0ada");
    driver_->yes = true;
    auto s = makeSplash();
    s->lblGM->hide();
    runLoad(*s);

    QCOMPARE(driver_->names(), QStringList({"frmUserName", "frmQRZ"}));
    QVERIFY(driver_->seen[0].prefillName.isEmpty());
    QVERIFY(driver_->seen[0].prefillCall.isEmpty());
    QCOMPARE(get("Settings", "User Name"), QStringLiteral("ADA QUILL"));
    QCOMPARE(get("Settings", "User Call"), QStringLiteral("K0ADA"));
    QCOMPARE(get("Settings", "NetMgr"), kDefaultNetManagerName);
    QCOMPARE(get("Settings", "NetMgrCall"), kDefaultNetManagerCall);
    QCOMPARE(state_.netManagerName, kDefaultNetManagerName);
    QCOMPARE(state_.netControlName, QStringLiteral("ADA QUILL"));
    QCOMPARE(state_.netControlCall, QStringLiteral("K0ADA"));
    QCOMPARE(state_.reportPeriod.year, QStringLiteral("2026"));
    QCOMPARE(s->operatorName(), QStringLiteral("ADA QUILL"));
    QCOMPARE(s->lblName->text(), QStringLiteral("ADA QUILL"));
    QVERIFY(s->lblName->isVisible());
    QVERIFY(s->Label6->isVisible());
    QCOMPARE(s->lblNetCtlName->text(), QStringLiteral("ADA QUILL"));
    QCOMPARE(s->lblNetCtlCall->text(), QStringLiteral("K0ADA"));
    QVERIFY(s->Label3->text().startsWith(QStringLiteral("THE VELN NET CONTROL PROGRAM\r\n")));
    QVERIFY(Startup::Sayings().contains(s->fraSplash->title()));
    QCOMPARE(s->fraSplash->title(), Startup::Saying(s->sayingNumber()));
    QVERIFY(s->lblGM->isVisible());
    // The net control is known: the main window waits for the hand-over.
    QVERIFY(!s->mainWindow());
    handOver(*s);
    QCOMPARE(s->mainWindow()->lblNetCtl->text(), IdentityCaption(QStringLiteral("ADA QUILL"), QStringLiteral("K0ADA")));
    QVERIFY(fakes_->sound.played.filter(QStringLiteral("merryxmas")).isEmpty());
}

void TstSplash::laterRunNotNetControl()
{
    set("User Name", "Bob Ray");
    set("User Call", "w1bob");
    set("chkNoShow", "1");
    driver_->name = QStringLiteral("BOB RAY");
    driver_->call = QStringLiteral("W1BOB");
    auto s = makeSplash();
    runLoad(*s);

    QCOMPARE(driver_->names(), QStringList({"frmUserName"}));
    QCOMPARE(driver_->seen[0].prefillName, QStringLiteral("Bob Ray"));
    QCOMPARE(driver_->seen[0].prefillCall, QStringLiteral("w1bob"));
    QCOMPARE(s->lblName->text(), QStringLiteral("BOB RAY"));
    QVERIFY(!s->Label6->isVisible());
    QVERIFY(state_.netControlName.isEmpty());
    QVERIFY(s->lblNetCtlName->text().isEmpty());
    // The main window is made during the load, hidden, to show "NONE".
    QVERIFY(s->mainWindow());
    QVERIFY(!s->mainWindow()->isVisible());
    QCOMPARE(s->mainWindow()->lblNetCtl->text(), QStringLiteral("NONE"));
    QCOMPARE(get("Settings", "User Name"), QStringLiteral("Bob Ray"));
    handOver(*s);
    QCOMPARE(s->mainWindow()->lblNetCtl->text(), QStringLiteral("NONE"));
}

void TstSplash::laterRunNetControl()
{
    set("User Name", "Bob Ray");
    set("User Call", "w1bob");
    set("chkNoShow", "1");
    set("NetMgr", "PAT");
    set("NetMgrCall", "N0PAT");
    driver_->name = QStringLiteral("BOB RAY");
    driver_->call = QStringLiteral("W1BOB");
    driver_->yes = true;
    auto s = makeSplash();
    runLoad(*s);
    QCOMPARE(state_.netControlName, QStringLiteral("BOB RAY"));
    QCOMPARE(state_.netControlCall, QStringLiteral("w1bob"));
    QCOMPARE(state_.netManagerName, QStringLiteral("PAT"));
    QCOMPARE(state_.netManagerCall, QStringLiteral("N0PAT"));
    QVERIFY(s->Label6->isVisible());
    QCOMPARE(s->lblNetCtlName->text(), QStringLiteral("BOB RAY"));
    QVERIFY(!s->mainWindow());
    handOver(*s);
}

void TstSplash::qrzOfferFollowsStore_data()
{
    QTest::addColumn<QString>("noShow");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("shown");
    QTest::newRow("nothing stored") << "" << "" << true;
    QTest::newRow("do not ask again") << "1" << "" << false;
    QTest::newRow("asked again") << "0" << "" << true;
    QTest::newRow("password stored") << "0" << "password=x" << false;
}

void TstSplash::qrzOfferFollowsStore()
{
    QFETCH(QString, noShow);
    QFETCH(QString, password);
    set("User Name", "BOB");
    if (!noShow.isEmpty())
        set("chkNoShow", noShow);
    if (!password.isEmpty())
        set("QRZ PW", password);
    driver_->name = QStringLiteral("BOB");
    driver_->tickNoShow = true;
    auto s = makeSplash();
    runLoad(*s);
    QFETCH(bool, shown);
    QCOMPARE(driver_->names().contains(QStringLiteral("frmQRZ")), shown);
    // Ticked at the dialog: the next start does not ask.
    if (shown)
        QCOMPARE(get("Settings", "chkNoShow"), QStringLiteral("1"));
}

void TstSplash::earlierManagerFlagRemoved()
{
    set("User Name", "BOB");
    set("chkNoShow", "1");
    set("NMFlag", "1");
    auto s = makeSplash();
    runLoad(*s);
    QCOMPARE(settings_->GetSetting("Settings", "NMFlag", QStringLiteral("<none>")), QStringLiteral("<none>"));
}

void TstSplash::resetReminderOnlyForNetControl_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("reminded");
    QTest::newRow("net control") << true << true;
    QTest::newRow("not net control") << false << false;
}

void TstSplash::resetReminderOnlyForNetControl()
{
    QFETCH(bool, yes);
    set("User Name", "BOB");
    set("chkNoShow", "1");
    settings_->SaveSetting(ReportKeys::kReport, ReportKeys::kResetReport, QStringLiteral("False"));
    settings_->SaveSetting(ReportKeys::kReport, ReportKeys::kCheckins, QStringLiteral("12"));
    fakes_->clock.current = QDateTime(QDate(2026, 3, 3), QTime(19, 0));
    driver_->name = QStringLiteral("BOB");
    driver_->yes = yes;
    auto s = makeSplash();
    runLoad(*s);
    bool reminded = false;
    for (const FakePrompts::Shown& m : fakes_->prompts.shown)
        reminded = reminded || (m.title == ResetReminderText::kTitle && m.text == ResetReminderText::kMessage);
    QTEST(reminded, "reminded");
}

void TstSplash::greetingBeforeMainWindow_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<bool>("greeted");
    QTest::newRow("19 December") << QDate(2026, 12, 19) << true;
    QTest::newRow("25 December") << QDate(2026, 12, 25) << true;
    QTest::newRow("26 December") << QDate(2026, 12, 26) << false;
}

void TstSplash::greetingBeforeMainWindow()
{
    QFETCH(QDate, date);
    QFETCH(bool, greeted);
    fakes_->clock.current = QDateTime(date, QTime(19, 0));
    set("User Name", "BOB");
    set("chkNoShow", "1");
    driver_->name = QStringLiteral("BOB");
    auto s = makeSplash();
    runLoad(*s);
    driver_->seen.clear();
    QApplication::setQuitOnLastWindowClosed(true);
    handOver(*s);
    QVERIFY(QApplication::quitOnLastWindowClosed());
    QApplication::setQuitOnLastWindowClosed(false);
    QCOMPARE(driver_->names().contains(QStringLiteral("frmXmas")), greeted);
    const QString sound = state_.paths.documentsFolder + QStringLiteral("merryxmas.wav");
    QCOMPARE(fakes_->sound.played.contains(sound), greeted);
    if (greeted) {
        QVERIFY(!state_.paths.documentsFolder.isEmpty());
        QVERIFY(!driver_->seen.first().mainVisible);
    }
}

void TstSplash::sayingFontOnSmallScreen_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("size");
    QTest::newRow("1024x768") << 1024 << 768 << 18;
    QTest::newRow("1280x1024") << 1280 << 1024 << 12;
    QTest::newRow("800x600") << 800 << 600 << 12;
}

void TstSplash::sayingFontOnSmallScreen()
{
    QFETCH(int, w);
    QFETCH(int, h);
    state_.screenWidth = w;
    state_.screenHeight = h;
    set("User Name", "BOB");
    set("chkNoShow", "1");
    driver_->name = QStringLiteral("BOB");
    auto s = makeSplash();
    runLoad(*s);
    QTEST(s->fraSplash->font().pointSize(), "size");
    // The longest saying always fits the frame's title.
    QVERIFY(s->fraSplash->width() >= s->fraSplash->minimumSizeHint().width());
    // The frame's labels keep their own sizes.
    QCOMPARE(s->Label2->font().pointSize(), 20);
}

void TstSplash::updateWindowAroundTheCheck()
{
    WatchedHttp http;
    fakes_->platform.http = &http;
    settings_->SaveSetting(QStringLiteral("Servers"), QStringLiteral("Update"), QStringLiteral("http://upd.test"));
    http.set(QStringLiteral("http://upd.test/updates/VelnVersion.txt"), QByteArray("2"));
    http.set(QStringLiteral("http://upd.test/files/VelnVerUpdate.zip"), QByteArray("PK archive"));
    set("User Name", "BOB");
    set("chkNoShow", "1");
    driver_->name = QStringLiteral("BOB");
    auto s = makeSplash();
    runLoad(*s);
    QCOMPARE(http.requested.size(), 2);
    QCOMPARE(http.captions, QStringList({frmUpdate::kWait, QStringLiteral("DOWNLOADING NEW VERSION")}));
    QVERIFY(state_.updateDownloaded);
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY(!(qobject_cast<frmUpdate*>(w) && w->isVisible()));
    // The rest of the start-up went on.
    QVERIFY(s->Timer1->isActive());
}

void TstSplash::secondCopyRefused()
{
    QDir().mkpath(state_.paths.dataRoot);
    SingleInstance first(state_.paths.lockFile);
    QVERIFY(AcquireSingleInstance(first, fakes_->prompts));
    QVERIFY(fakes_->prompts.shown.isEmpty());
    {
        SingleInstance second(state_.paths.lockFile);
        QCOMPARE(second.acquire(), SingleInstance::Outcome::HeldByAnother);
        QVERIFY(!AcquireSingleInstance(second, fakes_->prompts));
        QCOMPARE(fakes_->prompts.shown.size(), 1);
        QCOMPARE(fakes_->prompts.shown[0].text, Startup::kSecondCopyRefused);
        QCOMPARE(fakes_->prompts.shown[0].icon, Prompts::Icon::Exclamation);
    }
    // Still held by the first copy after the refused one went away.
    QVERIFY(QFile::exists(state_.paths.lockFile));
    QCOMPARE(SingleInstance(state_.paths.lockFile).acquire(), SingleInstance::Outcome::HeldByAnother);
}

void TstSplash::lockOfACrashedCopyIsTakenOver()
{
    QDir().mkpath(state_.paths.dataRoot);
    // The process id of a shell that has ended.
    QProcess shell;
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("echo $$")});
    QVERIFY(shell.waitForFinished(10000));
    const QByteArray pid = shell.readAllStandardOutput().trimmed();
    QVERIFY(!pid.isEmpty());
    QFile lock(state_.paths.lockFile);
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(pid + "\n" + QCoreApplication::applicationName().toUtf8() + "\n" +
               QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();

    SingleInstance guard(state_.paths.lockFile);
    QCOMPARE(guard.acquire(), SingleInstance::Outcome::Acquired);
}

void TstSplash::firstStartMakesTheDataRootForTheLock()
{
    QVERIFY(!QFileInfo::exists(state_.paths.dataRoot));
    SingleInstance guard(state_.paths.lockFile);
    QVERIFY(AcquireSingleInstance(guard, fakes_->prompts));
    QVERIFY(fakes_->prompts.shown.isEmpty());
    QVERIFY(QFileInfo(state_.paths.dataRoot).isDir());
    QCOMPARE(SingleInstance(state_.paths.lockFile).acquire(), SingleInstance::Outcome::HeldByAnother);
}

void TstSplash::shots()
{
    QDir().mkpath(QStringLiteral("/tmp/shots"));
    struct Screen {
        int w, h;
        const char* file;
    };
    for (const Screen& sc : {Screen{1280, 1024, "/tmp/shots/frmsplash.png"},
                             Screen{1024, 768, "/tmp/shots/frmsplash_1024.png"}}) {
        state_.screenWidth = sc.w;
        state_.screenHeight = sc.h;
        settings_->SaveSetting("Settings", "User Name", "MARGARET HOLLOWAY");
        set("User Call", "KD0XYZ");
        set("chkNoShow", "1");
        driver_->name = QStringLiteral("MARGARET HOLLOWAY");
        driver_->call = QStringLiteral("KD0XYZ");
        driver_->yes = true;
        auto s = makeSplash();
        runLoad(*s);
        // The longest saying, to see it is never cut off.
        QString longest;
        for (const QString& saying : Startup::Sayings())
            if (saying.size() > longest.size())
                longest = saying;
        s->fraSplash->setTitle(longest);
        s->adjustSize();
        QVERIFY(QTest::qWaitForWindowExposed(s.get()));
        QVERIFY(s->grab().save(QString::fromLatin1(sc.file)));
        QVERIFY(s->fraSplash->width() >= s->fraSplash->minimumSizeHint().width());
        for (FitLabel* l : {s->Label2, s->Label5, s->Label3, s->lblName, s->Label6, s->lblNetCtlName,
                            s->lblNetCtlCall, s->lblGM})
            QVERIFY2(l->fittedFont().pointSizeF() == l->font().pointSizeF(), qPrintable(l->objectName()));
        s->Timer1->stop();
    }
    frmUpdate u;
    u.show();
    QVERIFY(QTest::qWaitForWindowExposed(&u));
    QVERIFY(u.grab().save(QStringLiteral("/tmp/shots/frmUpdate.png")));
    u.setCaption1(QStringLiteral("DOWNLOADING NEW VERSION"));
    QCOMPARE(u.lblUpdate1->fittedFont().pointSizeF(), u.lblUpdate1->font().pointSizeF());
}

VELN_TEST(TstSplash)
#include "tst_splash.moc"
