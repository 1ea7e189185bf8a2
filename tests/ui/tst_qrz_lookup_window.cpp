#include "core/settings_store.h"
#include "fake_http.h"
#include "fakes.h"
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
#include <QTimer>
#include <memory>

// The right-button QRZ lookup on an unknown call, as the main window runs it.
class TstQrzLookupWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void withoutLoginOpensTheBrowser();
    void lookupFillsTheEditor();
    void unknownCallTurnsRedThenRecovers();
    void leftClickWithLoginWaitsForTheLookup();
    void changeLoginFromTheMenu();
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

void TstQrzLookupWindow::withoutLoginOpensTheBrowser()
{
    auto w = open();
    unknown(*w, "K2NEW");
    rightClick(*w, 0);
    QCOMPARE(w->txtCall->text(), QString("K2NEW"));
    QCOMPARE(fakes_->browser.opened.size(), 1);
    QCOMPARE(fakes_->browser.opened[0].toString(), QString("https://www.qrz.com/db/K2NEW"));
    QVERIFY(http_.requested.isEmpty());
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
    QCOMPARE(w->txtName->text(), QString("MARY"));
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
    QCOMPARE(w->txtName->text(), QString(" NOT FOUND "));
    QCOMPARE(Ui::textColour(w->txtCall), QColor(Qt::red));
    QVERIFY(!w->cmdSave->isEnabled());
    rightClick(*w, 1);
    QCOMPARE(Ui::textColour(w->txtCall), QColor(Qt::black));
    QVERIFY(w->cmdSave->isEnabled());
    QCOMPARE(w->txtName->text(), QString("ANN"));
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

void TstQrzLookupWindow::changeLoginFromTheMenu()
{
    settings_->SaveSetting("Settings", "chkNoShow", "1");
    auto w = open();
    bool seen = false;
    QTimer::singleShot(50, this, [&] {
        auto* d = qobject_cast<frmQRZ*>(QApplication::activeModalWidget());
        seen = d != nullptr;
        if (QWidget* m = QApplication::activeModalWidget())
            m->close();
    });
    w->mnuOptionsChangeQRZLogin->trigger();
    QVERIFY(seen);
    QCOMPARE(settings_->GetSetting("Settings", "chkNoShow"), QString("1"));  // closing it stored nothing
    QVERIFY(!w->mnuOptionsChangeQRZLogin->isChecked());
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
