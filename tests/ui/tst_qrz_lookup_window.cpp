#include "core/settings_store.h"
#include "fake_http.h"
#include "fakes.h"
#include "http_test_server.h"
#include "platform/qt_http_client.h"
#include "member_files.h"
#include "test_home.h"
#include "test_main.h"
#include "ui/frm_about.h"
#include "ui/frm_main.h"
#include "ui/frm_qrz.h"
#include "ui/ui_style.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QAction>
#include <QTest>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <memory>

// The right-button QRZ lookup on an unknown call, as the main window runs it.
class TstQrzLookupWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void withoutLoginOpensTheBrowser_data();
    void withoutLoginOpensTheBrowser();
    void lookupFillsTheEditor();
    void unknownCallTurnsRedThenRecovers();
    void leftClickWithLoginWaitsForTheLookup();
    void windowStaysLiveWhileTheCallbookIsSlow();
    void answerDroppedWhenTheEditorNoLongerWaits_data();
    void answerDroppedWhenTheEditorNoLongerWaits();
    void stalledServerNeverHoldsTheWindow();
    void hamQthAnswersWhenQrzRefuses();
    void repeatedCallFilledFromTheCacheOffline();
    void changeLoginFromTheMenu();
    void newLoginForgetsCallsNobodyKnew();
    void aboutStaysBesideTheWindow();

private:
    std::unique_ptr<frmMain> open()
    {
        auto w = std::make_unique<frmMain>(fakes_->platform, state_, *settings_);
        w->show();
        return w;
    }
    void rightClick(frmMain& w, int row)
    {
        w.lstNF->doItemsLayout();  // the list's font changed with the last unknown call
        QTest::mouseClick(w.lstNF->viewport(), Qt::RightButton, {}, w.lstNF->visualItemRect(w.lstNF->item(row)).center());
    }
    void unknown(frmMain& w, const QString& call)
    {
        w.TxtChkin->setText(call);
        w.txtChkin_KeyDown(13);
    }
    void login()
    {
        settings_->SaveSetting("Settings", "QRZ ID", "username=me;");
        settings_->SaveSetting("Settings", "QRZ PW", "password=secret");
        http_.set("https://xmldata.qrz.com/xml/current/?username=me;password=secret",
                  "<QRZDatabase><Session><Key>abc123</Key></Session></QRZDatabase>");
    }

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<FakePlatform> fakes_;
    FakeHttpClient http_;
    std::unique_ptr<SettingsStore> settings_;
    ProgramState state_;
};

void TstQrzLookupWindow::init()
{
    home_ = std::make_unique<TestHome>();
    fakes_ = std::make_unique<FakePlatform>();
    http_ = FakeHttpClient();
    fakes_->platform.http = &http_;
    state_ = ProgramState();
    state_.paths = Paths::forCurrentUser();
    settings_ = std::make_unique<SettingsStore>(state_.paths.settingsFile);
    writeMemberFile(home_->memberFile(), {{"W1AW", "HIRAM", "CT"}});
}

void TstQrzLookupWindow::cleanup()
{
    settings_.reset();
    fakes_.reset();
    home_.reset();
}

void TstQrzLookupWindow::withoutLoginOpensTheBrowser_data()
{
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QString>("status");
    QTest::newRow("browser starts") << true << "";
    QTest::newRow("no browser") << false << "BROWSER DID NOT START";
}

void TstQrzLookupWindow::withoutLoginOpensTheBrowser()
{
    QFETCH(bool, starts);
    QFETCH(QString, status);
    fakes_->browser.starts = starts;
    auto w = open();
    unknown(*w, "K2NEW");
    fakes_->sound.played.clear();
    w->lblStatus->clear();
    rightClick(*w, 0);
    QCOMPARE(w->txtCall->text(), QString("K2NEW"));
    QCOMPARE(fakes_->browser.opened.size(), 1);
    QCOMPARE(fakes_->browser.opened[0].toString(), QString("https://www.qrz.com/db/K2NEW"));
    QVERIFY(http_.requested.isEmpty());
    QCOMPARE(w->lblStatus->text().trimmed(), status);
    QCOMPARE(fakes_->sound.played.isEmpty(), starts);
}

