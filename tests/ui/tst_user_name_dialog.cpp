#include "members/operator_identity.h"
#include "test_main.h"
#include "widget_checks.h"
#include "ui/frm_user_name.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

// Every visible control has at least the room its caption needs, lies inside
// its parent and overlaps none of its siblings.

}  // namespace

class TstUserNameDialog : public QObject {
    Q_OBJECT
private slots:

    void controlsAndCaptions();
    void continueGivesTheAnswers_data();
    void continueGivesTheAnswers();
    void prefillIsShownAsStored();
    void closingCountsAsContinue_data();
    void closingCountsAsContinue();
    void keyboardOnly_data();
    void keyboardOnly();
    void modalRunReturnsAnswers();
    void centredOnScreen();
    void layoutAndPicture();

private:
    std::unique_ptr<frmUserName> open(const QString& name = {}, const QString& call = {});
};

std::unique_ptr<frmUserName> TstUserNameDialog::open(const QString& name, const QString& call)
{
    auto d = std::make_unique<frmUserName>();
    d->setPrefill(name, call);
    d->show();
    if (!QTest::qWaitForWindowExposed(d.get()))
        qWarning("dialog not exposed");
    return d;
}

void TstUserNameDialog::controlsAndCaptions()
{
    auto d = open();
    QCOMPARE(d->windowTitle(), QString("USER INFORMATION"));
    struct Caption {
        const char* name;
        QString text;
    };
    for (const Caption& c : {Caption{"lblUserName", "Your Name"}, Caption{"lblYourCallsign", "Your Call"},
                             Caption{"lblNCQuery", "Are You Today's Net Control?"}}) {
        auto* l = d->findChild<QLabel*>(c.name);
        QVERIFY2(l, c.name);
        QCOMPARE(l->text(), c.text);
    }
    QCOMPARE(d->findChild<QLineEdit*>("txtUser"), d->txtUser);
    QCOMPARE(d->findChild<QLineEdit*>("txtUserCall"), d->txtUserCall);
    QCOMPARE(d->findChild<QRadioButton*>("OptYes"), d->OptYes);
    QCOMPARE(d->OptYes->text(), QString("YES"));
    QVERIFY(!d->OptYes->isChecked());
    QCOMPARE(d->findChildren<QRadioButton*>().size(), 1);  // there is no "NO"
    QCOMPARE(d->findChild<QPushButton*>("CmdExit"), d->CmdExit);
    QCOMPARE(d->CmdExit->text(), QString("Continue"));
    QVERIFY(d->CmdExit->isDefault());
    QVERIFY(d->isModal());
}

void TstUserNameDialog::continueGivesTheAnswers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("yesClicks");
    QTest::addColumn<OperatorIdentity>("expected");
    QTest::newRow("net control") << "jo smith" << "k9xyz" << 1 << OperatorIdentity{"JO SMITH", "K9XYZ", true};
    QTest::newRow("not net control") << "Jo Smith" << "K9xyz" << 0 << OperatorIdentity{"JO SMITH", "K9XYZ", false};
    QTest::newRow("yes taken back") << "JO" << "K9XYZ" << 2 << OperatorIdentity{"JO", "K9XYZ", false};
    QTest::newRow("yes, no, yes") << "JO" << "K9XYZ" << 3 << OperatorIdentity{"JO", "K9XYZ", true};
    QTest::newRow("empty entries accepted") << "" << "" << 0 << OperatorIdentity{"", "", false};
    QTest::newRow("empty entries, yes") << "" << "" << 1 << OperatorIdentity{"", "", true};
    QTest::newRow("implausible call kept") << "ann" << "g4abc/p" << 0 << OperatorIdentity{"ANN", "G4ABC/P", false};
}

void TstUserNameDialog::continueGivesTheAnswers()
{
    QFETCH(QString, name);
    QFETCH(QString, call);
    QFETCH(int, yesClicks);
    QFETCH(OperatorIdentity, expected);
    auto d = open();
    QTest::keyClicks(d->txtUser, name);
    QTest::keyClicks(d->txtUserCall, call);
    for (int i = 0; i < yesClicks; ++i)
        QTest::mouseClick(d->OptYes, Qt::LeftButton);
    QCOMPARE(d->OptYes->isChecked(), expected.netControl);
    QTest::mouseClick(d->CmdExit, Qt::LeftButton);
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), expected);
}

