#include "core/settings_store.h"
#include "members/net_manager.h"
#include "test_home.h"
#include "test_main.h"
#include "widget_checks.h"
#include "ui/frm_net_ctl.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

// Every visible control has at least the room its caption needs, lies inside
// its parent and overlaps none of its siblings.

}  // namespace

class TstNetCtlDialog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void controlsAndCaptions();
    void loadFillsBoxesOnlyWhenLabelShowsAManager_data();
    void loadFillsBoxesOnlyWhenLabelShowsAManager();
    void change_data();
    void change();
    void changeWithEmptyNameGivesDefaultAtNextStart();
    void changedManagerShownWhenOpenedAgain();
    void clearThenCloseStaysOpen();
    void closeNeedsAName_data();
    void closeNeedsAName();
    void focusReturnsOnlyWhenNotFromMenu_data();
    void focusReturnsOnlyWhenNotFromMenu();
    void leavingABoxUpperCases();
    void enterMovesOnThenChanges();
    void altNCItemsDoNothing();
    void centredOnScreen();
    void layoutAndPicture();

private:
    std::unique_ptr<FrmNetCtl> open(const NetManager& current, const QString& caption);
    static void activate(QWidget* w)
    {
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<SettingsStore> settings_;
    const NetManager stored_{"ANN LEE", "KB1ABC"};
};

void TstNetCtlDialog::init()
{
    home_ = std::make_unique<TestHome>();
    settings_ = std::make_unique<SettingsStore>(home_->settingsFile());
    StoreNetManager(*settings_, stored_);
}

void TstNetCtlDialog::cleanup()
{
    settings_.reset();
    home_.reset();
}

std::unique_ptr<FrmNetCtl> TstNetCtlDialog::open(const NetManager& current, const QString& caption)
{
    auto d = std::make_unique<FrmNetCtl>(*settings_, current, caption);
    d->show();
    if (!QTest::qWaitForWindowExposed(d.get()))
        qWarning("dialog not exposed");
    return d;
}

void TstNetCtlDialog::controlsAndCaptions()
{
    auto d = open(stored_, IdentityCaption(stored_.name, stored_.call));
    QCOMPARE(d->windowTitle(), QString("Change NET CONTROL/MANAGER"));
    QCOMPARE(d->findChild<QGroupBox*>("FraNetMgr"), d->FraNetMgr);
    QCOMPARE(d->FraNetMgr->title(), QString("NET MANAGER"));
    struct Caption {
        const char* name;
        QString text;
    };
    for (const Caption& c : {Caption{"Label2", "NAME"}, Caption{"Label1", "CALL"}}) {
        auto* l = d->findChild<QLabel*>(c.name);
        QVERIFY2(l, c.name);
        QCOMPARE(l->text(), c.text);
    }
    for (const Caption& c :
         {Caption{"cmdChange", "CHANGE"}, Caption{"CmdClrNM", "&CLEAR"}, Caption{"cmdClose", "CLOSE"}}) {
        auto* b = d->findChild<QPushButton*>(c.name);
        QVERIFY2(b, c.name);
        QCOMPARE(b->text(), c.text);
    }
    QCOMPARE(d->findChild<QLineEdit*>("TxtMgrName"), d->TxtMgrName);
    QCOMPARE(d->findChild<QLineEdit*>("TxtMgrCall"), d->TxtMgrCall);
    QCOMPARE(d->findChild<QLabel*>("Label2"), d->Label2);
    QCOMPARE(d->findChild<QPushButton*>("cmdChange"), d->cmdChange);

    auto* menu = d->findChild<QMenu*>("mnuAltNC");
    QCOMPARE(menu, d->mnuAltNC);
    QCOMPARE(menu->title(), QString("&AltNC"));
    QVERIFY(d->menuBar->actions().contains(menu->menuAction()));
    QStringList items;
    for (QAction* a : menu->actions())
        items << a->text();
    QCOMPARE(items, QStringList({"&Edit", "&Delete"}));
}

void TstNetCtlDialog::loadFillsBoxesOnlyWhenLabelShowsAManager_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("call");
    QTest::newRow("label shows the manager") << "ANN LEE   KB1ABC" << "ANN LEE" << "KB1ABC";
    QTest::newRow("empty label") << "" << "" << "";
}

void TstNetCtlDialog::loadFillsBoxesOnlyWhenLabelShowsAManager()
{
    QFETCH(QString, caption);
    QFETCH(QString, name);
    QFETCH(QString, call);
    auto d = open(stored_, caption);
    QCOMPARE(d->TxtMgrName->text(), name);
    QCOMPARE(d->TxtMgrCall->text(), call);
}

void TstNetCtlDialog::change_data()
{
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<QString>("typedCall");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("call");
    QTest::newRow("lower case comes back upper case") << "jo smith" << "k9xyz" << true << "JO SMITH" << "K9XYZ";
    QTest::newRow("empty call with a name: nothing") << "JO SMITH" << "" << false << "ANN LEE" << "KB1ABC";
    QTest::newRow("both empty: nothing") << "" << "" << false << "ANN LEE" << "KB1ABC";
    QTest::newRow("empty name with a call is stored") << "" << "w0abc" << true << "" << "W0ABC";
    QTest::newRow("any call is taken") << "Jo" << "not a call" << true << "JO" << "NOT A CALL";
}

