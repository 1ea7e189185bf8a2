#include "core/settings_store.h"
#include "fake_keyring.h"
#include "lookup/password_vault.h"
#include "ui/fit_widgets.h"
#include "test_home.h"
#include "test_main.h"
#include "ui/frm_qrz.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QScopeGuard>
#include <QTimer>
#include <memory>

class TstQrzDialog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void controlsAndCaptions_data();
    void controlsAndCaptions();
    void explanationText();
    void loadState();
    void leavingPasswordBox_data();
    void leavingPasswordBox();
    void tickAndUntickSaveAtOnce();
    void tickLockedOnceThePasswordBoxWasLeft();
    void okStoresQueryFragments();
    void okWithoutIdStoresNothing();
    void okStoresEachLogin_data();
    void okStoresEachLogin();
    void okWithEmptiedPasswordKeepsIdOnly();
    void cancelStoresNothing();
    void closeBoxStoresNothing();
    void keyboardOnly();
    void prepareForChange_data();
    void prepareForChange();
    void changeFromMenu_data();
    void changeFromMenu();
    void modalRunEndsWithOk();
    void layout_data();
    void layout();

private:
    std::unique_ptr<frmQRZ> open();
    QString get(const QString& key) const
    {
        return store_->GetSetting(QStringLiteral("Settings"), key, QStringLiteral("<none>"));
    }
    // The password box loses the focus to the id box, as a click there does.
    void leavePasswordBox(frmQRZ& d)
    {
        d.txtQrzPassWrd->setFocus(Qt::OtherFocusReason);
        d.txtUserID->setFocus(Qt::MouseFocusReason);
    }

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<SettingsStore> store_;
};

void TstQrzDialog::init()
{
    home_ = std::make_unique<TestHome>();
    store_ = std::make_unique<SettingsStore>(home_->settingsFile());
}

void TstQrzDialog::cleanup()
{
    store_.reset();
    home_.reset();
}

std::unique_ptr<frmQRZ> TstQrzDialog::open()
{
    auto d = std::make_unique<frmQRZ>(*store_);
    d->show();
    QApplication::setActiveWindow(d.get());
    if (!QTest::qWaitForWindowActive(d.get()))
        qWarning("dialog not active");
    return d;
}

void TstQrzDialog::controlsAndCaptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("fraQRZ") << "fraQRZ" << "QRZ LOGIN";
    QTest::newRow("LabelUserID") << "LabelUserID" << "USER ID";
    QTest::newRow("lblQRZPassword") << "lblQRZPassword" << " Password";
    QTest::newRow("fraHamQth") << "fraHamQth" << "HAMQTH LOGIN";
    QTest::newRow("LabelHamQthUser") << "LabelHamQthUser" << "USER ID";
    QTest::newRow("lblHamQthPassword") << "lblHamQthPassword" << " Password";
    QTest::newRow("lblWhereKept") << "lblWhereKept" << "Passwords are kept in the settings file, readable by you alone.";
    QTest::newRow("chkNoShow") << "chkNoShow" << "DO NOT ASK AGAIN";
    QTest::newRow("cmdOK") << "cmdOK" << "OK";
    QTest::newRow("cmdCancel") << "cmdCancel" << "CANCEL";
}

void TstQrzDialog::controlsAndCaptions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    auto d = open();
    QCOMPARE(d->windowTitle(), QStringLiteral("QRZ LOGIN"));
    QWidget* w = d->findChild<QWidget*>(name);
    QVERIFY2(w, qPrintable(name));
    QString text;
    if (auto* l = qobject_cast<QLabel*>(w))
        text = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        text = b->text();
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        text = g->title();
    QCOMPARE(text, caption);
}

void TstQrzDialog::explanationText()
{
    const QString& t = frmQRZ::kTitleText;
    const QStringList paragraphs = t.split(QStringLiteral("\r\n"));
    QCOMPARE(paragraphs.size(), 2);
    QVERIFY(paragraphs[0].startsWith(
        QStringLiteral("This build changes the way the program will present the data retrived from QRZ.")));
    QVERIFY(paragraphs[0].endsWith(
        QStringLiteral(" password to enable the OK button. Click CANCEL to skip the feature.")));
    QCOMPARE(paragraphs[1], QStringLiteral("NOTICE IF YOU DO NOT WISH TO USE THIS FEATURE CHECK THE DO NOT ASK AGAIN "
                                           "BOX BEFORE YOU CLICK ON CANCEL. OTHERWISE THE PROGRAM WILL ASK EVERY "
                                           "TIME IT RUNS."));

    auto d = open();
    QVERIFY(d->TxtTitle->isReadOnly());
    QCOMPARE(d->TxtTitle->document()->blockCount(), 2);
    QCOMPARE(d->TxtTitle->document()->findBlockByNumber(0).text(), paragraphs[0]);
    QCOMPARE(d->TxtTitle->document()->findBlockByNumber(1).text(), paragraphs[1]);
}

