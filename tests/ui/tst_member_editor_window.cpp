#include "core/settings_store.h"
#include "fakes.h"
#include "member_files.h"
#include "test_home.h"
#include "test_main.h"
#include "ui/fit_widgets.h"
#include "ui/frm_main.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <memory>

// The member editor as the operator drives it in the main window.
class TstMemberEditorWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void unknownCallAddedAndCheckedIn_data();
    void unknownCallAddedAndCheckedIn();
    void addFromMenuRefusesImplausibleCall();
    void editUpdatesTheMember();
    void cancelOnceTheNameBoxIsEntered();
    void netGoesOnWhileTheEditorWaits();
    void changeCallNeedsASelection();
    void changeCallFlow();
    void deleteAnswers_data();
    void deleteAnswers();
    void editAndDeleteNeedASelection();
    void rightButtonActsOnTheLineUnderIt();
    void tabWalksTheEditorBoxes();
    void keyFiltersInTheBoxes();
    void renderEditorModes();

private:
    std::unique_ptr<frmMain> open()
    {
        auto w = std::make_unique<frmMain>(fakes_->platform, state_, *settings_);
        w->resize(1400, 900);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("window not exposed");
        return w;
    }
    void checkIn(frmMain& w, const QString& call)
    {
        w.TxtChkin->setText(call);
        w.txtChkin_KeyDown(13);
    }
    void selectLine(frmMain& w, int row)
    {
        QTest::mouseClick(w.lst1->viewport(), Qt::LeftButton, {}, w.lst1->visualItemRect(w.lst1->item(row)).center());
    }
    void clickUnknown(frmMain& w, int row)
    {
        QTest::mouseClick(w.lstNF->viewport(), Qt::LeftButton, {}, w.lstNF->visualItemRect(w.lstNF->item(row)).center());
    }
    QStringList roster(const frmMain& w)
    {
        QStringList out;
        for (int i = 0; i < w.lst1->count(); ++i)
            out << w.lst1->item(i)->text();
        return out;
    }

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<FakePlatform> fakes_;
    std::unique_ptr<SettingsStore> settings_;
    ProgramState state_;
};

void TstMemberEditorWindow::init()
{
    home_ = std::make_unique<TestHome>();
    fakes_ = std::make_unique<FakePlatform>();
    state_ = ProgramState();
    state_.paths = Paths::forCurrentUser();
    settings_ = std::make_unique<SettingsStore>(state_.paths.settingsFile);
    writeMemberFile(home_->memberFile(), {{"W1AW", "HIRAM", "CT"}, {}, {"K9XYZ", "JO", "PEORIA IL"}});
}

void TstMemberEditorWindow::cleanup()
{
    settings_.reset();
    fakes_.reset();
    home_.reset();
}

void TstMemberEditorWindow::unknownCallAddedAndCheckedIn_data()
{
    QTest::addColumn<bool>("autoInsert");
    QTest::newRow("auto insert") << true;
    QTest::newRow("auto insert disabled") << false;
}

void TstMemberEditorWindow::unknownCallAddedAndCheckedIn()
{
    QFETCH(bool, autoInsert);
    auto w = open();
    w->mnuOptionsDisableAutoInsert->setChecked(!autoInsert);
    checkIn(*w, "n1new");
    QCOMPARE(w->lstNF->count(), 1);
    clickUnknown(*w, 0);
    QCOMPARE(w->lblMode->text(), QString("ADD"));
    QCOMPARE(w->txtCall->text(), QString("N1NEW"));
    QVERIFY(!w->txtCall->isEnabled());
    QVERIFY(w->cmdCancel->isEnabled());
    QTRY_VERIFY(w->txtName->hasFocus());
    QTest::keyClicks(w->txtName, "carol");
    QTest::keyClick(w->txtName, Qt::Key_Tab);
    QTest::keyClicks(w->TxtCS, "boston ma");
    QTest::mouseClick(w->cmdSave, Qt::LeftButton);

    QCOMPARE(w->lblMembers->text(), QString("3"));
    QCOMPARE(w->lblStatus->text(), QString("\r\nN1NEW INSERTED"));  // kept through the check-in
    QCOMPARE(w->lblMode->text(), QString());
    if (autoInsert) {
        QCOMPARE(roster(*w), QStringList({" N1NEW CAROL BOSTON MA"}));
        QCOMPARE(w->txtCall->text(), QString());
    } else {
        QCOMPARE(w->lst1->count(), 0);
    }
}