void TstQrzLookupWindow::lookupFillsTheEditor()
{
    login();
    http_.set("https://xmldata.qrz.com/xml/current/?s=abc123;callsign=K2NEW",
              "<Callsign><call>K2NEW</call><fname>Mary Ann</fname><addr2>Albany</addr2><state>NY</state></Callsign>");
    auto w = open();
    unknown(*w, "K2NEW");
    rightClick(*w, 0);
    QCOMPARE(w->lblMode->text(), QString("ADD"));
    QCOMPARE(w->txtCall->text(), QString("K2NEW"));
    QTRY_COMPARE(w->txtName->text(), QString("MARY"));
    QCOMPARE(w->TxtCS->text(), QString("ALBANY NY"));
    QVERIFY(w->cmdSave->isEnabled());
    QCOMPARE(settings_->GetSetting("Settings", "QRZ Key"), QString("s=abc123;"));
    // Saving adds the member and checks the station in.
    QTest::mouseClick(w->cmdSave, Qt::LeftButton);
    QCOMPARE(w->memberTable().FindCall("K2NEW"), 2);
    QCOMPARE(w->lst1->count(), 1);
}

void TstQrzLookupWindow::unknownCallTurnsRedThenRecovers()
{
    login();
    http_.set("https://xmldata.qrz.com/xml/current/?s=abc123;callsign=K2ZZZ", "<Error>Not found: K2ZZZ</Error>");
    http_.set("https://xmldata.qrz.com/xml/current/?s=abc123;callsign=K2NEW",
              "<call>K2NEW</call><fname>Ann</fname><addr2>Jackson</addr2><state>MS</state>");
    auto w = open();
    unknown(*w, "K2ZZZ");
    unknown(*w, "K2NEW");
    rightClick(*w, 0);
    QCOMPARE(w->txtCall->text(), QString("K2ZZZ"));
    QTRY_COMPARE(w->txtName->text(), QString(" NOT FOUND "));
    QCOMPARE(Ui::textColour(w->txtCall), QColor(Qt::red));
    QVERIFY(!w->cmdSave->isEnabled());
    rightClick(*w, 1);
    QCOMPARE(Ui::textColour(w->txtCall), QColor(Qt::black));
    QTRY_COMPARE(w->txtName->text(), QString("ANN"));
    QVERIFY(w->cmdSave->isEnabled());
    QCOMPARE(w->TxtCS->text(), QString("JACKSON"));  // the state MS is not added
}

void TstQrzLookupWindow::leftClickWithLoginWaitsForTheLookup()
{
    login();
    auto w = open();
    unknown(*w, "K2NEW");
    QTest::mouseClick(w->lstNF->viewport(), Qt::LeftButton, {}, w->lstNF->visualItemRect(w->lstNF->item(0)).center());
    QCOMPARE(w->session().editor().pendingInsert(), 2);
    QVERIFY(w->cmdCancel->isEnabled());
    QCOMPARE(w->lblMode->text(), QString());
    QVERIFY(http_.requested.isEmpty());
}

void TstQrzLookupWindow::windowStaysLiveWhileTheCallbookIsSlow()
{
    login();
    const QString address = "https://xmldata.qrz.com/xml/current/?s=abc123;callsign=K2NEW";
    http_.set(address, "<Callsign><call>K2NEW</call><fname>Mary</fname><addr2>Albany</addr2><state>NY</state></Callsign>");
    http_.hold(address);
    auto w = open();
    unknown(*w, "K2NEW");
    rightClick(*w, 0);
    // The click has returned while the server still holds the reply.
    QCOMPARE(w->lblMode->text(), QString("ADD"));
    QCOMPARE(w->txtCall->text(), QString("K2NEW"));
    QCOMPARE(w->txtName->text(), QString());
    QVERIFY(!w->cmdSave->isEnabled());
    bool turned = false;
    QTimer::singleShot(10, this, [&] { turned = true; });
    QTRY_VERIFY(turned);
    QTRY_COMPARE(http_.waiting(), 1);
    // The net goes on meanwhile.
    unknown(*w, "W1AW");
    QCOMPARE(w->lst1->count(), 1);
    QCOMPARE(w->lblChkins->text(), QString("1"));

    http_.release();
    QTRY_COMPARE(w->txtName->text(), QString("MARY"));
    QCOMPARE(w->TxtCS->text(), QString("ALBANY NY"));
    QVERIFY(w->cmdSave->isEnabled());
    QVERIFY(w->lblStatus->text().contains("K2NEW FROM QRZ"));
}