void TstQrzDialog::loadState()
{
    auto d = open();
    QVERIFY(!d->cmdOK->isEnabled());
    QVERIFY(d->cmdCancel->isEnabled());
    QVERIFY(d->chkNoShow->isEnabled());
    QVERIFY(!d->chkNoShow->isChecked());
    QVERIFY(d->txtUserID->text().isEmpty());
    QVERIFY(d->txtQrzPassWrd->text().isEmpty());
    QCOMPARE(d->txtQrzPassWrd->echoMode(), QLineEdit::Password);
    QVERIFY(!d->Label1->text().isEmpty());
    QCOMPARE(d->Label1->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(QApplication::focusWidget(), d->txtUserID);
}

void TstQrzDialog::leavingPasswordBox_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("okEnabled");
    QTest::newRow("typed") << "pa55" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("a blank") << " " << true;
}

void TstQrzDialog::leavingPasswordBox()
{
    QFETCH(QString, password);
    auto d = open();
    d->txtQrzPassWrd->setText(password);
    leavePasswordBox(*d);
    QTEST(d->cmdOK->isEnabled(), "okEnabled");
    QVERIFY(!d->chkNoShow->isEnabled());
    QCOMPARE(get(QStringLiteral("chkNoShow")), QStringLiteral("<none>"));
}

void TstQrzDialog::tickAndUntickSaveAtOnce()
{
    auto d = open();
    QTest::mouseClick(d->chkNoShow, Qt::LeftButton, {}, QPoint(8, d->chkNoShow->height() / 2));
    QVERIFY(d->chkNoShow->isChecked());
    QCOMPARE(get(QStringLiteral("chkNoShow")), QStringLiteral("1"));
    QTest::mouseClick(d->chkNoShow, Qt::LeftButton, {}, QPoint(8, d->chkNoShow->height() / 2));
    QCOMPARE(get(QStringLiteral("chkNoShow")), QStringLiteral("0"));
    // Still saved when the operator then cancels.
    QTest::mouseClick(d->chkNoShow, Qt::LeftButton, {}, QPoint(8, d->chkNoShow->height() / 2));
    d->cmdCancel->click();
    QCOMPARE(get(QStringLiteral("chkNoShow")), QStringLiteral("1"));
}

void TstQrzDialog::tickLockedOnceThePasswordBoxWasLeft()
{
    auto d = open();
    leavePasswordBox(*d);
    QTest::mouseClick(d->chkNoShow, Qt::LeftButton, {}, QPoint(8, d->chkNoShow->height() / 2));
    QVERIFY(!d->chkNoShow->isChecked());
    // A tick set from code while disabled is not saved either.
    d->chkNoShow->setChecked(true);
    QCOMPARE(get(QStringLiteral("chkNoShow")), QStringLiteral("<none>"));
}

void TstQrzDialog::okStoresQueryFragments()
{
    auto d = open();
    d->txtUserID->setText(QStringLiteral("k0abc"));
    d->txtQrzPassWrd->setText(QStringLiteral("s3cret;x y"));
    leavePasswordBox(*d);
    d->cmdOK->click();
    QCOMPARE(get(QStringLiteral("QRZ ID")), QStringLiteral("username=k0abc;"));
    QCOMPARE(get(QStringLiteral("QRZ PW")), QStringLiteral("password=s3cret;x y"));
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QVERIFY(!d->isVisible());
    SettingsStore reread(home_->settingsFile());
    QCOMPARE(reread.GetSetting(QStringLiteral("Settings"), QStringLiteral("QRZ PW")),
             QStringLiteral("password=s3cret;x y"));
}

void TstQrzDialog::okWithoutIdStoresNothing()
{
    auto d = open();
    d->txtQrzPassWrd->setText(QStringLiteral("pw"));
    leavePasswordBox(*d);
    d->txtQrzPassWrd->setFocus();
    d->cmdOK->click();
    QCOMPARE(get(QStringLiteral("QRZ ID")), QStringLiteral("<none>"));
    QCOMPARE(get(QStringLiteral("QRZ PW")), QStringLiteral("<none>"));
    QVERIFY(d->isVisible());
    QCOMPARE(QApplication::focusWidget(), d->txtUserID);
}