void TstMemberEditorWindow::addFromMenuRefusesImplausibleCall()
{
    auto w = open();
    w->mnuEditAdd->trigger();
    QCOMPARE(w->lblMode->text(), QString("ADD"));
    QVERIFY(w->txtCall->isEnabled());
    QTRY_VERIFY(w->txtCall->hasFocus());
    QTest::keyClicks(w->txtCall, "ve3ab");
    w->txtName->setFocus();  // leaving the box checks the call
    QCOMPARE(w->lblStatus->text(), QString("\r\nVE3AB  INVALID CALL"));
    QCOMPARE(w->txtCall->text(), QString());
    QCOMPARE(fakes_->sound.played.last(), Sound::kDing);
    QTRY_VERIFY(w->txtCall->hasFocus());
    QTest::keyClicks(w->txtCall, "w2abc");
    QTest::keyClick(w->txtCall, Qt::Key_Return);
    QCOMPARE(w->txtCall->text(), QString("W2ABC"));
    QTRY_VERIFY(w->txtName->hasFocus());
    QTest::keyClicks(w->txtName, "ann");
    QTest::mouseClick(w->cmdSave, Qt::LeftButton);
    QCOMPARE(w->memberTable().FindCall("W2ABC"), 2);
    QCOMPARE(roster(*w), QStringList({" W2ABC ANN "}));
}

void TstMemberEditorWindow::editUpdatesTheMember()
{
    auto w = open();
    checkIn(*w, "W1AW");
    checkIn(*w, "K9XYZ");
    selectLine(*w, 1);
    w->mnuEditEdit->trigger();
    QCOMPARE(w->lblMode->text(), QString("EDIT"));
    QCOMPARE(w->txtCall->text(), QString("K9XYZ"));
    QCOMPARE(w->txtName->text(), QString("JO"));
    QCOMPARE(w->TxtCS->text(), QString("PEORIA IL"));
    w->txtName->setText("JOANNE");
    QTest::mouseClick(w->cmdSave, Qt::LeftButton);
    QCOMPARE(w->lblStatus->text(), QString("\r\nRECORD UPDATED"));
    QCOMPARE(roster(*w), QStringList({" W1AW HIRAM CT", " K9XYZ JOANNE PEORIA IL"}));
    QCOMPARE(w->lblMode->text(), QString());
}

void TstMemberEditorWindow::cancelOnceTheNameBoxIsEntered()
{
    auto w = open();
    w->mnuEditAdd->trigger();
    QTRY_VERIFY(w->txtCall->hasFocus());
    QTest::keyClicks(w->txtCall, "w2abc");
    QVERIFY(!w->cmdCancel->isEnabled());  // enabled once the name box is entered
    w->txtName->setFocus();
    QCOMPARE(w->txtCall->text(), QString("W2ABC"));
    QVERIFY(w->cmdCancel->isEnabled());
    QTest::mouseClick(w->cmdCancel, Qt::LeftButton);
    QCOMPARE(w->lblMode->text(), QString());
    QCOMPARE(w->txtCall->text(), QString());
}

void TstMemberEditorWindow::netGoesOnWhileTheEditorWaits()
{
    auto w = open();
    checkIn(*w, "n1new");
    clickUnknown(*w, 0);
    QTRY_VERIFY(w->txtName->hasFocus());
    QTest::keyClicks(w->txtName, "carol");
    // A click into the check-in box: the calls typed there are checked in,
    // the Add waits with its boxes as they were.
    QTest::mouseClick(w->TxtChkin, Qt::LeftButton);
    QTRY_VERIFY(w->TxtChkin->hasFocus());
    for (const char* call : {"k9xyz", "w1aw"}) {
        QTest::keyClicks(w->TxtChkin, call);
        QTest::keyClick(w->TxtChkin, Qt::Key_Return);
    }
    QCOMPARE(roster(*w), QStringList({" K9XYZ JO PEORIA IL", " W1AW HIRAM CT"}));
    QCOMPARE(w->lblMode->text(), QString("ADD"));
    QCOMPARE(w->txtName->text(), QString("CAROL"));
    QTest::mouseClick(w->cmdSave, Qt::LeftButton);
    QCOMPARE(roster(*w).last(), QString(" N1NEW CAROL "));
    QCOMPARE(w->lstNF->count(), 0);  // added, so no longer unknown

    // Edit: the name box emptied on entering and saved while it still has
    // the keyboard (as Alt+S does) keeps the name.
    selectLine(*w, 1);
    w->mnuEditEdit->trigger();
    QTest::mouseClick(w->txtName, Qt::LeftButton);
    QTRY_VERIFY(w->txtName->hasFocus());
    QCOMPARE(w->txtName->text(), QString());
    w->cmdSave->click();
    QCOMPARE(w->lblStatus->text(), QString("\r\nRECORD UPDATED"));
    QCOMPARE(w->memberTable().name(1), QString("HIRAM"));
    MemberTable onDisk;
    QVERIFY(onDisk.LoadMemberTable(home_->memberFile()));
    QCOMPARE(onDisk.name(1), QString("HIRAM"));

    // Cancel with a half-typed call cancels, and the keyboard goes back to the net.
    w->mnuEditAdd->trigger();
    QTRY_VERIFY(w->txtCall->hasFocus());
    QTest::keyClicks(w->txtCall, "w2");
    QTest::mouseClick(w->cmdCancel, Qt::LeftButton);
    QCOMPARE(w->lblMode->text(), QString());
    QVERIFY(!w->lblStatus->text().contains("INVALID"));
    QTRY_VERIFY(w->TxtChkin->hasFocus());
}