void TstNetCtlDialog::change()
{
    QFETCH(QString, typedName);
    QFETCH(QString, typedCall);
    QFETCH(bool, changed);
    QFETCH(QString, name);
    QFETCH(QString, call);
    auto d = open(stored_, IdentityCaption(stored_.name, stored_.call));
    QSignalSpy spy(d.get(), &FrmNetCtl::managerChanged);
    d->CmdClrNM_Click();
    d->TxtMgrName->setText(typedName);
    d->TxtMgrCall->setText(typedCall);
    d->cmdChange->click();

    QCOMPARE(settings_->GetSetting("Settings", "NetMgr", "missing"), name);
    QCOMPARE(settings_->GetSetting("Settings", "NetMgrCall", "missing"), call);
    QCOMPARE(d->current(), (NetManager{name, call}));
    if (changed) {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), name);
        QCOMPARE(spy.at(0).at(1).toString(), call);
        QCOMPARE(d->TxtMgrCall->text(), call);
    } else {
        QCOMPARE(spy.count(), 0);
        QCOMPARE(d->TxtMgrName->text(), typedName);  // the entries stay as typed
    }
    QVERIFY(d->isVisible());  // Change never closes the dialog
}

void TstNetCtlDialog::changeWithEmptyNameGivesDefaultAtNextStart()
{
    {
        auto d = open(stored_, IdentityCaption(stored_.name, stored_.call));
        d->TxtMgrName->clear();
        d->TxtMgrCall->setText("W0ABC");
        d->cmdChange_Click();
        QCOMPARE(settings_->GetSetting("Settings", "NetMgr", "missing"), QString());
    }
    settings_.reset();
    SettingsStore next(home_->settingsFile());
    QCOMPARE(EnsureNetManager(next), (NetManager{kDefaultNetManagerName, kDefaultNetManagerCall}));
}

void TstNetCtlDialog::changedManagerShownWhenOpenedAgain()
{
    auto d = open(stored_, IdentityCaption(stored_.name, stored_.call));
    d->TxtMgrName->setText("JO SMITH");
    d->TxtMgrCall->setText("K9XYZ");
    d->cmdChange_Click();
    d->CmdClrNM_Click();
    d->close();  // the close box
    QVERIFY(!d->isVisible());
    d->show();
    QCOMPARE(d->TxtMgrName->text(), QString("JO SMITH"));
    QCOMPARE(d->TxtMgrCall->text(), QString("K9XYZ"));

    // A dialog made afresh from what the main window now shows.
    const NetManager now = d->current();
    auto again = open(now, IdentityCaption(now.name, now.call));
    QCOMPARE(again->TxtMgrName->text(), QString("JO SMITH"));
    QCOMPARE(again->TxtMgrCall->text(), QString("K9XYZ"));
}

void TstNetCtlDialog::clearThenCloseStaysOpen()
{
    auto d = open(stored_, IdentityCaption(stored_.name, stored_.call));
    QSignalSpy changed(d.get(), &FrmNetCtl::managerChanged);
    QSignalSpy focus(d.get(), &FrmNetCtl::returnFocusToCheckIn);
    QTest::mouseClick(d->CmdClrNM, Qt::LeftButton);
    QCOMPARE(d->TxtMgrName->text(), QString());
    QCOMPARE(d->TxtMgrCall->text(), QString());
    QTest::mouseClick(d->cmdClose, Qt::LeftButton);
    QVERIFY(d->isVisible());
    QCOMPARE(focus.count(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(settings_->GetSetting("Settings", "NetMgr"), stored_.name);
    QCOMPARE(settings_->GetSetting("Settings", "NetMgrCall"), stored_.call);
}

void TstNetCtlDialog::closeNeedsAName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("call");
    QTest::addColumn<bool>("closes");
    QTest::newRow("name and call") << "JO" << "K9XYZ" << true;
    QTest::newRow("name without call") << "JO" << "" << true;
    QTest::newRow("call without name") << "" << "K9XYZ" << false;
    QTest::newRow("a blank is a name") << " " << "" << true;
}

void TstNetCtlDialog::closeNeedsAName()
{
    QFETCH(QString, name);
    QFETCH(QString, call);
    QFETCH(bool, closes);
    auto d = open(stored_, "");
    d->TxtMgrName->setText(name);
    d->TxtMgrCall->setText(call);
    QTest::mouseClick(d->cmdClose, Qt::LeftButton);
    QCOMPARE(d->isVisible(), !closes);
    if (closes)
        QCOMPARE(d->QDialog::result(), int(QDialog::Accepted));
}

void TstNetCtlDialog::focusReturnsOnlyWhenNotFromMenu_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("expected");
    QTest::newRow("button, CLOSE") << false << "CLOSE" << 1;
    QTest::newRow("button, close box") << false << "close box" << 1;
    QTest::newRow("button, Escape") << false << "Escape" << 1;
    QTest::newRow("menu, CLOSE") << true << "CLOSE" << 0;
    QTest::newRow("menu, close box") << true << "close box" << 0;
    QTest::newRow("menu, Escape") << true << "Escape" << 0;
}