void TstQrzDialog::okStoresEachLogin_data()
{
    QTest::addColumn<QStringList>("typed");  // QRZ id, QRZ password, HamQTH user, HamQTH password
    QTest::addColumn<QStringList>("stored");  // "QRZ ID", "QRZ PW", "HamQTH ID", "HamQTH PW" afterwards
    QTest::addColumn<QString>("focus");       // the box asked for; empty when the dialog closed
    const QStringList before{"username=OLD;", "password=old", "oldham", "oldpw"};
    QTest::newRow("QRZ only keeps HamQTH") << QStringList{"k0abc", "pw", "", ""}
                                           << QStringList{"username=k0abc;", "password=pw", "oldham", "oldpw"} << "";
    QTest::newRow("HamQTH only keeps QRZ") << QStringList{"", "", "k0abc", "h&m"}
                                           << QStringList{"username=OLD;", "password=old", "k0abc", "h&m"} << "";
    QTest::newRow("both") << QStringList{"k0abc", "pw", "k0ham", "hpw"}
                          << QStringList{"username=k0abc;", "password=pw", "k0ham", "hpw"} << "";
    QTest::newRow("HamQTH without password") << QStringList{"", "", "k0abc", ""} << before << "txtHamQthPassWrd";
    QTest::newRow("HamQTH without user") << QStringList{"", "", "", "hpw"} << before << "txtHamQthUser";
    QTest::newRow("QRZ without id beside HamQTH") << QStringList{"", "pw", "k0ham", "hpw"} << before << "txtUserID";
}

void TstQrzDialog::okStoresEachLogin()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, stored);
    QFETCH(QString, focus);
    const QStringList keys{"QRZ ID", "QRZ PW", "HamQTH ID", "HamQTH PW"};
    const QStringList before{"username=OLD;", "password=old", "oldham", "oldpw"};
    for (int i = 0; i < keys.size(); ++i)
        store_->SaveSetting(QStringLiteral("Settings"), keys[i], before[i]);
    auto d = open();
    d->txtUserID->setText(typed[0]);
    d->txtQrzPassWrd->setText(typed[1]);
    d->txtHamQthUser->setText(typed[2]);
    // Leaving the HamQTH password box with text enables OK as the QRZ one does;
    // a box emptied afterwards is asked for again.
    d->txtHamQthPassWrd->setText("x");
    QVERIFY(!d->cmdOK->isEnabled());
    d->txtHamQthPassWrd->setFocus(Qt::OtherFocusReason);
    d->txtUserID->setFocus(Qt::MouseFocusReason);
    QVERIFY(d->cmdOK->isEnabled());
    QVERIFY(!d->chkNoShow->isEnabled());
    d->txtHamQthPassWrd->setText(typed[3]);
    d->cmdOK->click();
    for (int i = 0; i < keys.size(); ++i)
        QCOMPARE(get(keys[i]), stored[i]);
    QCOMPARE(d->isVisible(), !focus.isEmpty());
    if (!focus.isEmpty())
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
}

void TstQrzDialog::okWithEmptiedPasswordKeepsIdOnly()
{
    auto d = open();
    d->txtUserID->setText(QStringLiteral("K0ABC"));
    d->txtQrzPassWrd->setText(QStringLiteral("pw"));
    leavePasswordBox(*d);
    QVERIFY(d->cmdOK->isEnabled());
    d->txtQrzPassWrd->clear();
    d->cmdOK->click();
    QCOMPARE(get(QStringLiteral("QRZ ID")), QStringLiteral("username=K0ABC;"));
    QCOMPARE(get(QStringLiteral("QRZ PW")), QStringLiteral("<none>"));
    QVERIFY(d->isVisible());
    QCOMPARE(QApplication::focusWidget(), d->txtQrzPassWrd);
}

void TstQrzDialog::cancelStoresNothing()
{
    auto d = open();
    d->txtUserID->setText(QStringLiteral("K0ABC"));
    d->txtQrzPassWrd->setText(QStringLiteral("pw"));
    leavePasswordBox(*d);
    d->cmdCancel->click();
    QCOMPARE(d->result(), int(QDialog::Rejected));
    QVERIFY(!d->isVisible());
    for (const char* key : {"QRZ ID", "QRZ PW", "chkNoShow"})
        QCOMPARE(get(QString::fromLatin1(key)), QStringLiteral("<none>"));
}