void TstUserNameDialog::prefillIsShownAsStored()
{
    auto d = open("Jo Smith", "k9xyz");
    QCOMPARE(d->txtUser->text(), QString("Jo Smith"));
    QCOMPARE(d->txtUserCall->text(), QString("k9xyz"));
    QVERIFY(!d->OptYes->isChecked());  // last run's answer is not remembered
    QCOMPARE(d->result(), OperatorIdentity());  // nothing is taken before Continue
    d->CmdExit_Click();
    QCOMPARE(d->result(), (OperatorIdentity{"JO SMITH", "K9XYZ", false}));
}

void TstUserNameDialog::closingCountsAsContinue_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("close box") << false;
    QTest::newRow("Escape") << true;
}

void TstUserNameDialog::closingCountsAsContinue()
{
    QFETCH(bool, escape);
    auto d = open("jo", "k9xyz");
    d->OptYes->click();
    if (escape)
        QTest::keyClick(d->txtUser, Qt::Key_Escape);
    else
        QVERIFY(d->close());
    QVERIFY(!d->isVisible());
    QCOMPARE(d->QDialog::result(), int(QDialog::Accepted));
    QCOMPARE(d->result(), (OperatorIdentity{"JO", "K9XYZ", true}));
}

void TstUserNameDialog::keyboardOnly_data()
{
    QTest::addColumn<bool>("prefilled");
    QTest::addColumn<bool>("space");
    QTest::newRow("first run, yes") << false << true;
    QTest::newRow("first run, no") << false << false;
    QTest::newRow("later run, yes") << true << true;
    QTest::newRow("later run, no") << true << false;
}

void TstUserNameDialog::keyboardOnly()
{
    QFETCH(bool, prefilled);
    QFETCH(bool, space);
    auto d = prefilled ? open("JO SMITH", "K9XYZ") : open();
    QApplication::setActiveWindow(d.get());
    QVERIFY(QTest::qWaitForWindowActive(d.get()));
    if (!prefilled) {
        QTRY_VERIFY(d->txtUser->hasFocus());
        QTest::keyClicks(d->txtUser, "jo smith");
        QTest::keyClick(d->txtUser, Qt::Key_Return);
        QVERIFY(d->txtUserCall->hasFocus());
        QVERIFY(d->isVisible());
        QTest::keyClicks(d->txtUserCall, "k9xyz");
        QTest::keyClick(d->txtUserCall, Qt::Key_Return);
        QVERIFY(d->isVisible());  // Enter in a box never skips the question
    }
    QTRY_VERIFY(d->OptYes->hasFocus());
    if (space)
        QTest::keyClick(d->OptYes, Qt::Key_Space);
    QTest::keyClick(d->OptYes, Qt::Key_Return);
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), (OperatorIdentity{"JO SMITH", "K9XYZ", space}));
}

void TstUserNameDialog::modalRunReturnsAnswers()
{
    frmUserName d;
    d.setPrefill("ann", "kb1abc");
    QTimer::singleShot(0, &d, [&d] {
        d.OptYes->click();
        d.CmdExit->click();
    });
    QCOMPARE(d.exec(), int(QDialog::Accepted));
    QCOMPARE(d.result(), (OperatorIdentity{"ANN", "KB1ABC", true}));
}

void TstUserNameDialog::centredOnScreen()
{
    auto d = open();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = d->frameGeometry();
    QVERIFY(qAbs(frame.center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(frame.center().y() - screen.center().y()) <= 1);
}

void TstUserNameDialog::layoutAndPicture()
{
    auto d = open("MARGARET WALLIN", "WB0WWW");
    d->OptYes->setChecked(true);
    verifyNothingCutOff(d.get());
    for (QLineEdit* box : {d->txtUser, d->txtUserCall}) {
        const int need = box->fontMetrics().horizontalAdvance(box->text());
        QVERIFY2(need + 8 <= box->width(), qPrintable(box->objectName()));
    }
    const QPixmap shot = d->grab();
    QVERIFY(!shot.isNull());
    const QString dir = qEnvironmentVariable("VELN_SHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(shot.save(dir + "/frmUserName.png"));
}

VELN_TEST(TstUserNameDialog)
#include "tst_user_name_dialog.moc"