void TstNetCtlDialog::focusReturnsOnlyWhenNotFromMenu()
{
    QFETCH(bool, fromMenu);
    QFETCH(QString, how);
    QFETCH(int, expected);
    auto d = std::make_unique<FrmNetCtl>(*settings_, stored_, IdentityCaption(stored_.name, stored_.call));
    d->setOpenedFromMenu(fromMenu);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    QSignalSpy focus(d.get(), &FrmNetCtl::returnFocusToCheckIn);
    if (how == "CLOSE")
        QTest::mouseClick(d->cmdClose, Qt::LeftButton);
    else if (how == "Escape")
        QTest::keyClick(d->TxtMgrName, Qt::Key_Escape);
    else
        QVERIFY(d->close());
    QVERIFY(!d->isVisible());
    QCOMPARE(focus.count(), expected);
    QVERIFY(!d->openedFromMenu());

    // The flag served one opening: the next one (from the frame) gives the focus back.
    d->show();
    d->close();
    QCOMPARE(focus.count(), expected + 1);
}

void TstNetCtlDialog::leavingABoxUpperCases()
{
    auto d = open({}, "");
    activate(d.get());
    QTRY_VERIFY(d->TxtMgrName->hasFocus());
    QTest::keyClicks(d->TxtMgrName, "jo smith");
    QTest::keyClick(d->TxtMgrName, Qt::Key_Tab);
    QVERIFY(d->TxtMgrCall->hasFocus());
    QCOMPARE(d->TxtMgrName->text(), QString("JO SMITH"));
    QTest::keyClicks(d->TxtMgrCall, "k9xyz");
    QCOMPARE(d->TxtMgrCall->text(), QString("k9xyz"));  // as typed until the box is left
    QTest::keyClick(d->TxtMgrCall, Qt::Key_Tab);
    QCOMPARE(d->TxtMgrCall->text(), QString("K9XYZ"));
    // Leaving stores nothing.
    QCOMPARE(settings_->GetSetting("Settings", "NetMgrCall"), stored_.call);
}

void TstNetCtlDialog::enterMovesOnThenChanges()
{
    auto d = open({}, "");
    activate(d.get());
    QSignalSpy changed(d.get(), &FrmNetCtl::managerChanged);
    QTRY_VERIFY(d->TxtMgrName->hasFocus());
    QTest::keyClicks(d->TxtMgrName, "jo smith");
    QTest::keyClick(d->TxtMgrName, Qt::Key_Return);
    QVERIFY(d->TxtMgrCall->hasFocus());
    QCOMPARE(changed.count(), 0);
    QTest::keyClicks(d->TxtMgrCall, "k9xyz");
    QTest::keyClick(d->TxtMgrCall, Qt::Key_Return);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(settings_->GetSetting("Settings", "NetMgr"), QString("JO SMITH"));
    QCOMPARE(settings_->GetSetting("Settings", "NetMgrCall"), QString("K9XYZ"));
    QVERIFY(d->isVisible());
}

void TstNetCtlDialog::altNCItemsDoNothing()
{
    auto d = open(stored_, IdentityCaption(stored_.name, stored_.call));
    QSignalSpy changed(d.get(), &FrmNetCtl::managerChanged);
    QSignalSpy focus(d.get(), &FrmNetCtl::returnFocusToCheckIn);
    for (QAction* a : d->mnuAltNC->actions())
        a->trigger();
    QVERIFY(d->isVisible());
    QCOMPARE(d->TxtMgrName->text(), stored_.name);
    QCOMPARE(d->TxtMgrCall->text(), stored_.call);
    QCOMPARE(changed.count() + focus.count(), 0);
    QCOMPARE(settings_->GetSetting("Settings", "NetMgr"), stored_.name);
}

void TstNetCtlDialog::centredOnScreen()
{
    auto d = open(stored_, "");
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = d->frameGeometry();
    QVERIFY2(qAbs(frame.center().x() - screen.center().x()) <= 1, qPrintable(QString::number(frame.x())));
    QVERIFY2(qAbs(frame.center().y() - screen.center().y()) <= 1, qPrintable(QString::number(frame.y())));
}

void TstNetCtlDialog::layoutAndPicture()
{
    auto d = open({"MARGARET WALLIN", "WB0WWW"}, "MARGARET WALLIN   WB0WWW");
    verifyNothingCutOff(d.get());
    // A member-length name and a full call are shown whole.
    for (QLineEdit* box : {d->TxtMgrName, d->TxtMgrCall}) {
        const int need = box->fontMetrics().horizontalAdvance(box->text());
        QVERIFY2(need + 8 <= box->width(), qPrintable(box->objectName()));
    }
    const QPixmap shot = d->grab();
    QVERIFY(!shot.isNull());
    const QString dir = qEnvironmentVariable("VELN_SHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(shot.save(dir + "/FrmNetCtl.png"));
}

VELN_TEST(TstNetCtlDialog)
#include "tst_net_ctl_dialog.moc"