void TstMemberEditorWindow::changeCallNeedsASelection()
{
    auto w = open();
    w->mnuChgCall->trigger();
    QCOMPARE(w->lblStatus->text(), QString("\r\nYou must select a call to change"));
    QCOMPARE(fakes_->sound.played, QStringList({Sound::kDing}));
    QCOMPARE(w->lblMode->text(), QString());
    QVERIFY(!w->TxtNew->isVisible());
}

void TstMemberEditorWindow::changeCallFlow()
{
    auto w = open();
    checkIn(*w, "K9XYZ");
    selectLine(*w, 0);
    w->mnuChgCall->trigger();
    QCOMPARE(w->lblMode->text(), QString("CHANGE CALL"));
    QCOMPARE(w->lblCall->text(), QString("OLD CALL"));
    // Too long for its box on one line: drawn over two lines rather than tiny.
    auto* oldCall = static_cast<FitLabel*>(w->lblCall);
    QVERIFY(oldCall->wrapsCaption());
    QVERIFY(oldCall->fittedFont().pointSizeF() >= 0.75 * oldCall->font().pointSizeF());
    QCOMPARE(w->txtCall->text(), QString("K9XYZ"));
    QVERIFY(w->TxtNew->isVisible());
    QVERIFY(!w->txtName->isVisible());
    QTRY_VERIFY(w->TxtNew->hasFocus());
    // The net goes on while a call is changed: the check-in box keeps its keys.
    w->TxtChkin->setFocus();
    QTest::keyClicks(w->TxtChkin, "w1aw");
    QTest::keyClick(w->TxtChkin, Qt::Key_Return);
    QCOMPARE(roster(*w), QStringList({" K9XYZ JO PEORIA IL", " W1AW HIRAM CT"}));
    QCOMPARE(w->editorMode(), MemberEditor::EditorMode::ChangeCall);
    selectLine(*w, 0);
    // Focus in the old-call box keeps the change going.
    w->txtCall->setFocus();
    QCOMPARE(w->txtCall->text(), QString("K9XYZ"));
    QCOMPARE(w->editorMode(), MemberEditor::EditorMode::ChangeCall);
    w->TxtNew->setFocus();
    QTest::keyClicks(w->TxtNew, "k9new");
    QTest::keyClick(w->TxtNew, Qt::Key_Return);
    QTest::mouseClick(w->cmdSave, Qt::LeftButton);
    QCOMPARE(w->lblStatus->text(), QString("\r\nK9XYZ CHANGED TO K9NEW"));
    QCOMPARE(roster(*w), QStringList({" K9NEW JO PEORIA IL", " W1AW HIRAM CT"}));
    QVERIFY(!w->TxtNew->isVisible());
    QVERIFY(w->txtName->isVisible());
}

void TstMemberEditorWindow::deleteAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("members");
    QTest::newRow("yes") << int(Prompts::Answer::Yes) << 1 << "1";
    QTest::newRow("no") << int(Prompts::Answer::No) << 1 << "2";
    QTest::newRow("cancel") << int(Prompts::Answer::Cancel) << 2 << "2";
}

void TstMemberEditorWindow::deleteAnswers()
{
    QFETCH(int, answer);
    QFETCH(int, lines);
    QFETCH(QString, members);
    auto w = open();
    checkIn(*w, "W1AW");
    checkIn(*w, "K9XYZ");
    selectLine(*w, 1);
    fakes_->prompts.answers = {Prompts::Answer(answer)};
    w->mnuEditDelete->trigger();
    const auto& asked = fakes_->prompts.shown.last();
    QCOMPARE(asked.text, QString("DELETE K9XYZ JO FROM THE DATABASE?"));
    QCOMPARE(asked.title, QString("DELETE RECORD"));
    QCOMPARE(asked.buttons, Prompts::Buttons::YesNoCancel);
    QCOMPARE(asked.defaultAnswer, Prompts::Answer::Cancel);
    QCOMPARE(w->lst1->count(), lines);
    QCOMPARE(w->lblChkins->text(), QString::number(lines));
    QCOMPARE(w->lblMembers->text(), members);
    if (answer == int(Prompts::Answer::Yes))
        QCOMPARE(w->lblStatus->text(), QString("\r\nRECORD DELETED"));
}

