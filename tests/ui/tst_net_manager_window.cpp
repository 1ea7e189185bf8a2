#include "core/settings_store.h"
#include "fakes.h"
#include "member_files.h"
#include "test_home.h"
#include "test_main.h"
#include "ui/frm_main.h"
#include "ui/frm_net_ctl.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

// The net manager dialog as the main window opens it.
class TstNetManagerWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void fromTheMenuModal();
    void fromTheButtonModeless();

private:
    std::unique_ptr<TestHome> home_;
    std::unique_ptr<FakePlatform> fakes_;
    std::unique_ptr<SettingsStore> settings_;
    ProgramState state_;
};

void TstNetManagerWindow::init()
{
    home_ = std::make_unique<TestHome>();
    fakes_ = std::make_unique<FakePlatform>();
    state_ = ProgramState();
    state_.paths = Paths::forCurrentUser();
    state_.netManagerName = "PAT";
    state_.netManagerCall = "W0VEL";
    settings_ = std::make_unique<SettingsStore>(state_.paths.settingsFile);
    writeMemberFile(home_->memberFile(), {});
}

void TstNetManagerWindow::cleanup()
{
    settings_.reset();
    fakes_.reset();
    home_.reset();
}

void TstNetManagerWindow::fromTheMenuModal()
{
    frmMain w(fakes_->platform, state_, *settings_);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.lblNetMgr->text(), QString("PAT   W0VEL"));
    bool wasModal = false;
    QTimer::singleShot(50, this, [&] {
        auto* d = qobject_cast<FrmNetCtl*>(QApplication::activeModalWidget());
        QVERIFY(d);
        wasModal = true;
        QCOMPARE(d->TxtMgrName->text(), QString("PAT"));
        d->TxtMgrName->setText("LEE");
        d->TxtMgrCall->setText("n2lee");
        d->cmdChange_Click();
        d->cmdClose_Click();
    });
    w.mnuChgCtl->trigger();
    QVERIFY(wasModal);
    QCOMPARE(w.lblNetMgr->text(), QString("LEE   N2LEE"));
    QCOMPARE(settings_->GetSetting("Settings", "NetMgrCall"), QString("N2LEE"));
    QCOMPARE(state_.netManagerName, QString("LEE"));
}

void TstNetManagerWindow::fromTheButtonModeless()
{
    frmMain w(fakes_->platform, state_, *settings_);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.CmdChange_Click();
    auto* d = w.findChild<FrmNetCtl*>();
    QVERIFY(d);
    QVERIFY(d->isVisible());
    QVERIFY(!d->isModal());
    w.CmdChange_Click();  // a second click brings the same dialog forward
    QCOMPARE(w.findChildren<FrmNetCtl*>().size(), 1);
    d->TxtMgrCall->setText("K0NEW");
    d->cmdChange_Click();
    QCOMPARE(w.lblNetMgr->text(), QString("PAT   K0NEW"));
    w.txtName->setFocus();
    d->cmdClose_Click();
    QTRY_VERIFY(w.findChildren<FrmNetCtl*>().isEmpty());
    QCOMPARE(w.focusWidget(), static_cast<QWidget*>(w.TxtChkin));
}

VELN_TEST(TstNetManagerWindow)
#include "tst_net_manager_window.moc"