void TstQrzLookupWindow::answerDroppedWhenTheEditorNoLongerWaits_data()
{
    QTest::addColumn<QString>("then");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("name");
    QTest::newRow("cancel") << "cancel" << "" << "" << "";
    QTest::newRow("another call looked up") << "other" << "ADD" << "K2ZZZ" << "ZED";
    QTest::newRow("plain add") << "add" << "ADD" << "" << "";
}

void TstQrzLookupWindow::answerDroppedWhenTheEditorNoLongerWaits()
{
    QFETCH(QString, then);
    login();
    const QString address = "https://xmldata.qrz.com/xml/current/?s=abc123;callsign=K2NEW";
    http_.set(address, "<Callsign><call>K2NEW</call><fname>Mary</fname></Callsign>");
    http_.hold(address);
    http_.set("https://xmldata.qrz.com/xml/current/?s=abc123;callsign=K2ZZZ",
              "<Callsign><call>K2ZZZ</call><fname>Zed</fname></Callsign>");
    auto w = open();
    unknown(*w, "K2NEW");
    unknown(*w, "K2ZZZ");
    rightClick(*w, 0);
    QTRY_COMPARE(http_.waiting(), 1);
    if (then == "cancel")
        QTest::mouseClick(w->cmdCancel, Qt::LeftButton);
    else if (then == "other")
        rightClick(*w, 1);
    else
        w->mnuEditAdd->trigger();
    QTest::qWait(20);
    http_.release();
    QTest::qWait(20);
    QTEST(w->lblMode->text(), "mode");
    QTEST(w->txtCall->text(), "call");
    QTEST(w->txtName->text(), "name");
    QVERIFY(!w->lblStatus->text().contains("K2NEW FROM"));
}

void TstQrzLookupWindow::stalledServerNeverHoldsTheWindow()
{
    HttpTestServer server;
    server.stall("/xml/current/");
    QtHttpClient client;
    fakes_->platform.http = &client;
    settings_->SaveSetting("Servers", "QrzXml", server.base());
    settings_->SaveSetting("Settings", "QRZ ID", "username=me;");
    settings_->SaveSetting("Settings", "QRZ PW", "password=secret");
    {
        auto w = open();
        unknown(*w, "K2NEW");
        QElapsedTimer clock;
        clock.start();
        rightClick(*w, 0);
        QVERIFY(clock.elapsed() < 1000);
        QTRY_COMPARE(server.requests().size(), 1);  // the login, held by the server
        unknown(*w, "W1AW");
        QCOMPARE(w->lst1->count(), 1);
        QTest::mouseClick(w->cmdCancel, Qt::LeftButton);
        QCOMPARE(w->lblMode->text(), QString());
        // Closing the window with the transfer still open is safe.
    }
    QTest::qWait(20);
}

void TstQrzLookupWindow::hamQthAnswersWhenQrzRefuses()
{
    settings_->SaveSetting("Settings", "QRZ ID", "username=me;");
    settings_->SaveSetting("Settings", "QRZ PW", "password=secret");
    settings_->SaveSetting("Settings", "HamQTH ID", "me");
    settings_->SaveSetting("Settings", "HamQTH PW", "free");
    http_.set("https://xmldata.qrz.com/xml/current/?username=me;password=secret",
              "<QRZDatabase><Session><Error>Username/password incorrect</Error></Session></QRZDatabase>");
    http_.set("https://www.hamqth.com/xml.php?u=me&p=free",
              "<HamQTH><session><session_id>s9</session_id></session></HamQTH>");
    http_.set("https://www.hamqth.com/xml.php?id=s9&callsign=K2NEW&prg=VELN",
              "<HamQTH><search><callsign>k2new</callsign><nick>Mary</nick><adr_city>Albany</adr_city>"
              "<us_state>NY</us_state></search></HamQTH>");
    auto w = open();
    unknown(*w, "K2NEW");
    rightClick(*w, 0);
    QTRY_COMPARE(w->txtName->text(), QString("MARY"));
    QCOMPARE(w->TxtCS->text(), QString("ALBANY NY"));
    QVERIFY(w->cmdSave->isEnabled());
    QVERIFY(w->lblStatus->text().contains("K2NEW FROM HAMQTH"));
}