void TstMemberEditorWindow::rightButtonActsOnTheLineUnderIt()
{
    auto w = open();
    checkIn(*w, "W1AW");
    checkIn(*w, "K9XYZ");
    selectLine(*w, 0);
    // The pop-up menu opens on the second line; Edit from it edits that line.
    QTimer::singleShot(100, w.get(), [&] {
        w->mnuEdit->close();
        w->mnuEditEdit->trigger();
    });
    QTest::mouseClick(w->lst1->viewport(), Qt::RightButton, {}, w->lst1->visualItemRect(w->lst1->item(1)).center());
    QTRY_COMPARE(w->txtCall->text(), QString("K9XYZ"));
    QCOMPARE(w->lst1->currentRow(), 1);
}

void TstMemberEditorWindow::tabWalksTheEditorBoxes()
{
    auto w = open();
    checkIn(*w, "n1new");
    clickUnknown(*w, 0);
    QTRY_VERIFY(w->txtName->hasFocus());
    QTest::keyClicks(w->txtName, "john smith");
    QTest::keyClick(w->txtName, Qt::Key_Tab);
    QTRY_VERIFY(w->TxtCS->hasFocus());
    QTest::keyClicks(w->TxtCS, "denver co");
    QCOMPARE(w->txtName->text(), QString("JOHN SMITH"));  // upper-cased on leaving
    QCOMPARE(w->TxtCS->text(), QString("denver co"));
    QTest::keyClick(w->TxtCS, Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_VERIFY(w->txtName->hasFocus());
    QCOMPARE(w->txtName->text(), QString());  // entering the name box empties it...
    QTest::keyClick(w->txtName, Qt::Key_Tab);
    QTRY_VERIFY(w->TxtCS->hasFocus());
    QCOMPARE(w->txtName->text(), QString("JOHN SMITH"));  // ...and left empty it gets the name back
    // The last box is no trap: Tab goes on to Save.
    QTest::keyClick(w->TxtCS, Qt::Key_Tab);
    QTRY_VERIFY(w->cmdSave->hasFocus());
    // Changing a call, Shift+Tab goes from the new call back to the old one.
    QTest::mouseClick(w->cmdCancel, Qt::LeftButton);
    checkIn(*w, "K9XYZ");
    selectLine(*w, 0);
    w->mnuChgCall->trigger();
    QTRY_VERIFY(w->TxtNew->hasFocus());
    QTest::keyClick(w->TxtNew, Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_VERIFY(w->txtCall->hasFocus());
    QCOMPARE(w->txtCall->text(), QString("K9XYZ"));
}

void TstMemberEditorWindow::editAndDeleteNeedASelection()
{
    auto w = open();
    checkIn(*w, "W1AW");
    selectLine(*w, 0);
    fakes_->prompts.answers = {Prompts::Answer::No};
    w->mnuEditDelete->trigger();
    QCOMPARE(w->lst1->count(), 0);
    const int asked = int(fakes_->prompts.shown.size());
    w->mnuEditDelete->trigger();  // nothing selected any more
    w->mnuEditEdit->trigger();
    QCOMPARE(int(fakes_->prompts.shown.size()), asked);
    QCOMPARE(w->lblMode->text(), QString());
}

void TstMemberEditorWindow::keyFiltersInTheBoxes()
{
    auto w = open();
    w->mnuEditAdd->trigger();
    w->txtCall->setFocus();
    QTest::keyClicks(w->txtCall, "w1 a,b");
    QCOMPARE(w->txtCall->text(), QString("w1 ab"));
    w->txtName->setFocus();
    QTest::keyClicks(w->txtName, "an1n");
    QCOMPARE(w->txtName->text(), QString("ann"));
    w->TxtCS->setFocus();
    QTest::keyClicks(w->TxtCS, "st. paul, mn");
    QCOMPARE(w->TxtCS->text(), QString("st paul mn"));
    QTest::keyClick(w->TxtCS, Qt::Key_Backspace);
    QCOMPARE(w->TxtCS->text(), QString("st paul m"));
}

void TstMemberEditorWindow::renderEditorModes()
{
    auto w = open();
    checkIn(*w, "K9XYZ");
    selectLine(*w, 0);
    w->mnuChgCall->trigger();
    QTest::keyClicks(w->TxtNew, "K9NEW");
    const QPixmap shot = w->grab();
    QVERIFY(!shot.isNull());
    const QString dir = qEnvironmentVariable("VELN_SHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(shot.save(dir + "/frmMain-changecall.png"));
    QTest::mouseClick(w->cmdCancel, Qt::LeftButton);
    w->mnuEditEdit->trigger();
    if (!dir.isEmpty())
        QVERIFY(w->grab().save(dir + "/frmMain-edit.png"));
}

VELN_TEST(TstMemberEditorWindow)
#include "tst_member_editor_window.moc"