void TstQrzDialog::closeBoxStoresNothing()
{
    auto d = open();
    d->txtUserID->setText(QStringLiteral("K0ABC"));
    d->txtQrzPassWrd->setText(QStringLiteral("pw"));
    d->close();
    QCOMPARE(get(QStringLiteral("QRZ ID")), QStringLiteral("<none>"));
    QCOMPARE(get(QStringLiteral("QRZ PW")), QStringLiteral("<none>"));
}

void TstQrzDialog::keyboardOnly()
{
    auto d = open();
    QTest::keyClicks(d->txtUserID, QStringLiteral("k0abc"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), d->txtQrzPassWrd);
    QTest::keyClicks(d->txtQrzPassWrd, QStringLiteral("pw"));
    QVERIFY(!d->cmdOK->isEnabled());
    // Enter in the box must not press CANCEL while OK is still disabled.
    QTest::keyClick(d->txtQrzPassWrd, Qt::Key_Return);
    QVERIFY(d->isVisible());
    QTest::keyClick(d->txtQrzPassWrd, Qt::Key_Tab);
    QVERIFY(d->cmdOK->isEnabled());
    d->cmdOK->setFocus(Qt::TabFocusReason);
    QTest::keyClick(d->cmdOK, Qt::Key_Space);
    QCOMPARE(get(QStringLiteral("QRZ PW")), QStringLiteral("password=pw"));
    QVERIFY(!d->isVisible());
}

void TstQrzDialog::prepareForChange_data()
{
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<bool>("locked");
    QTest::newRow("fresh") << false << false;
    QTest::newRow("ticked") << true << false;
    QTest::newRow("ticked then locked") << true << true;
}

void TstQrzDialog::prepareForChange()
{
    QFETCH(bool, ticked);
    QFETCH(bool, locked);
    store_->SaveSetting(QStringLiteral("Settings"), QStringLiteral("chkNoShow"), QStringLiteral("1"));
    auto d = open();
    d->chkNoShow->setChecked(ticked);
    if (locked)
        leavePasswordBox(*d);
    store_->SaveSetting(QStringLiteral("Settings"), QStringLiteral("chkNoShow"), QStringLiteral("1"));
    d->prepareForChange();
    QVERIFY(d->chkNoShow->isEnabled());
    QVERIFY(!d->chkNoShow->isChecked());
    // Nothing is stored before the operator has answered.
    QCOMPARE(get(QStringLiteral("chkNoShow")), QStringLiteral("1"));
}

void TstQrzDialog::changeFromMenu_data()
{
    QTest::addColumn<QString>("storedTick");  // empty: none stored
    QTest::addColumn<bool>("tick");           // the operator ticks the box
    QTest::addColumn<bool>("ok");             // OK with a login, else CANCEL
    QTest::addColumn<QString>("tickAfter");
    QTest::addColumn<QString>("passwordAfter");
    QTest::newRow("cancel leaves a tick") << "1" << false << false << "1" << "<none>";
    QTest::newRow("cancel leaves no tick") << "0" << true << false << "0" << "<none>";
    QTest::newRow("cancel stores none") << "" << true << false << "<none>" << "<none>";
    QTest::newRow("ok stores unticked") << "1" << false << true << "0" << "password=pw";
    QTest::newRow("ok stores ticked") << "0" << true << true << "1" << "password=pw";
}

void TstQrzDialog::changeFromMenu()
{
    QFETCH(QString, storedTick);
    QFETCH(bool, tick);
    QFETCH(bool, ok);
    if (!storedTick.isEmpty())
        store_->SaveSetting(QStringLiteral("Settings"), QStringLiteral("chkNoShow"), storedTick);
    auto d = open();
    d->prepareForChange();
    if (tick) {
        QTest::mouseClick(d->chkNoShow, Qt::LeftButton, {}, QPoint(8, d->chkNoShow->height() / 2));
        QVERIFY(d->chkNoShow->isChecked());
    }
    d->txtUserID->setText(QStringLiteral("K0ABC"));
    d->txtQrzPassWrd->setText(QStringLiteral("pw"));
    leavePasswordBox(*d);
    (ok ? d->cmdOK : d->cmdCancel)->click();
    QVERIFY(!d->isVisible());
    QTEST(get(QStringLiteral("chkNoShow")), "tickAfter");
    QTEST(get(QStringLiteral("QRZ PW")), "passwordAfter");
}