void TstQrzLookupWindow::repeatedCallFilledFromTheCacheOffline()
{
    login();
    http_.set("https://xmldata.qrz.com/xml/current/?s=abc123;callsign=K2NEW",
              "<Callsign><call>K2NEW</call><fname>Mary</fname><addr2>Albany</addr2><state>NY</state></Callsign>");
    {
        auto w = open();
        unknown(*w, "K2NEW");
        rightClick(*w, 0);
        QTRY_COMPARE(w->txtName->text(), QString("MARY"));
    }
    QVERIFY(QFile::exists(state_.paths.callbookCache));
    // The next start, with the network gone.
    http_.script.clear();
    http_.requested.clear();
    auto w = open();
    QApplication::setActiveWindow(w.get());
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    unknown(*w, "K2NEW");
    rightClick(*w, 0);
    QTRY_COMPARE(w->txtName->text(), QString("MARY"));
    QCOMPARE(w->TxtCS->text(), QString("ALBANY NY"));
    QVERIFY(w->lblStatus->text().contains("K2NEW FROM CACHE"));
    QVERIFY(http_.requested.isEmpty());
}

void TstQrzLookupWindow::changeLoginFromTheMenu()
{
    settings_->SaveSetting("Settings", "chkNoShow", "1");
    auto w = open();
    QVERIFY(fakes_->keyboard.caps);  // the net runs with Caps Lock on
    bool seen = false;
    bool capsWhileOpen = true;
    QTimer::singleShot(50, this, [&] {
        auto* d = qobject_cast<frmQRZ*>(QApplication::activeModalWidget());
        seen = d != nullptr;
        capsWhileOpen = fakes_->keyboard.caps;
        if (QWidget* m = QApplication::activeModalWidget())
            m->close();
    });
    w->mnuOptionsChangeQRZLogin->trigger();
    QVERIFY(seen);
    // Passwords are typed as they are, and the net goes on in capitals.
    QVERIFY(!capsWhileOpen);
    QVERIFY(fakes_->keyboard.caps);
    QCOMPARE(settings_->GetSetting("Settings", "chkNoShow"), QString("1"));  // closing it stored nothing
    QVERIFY(!w->mnuOptionsChangeQRZLogin->isChecked());
}

void TstQrzLookupWindow::newLoginForgetsCallsNobodyKnew()
{
    login();
    http_.set("https://xmldata.qrz.com/xml/current/?s=abc123;callsign=K2ZZZ",
              "<QRZDatabase><Session><Error>Not found: K2ZZZ</Error><Key>abc123</Key></Session></QRZDatabase>");
    auto w = open();
    unknown(*w, "K2ZZZ");
    rightClick(*w, 0);
    const QString cacheFile = state_.paths.callbookCache;
    const auto cached = [&cacheFile] {
        QFile f(cacheFile);
        return f.open(QIODevice::ReadOnly) && f.readAll().contains("K2ZZZ");
    };
    QTRY_VERIFY(cached());
    QTimer::singleShot(50, this, [] {
        if (auto* d = qobject_cast<frmQRZ*>(QApplication::activeModalWidget())) {
            d->txtUserID->setText("me");
            d->txtQrzPassWrd->setText("n3w");
            d->cmdOK_Click();
        } else if (QWidget* m = QApplication::activeModalWidget()) {
            m->close();
        }
    });
    w->mnuOptionsChangeQRZLogin->trigger();
    QCOMPARE(settings_->GetSetting("Settings", "QRZ PW"), QString("password=n3w"));
    QVERIFY(!cached());
}

void TstQrzLookupWindow::aboutStaysBesideTheWindow()
{
    auto w = open();
    w->mnuAbout->trigger();
    auto* about = w->findChild<frmAbout*>();
    QVERIFY(about);
    QVERIFY(about->isVisible());
    QVERIFY(!about->isModal());
    QCOMPARE(about->windowTitle(), QString("TSN NET - ABOUT"));
    about->close();
    w->mnuAbout->trigger();  // a second click shows the same window again
    w->mnuAbout->trigger();
    QCOMPARE(w->findChildren<frmAbout*>().size(), 1);
    QVERIFY(about->isVisible());
}

VELN_TEST(TstQrzLookupWindow)
#include "tst_qrz_lookup_window.moc"