void TstQrzDialog::modalRunEndsWithOk()
{
    frmQRZ d(*store_);
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        auto* shown = qobject_cast<frmQRZ*>(QApplication::activeModalWidget());
        if (!shown)
            return;
        seen = true;
        shown->txtUserID->setText(QStringLiteral("K0ABC"));
        shown->txtQrzPassWrd->setText(QStringLiteral("pw"));
        shown->txtQrzPassWrd_LostFocus();
        shown->cmdOK->click();
    });
    // A dialog the script could not reach must not hang the test.
    QTimer::singleShot(5000, &d, &QDialog::reject);
    QCOMPARE(d.exec(), int(QDialog::Accepted));
    QVERIFY(seen);
    QCOMPARE(get(QStringLiteral("QRZ ID")), QStringLiteral("username=K0ABC;"));
}

Q_DECLARE_METATYPE(FakeKeyring::Mode)

// Each place the passwords can be in, told in words that fit.
void TstQrzDialog::layout_data()
{
    using M = FakeKeyring::Mode;
    QTest::addColumn<bool>("vault");
    QTest::addColumn<M>("mode");
    QTest::addColumn<bool>("waitForKeyring");
    QTest::addColumn<QString>("whereKept");
    QTest::newRow("settings file") << false << M::Failing << false
                                   << "Passwords are kept in the settings file, readable by you alone.";
    QTest::newRow("keyring answers") << true << M::Answering << true << "Passwords are kept in the desktop's keyring.";
    QTest::newRow("no keyring answers")
        << true << M::Failing << true
        << "No keyring answered: passwords are kept in the settings file, readable by you alone.";
    QTest::newRow("keyring not heard yet")
        << true << M::Silent << false
        << "Passwords go to the desktop's keyring once it answers, else to the settings file.";
}

void TstQrzDialog::layout()
{
    QFETCH(bool, vault);
    QFETCH(FakeKeyring::Mode, mode);
    QFETCH(bool, waitForKeyring);
    FakeKeyring keyring;
    keyring.mode = mode;
    PasswordVault keeper(keyring, std::chrono::seconds(5));
    if (vault) {
        CallbookLogin::useVault(&keeper);
        CallbookLogin(*store_).openKeyring();
        if (waitForKeyring)
            QVERIFY(QTest::qWaitFor([&] { return keeper.place() != PasswordVault::Place::Unknown; }, 2000));
    }
    const auto noVault = qScopeGuard([] { CallbookLogin::useVault(nullptr); });
    auto d = open();
    QTEST(d->lblWhereKept->text(), "whereKept");
    d->txtUserID->setText(QStringLiteral("K0ABC"));
    d->txtQrzPassWrd->setText(QStringLiteral("secret"));
    QDir().mkpath(QStringLiteral("/tmp/shots"));
    QVERIFY(d->grab().save(QStringLiteral("/tmp/shots/frmQRZ.png")));

    const QList<QWidget*> controls = {d->TxtTitle,        d->fraQRZ,           d->chkNoShow,       d->cmdOK,
                                      d->cmdCancel,       d->Label1,           d->LabelUserID,     d->txtUserID,
                                      d->lblQRZPassword,  d->txtQrzPassWrd,    d->fraHamQth,       d->LabelHamQthUser,
                                      d->txtHamQthUser,   d->lblHamQthPassword, d->txtHamQthPassWrd, d->lblWhereKept};
    for (QWidget* c : controls) {
        QVERIFY2(c->width() >= c->minimumSizeHint().width() && c->height() >= c->minimumSizeHint().height(),
                 qPrintable(c->objectName()));
        QVERIFY2(c->parentWidget()->rect().contains(c->geometry()), qPrintable(c->objectName()));
        for (QWidget* o : controls)
            if (o != c && o->parentWidget() == c->parentWidget())
                QVERIFY2(!c->geometry().intersects(o->geometry()),
                         qPrintable(c->objectName() + " overlaps " + o->objectName()));
    }
    for (FitLabel* l : {d->LabelUserID, d->lblQRZPassword, d->Label1, d->LabelHamQthUser, d->lblHamQthPassword,
                        d->lblWhereKept})
        QCOMPARE(l->fittedFont().pointSizeF(), l->font().pointSizeF());
    // The whole explanation fits without scrolling.
    QVERIFY(!d->TxtTitle->verticalScrollBar()->isVisible());
}

VELN_TEST(TstQrzDialog)
#include "tst_qrz_dialog.moc"
