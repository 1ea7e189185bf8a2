#include "core/settings_store.h"
#include "fakes.h"
#include "member_files.h"
#include "test_home.h"
#include "test_main.h"
#include "ui/frm_main.h"

#include <QAccessible>
#include <QTextEdit>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QGroupBox>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {
QStringList items(const QListWidget* l)
{
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}
}  // namespace

class TstMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void controlsAndCaptions();
    void typedCallsReachTheLists();
    void suggestionClickChecksIn();
    void trafficCounterClicks();
    void clearEmptiesSearchListsOnly();
    void netControlChecksInAtStart_data();
    void netControlChecksInAtStart();
    void searchFlashEndsVisible();
    void membersCounterWarnings_data();
    void membersCounterWarnings();
    void missingMemberFileIsCreated();
    void everyCommandHasItsOwnKey();
    void keyboardRunsTheNet();
    void controlsSpeakTheirNames();
    void renderToPng();

private:
    std::unique_ptr<frmMain> open();
    void type(frmMain& w, const QString& text)
    {
        w.TxtChkin->setFocus();
        QTest::keyClicks(w.TxtChkin, text);
        QTest::keyClick(w.TxtChkin, Qt::Key_Return);
    }

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<FakePlatform> fakes_;
    std::unique_ptr<SettingsStore> settings_;
    ProgramState state_;
};

void TstMainWindow::init()
{
    home_ = std::make_unique<TestHome>();
    fakes_ = std::make_unique<FakePlatform>();
    state_ = ProgramState();
    state_.paths = Paths::forCurrentUser();
    settings_ = std::make_unique<SettingsStore>(state_.paths.settingsFile);
    writeMemberFile(home_->memberFile(), {{"W1AW", "HIRAM", "NEWINGTON CT"},
                                          {"K9XYZ", "JO", "PEORIA IL"},
                                          {"KB1ABC", "ANN", ""},
                                          {"N2ABX", "LEE", "ALBANY NY"}});
}

void TstMainWindow::cleanup()
{
    settings_.reset();
    fakes_.reset();
    home_.reset();
}

std::unique_ptr<frmMain> TstMainWindow::open()
{
    auto w = std::make_unique<frmMain>(fakes_->platform, state_, *settings_);
    w->resize(1280, 900);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        qWarning("window not exposed");
    return w;
}

void TstMainWindow::controlsAndCaptions()
{
    auto w = open();
    struct Expect {
        const char* name;
        QString caption;
    };
    for (const Expect& e : {Expect{"Label3", "CALL"}, Expect{"Label6", "CHECK INS"}, Expect{"Label1", "TRAFFIC"},
                            Expect{"Label5", "  MEMBERS"}, Expect{"lblSG", "SUGGEST"}, Expect{"LblNF1", "UNKNOWN"},
                            Expect{"lblChkins", "0"}, Expect{"lblTraffic", "0"}, Expect{"lblMembers", "4"}}) {
        auto* l = w->findChild<QLabel*>(e.name);
        QVERIFY2(l, e.name);
        QCOMPARE(l->text(), e.caption);
    }
    QCOMPARE(w->findChild<QGroupBox*>("FraStations")->title(), QString("STATIONS IN THE NET"));
    QCOMPARE(w->findChild<QGroupBox*>("FraSearch")->title(), QString("SEARCH RESULTS"));
    QCOMPARE(w->findChild<QPushButton*>("cmdHide")->text(), QString("CLEAR"));
    for (const char* name : {"TxtChkin", "lst1", "lstNF", "lstSG", "lblStatus"})
        QVERIFY2(w->findChild<QWidget*>(name), name);
    QVERIFY(!w->lblStatus->isVisible());
    QCOMPARE(w->TxtChkin->palette().color(QPalette::Base), QColor(0, 255, 0));
    // Every placed control lies inside its container.
    for (QWidget* c : w->findChildren<QWidget*>()) {
        if (c->objectName().isEmpty() || !c->parentWidget() || !c->isVisible() || c->objectName() == "lblStatus")
            continue;
        QVERIFY2(c->parentWidget()->rect().contains(c->geometry()) || c->geometry().isEmpty(),
                 qPrintable(c->objectName()));
    }
}

void TstMainWindow::typedCallsReachTheLists()
{
    auto w = open();
    type(*w, "w1aw ");
    QCOMPARE(items(w->lst1), QStringList({" W1AW HIRAM NEWINGTON CT"}));
    QCOMPARE(w->lblChkins->text(), QString("1"));
    QCOMPARE(w->TxtChkin->text(), QString());
    QVERIFY(fakes_->sound.played.isEmpty());

    type(*w, "W1AW");
    QCOMPARE(w->lblStatus->text(), QString("\r\nDUPLICATE"));
    QVERIFY(w->lblStatus->isVisible());
    QCOMPARE(fakes_->sound.played, QStringList({Sound::kDing}));
    QCOMPARE(w->lst1->count(), 1);

    type(*w, "VE3XX");
    QCOMPARE(w->lblStatus->text(), QString("\r\nVE3XX  INVALID CALL"));
    QCOMPARE(fakes_->sound.played.size(), 2);

    type(*w, "k9xyz");  // a good check-in clears the status line
    QCOMPARE(w->lblStatus->text(), QString());
    QCOMPARE(w->lst1->count(), 2);

    type(*w, "wa3abc");
    QCOMPARE(w->lblStatus->text(), QString("\r\nWA3ABC NOT FOUND"));
    QCOMPARE(fakes_->sound.played.last(), Sound::kTada);
    QCOMPARE(items(w->lstNF), QStringList({"WA3ABC"}));
    QCOMPARE(items(w->lstSG), QStringList({"KB1ABC", "N2ABX"}));
    QCOMPARE(w->lstNF->font().pointSize(), 10);
    QCOMPARE(w->lst1->count(), 2);
    QCOMPARE(w->lblChkins->text(), QString("2"));

    type(*w, "");
    QCOMPARE(w->lblStatus->text(), QString("\r\n  INVALID CALL"));
}

void TstMainWindow::suggestionClickChecksIn()
{
    auto w = open();
    type(*w, "W3ABX");
    QCOMPARE(items(w->lstSG), QStringList({"KB1ABC", "N2ABX"}));
    QListWidget* sg = w->lstSG;
    QTest::mouseClick(sg->viewport(), Qt::LeftButton, {}, sg->visualItemRect(sg->item(1)).center());
    QCOMPARE(items(w->lst1), QStringList({" N2ABX LEE ALBANY NY"}));
    QVERIFY(w->TxtChkin->hasFocus() || !QApplication::focusWidget());
}

void TstMainWindow::trafficCounterClicks()
{
    auto w = open();
    // Each click draws the counter; what the buttons count is the session's.
    QTest::mouseClick(w->lblTraffic, Qt::RightButton);
    QCOMPARE(w->lblTraffic->text(), QString(" 0"));
    QTest::mouseClick(w->lblTraffic, Qt::LeftButton);
    QCOMPARE(w->lblTraffic->text(), QString(" 1"));
    // A quick second click arrives as a double-click: it counts too.
    QTest::mouseDClick(w->lblTraffic, Qt::LeftButton);
    QCOMPARE(w->lblTraffic->text(), QString(" 2"));
}

void TstMainWindow::clearEmptiesSearchListsOnly()
{
    auto w = open();
    type(*w, "W1AW");
    type(*w, "W3ABX");
    QTRY_VERIFY(!w->Timer2->isActive());  // the panel is clickable again after its flash
    QTest::mouseClick(w->cmdHide, Qt::LeftButton);
    QCOMPARE(w->lstNF->count(), 0);
    QCOMPARE(w->lstSG->count(), 0);
    QCOMPARE(w->lblStatus->text(), QString());
    QCOMPARE(w->lst1->count(), 1);
    QCOMPARE(w->lblChkins->text(), QString("1"));
}

void TstMainWindow::netControlChecksInAtStart_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("status");
    QTest::newRow("member") << "K9XYZ" << 1 << "";
    QTest::newRow("not a member") << "W0NEW" << 0 << "\r\nW0NEW NOT FOUND";
    QTest::newRow("implausible") << "G4ABC" << 0 << "\r\nG4ABC  INVALID CALL";
}

void TstMainWindow::netControlChecksInAtStart()
{
    QFETCH(QString, call);
    QFETCH(int, lines);
    QFETCH(QString, status);
    state_.netControlName = "JO";
    state_.netControlCall = call;
    auto w = open();
    QCOMPARE(w->lst1->count(), lines);
    QCOMPARE(w->lblStatus->text(), status);
}

void TstMainWindow::searchFlashEndsVisible()
{
    auto w = open();
    type(*w, "W3ABX");
    QVERIFY(w->Timer2->isActive());
    QCOMPARE(w->Timer2->interval(), 125);
    w->Timer2->stop();  // drive the ticks by hand
    for (int i = 0; i < 5; ++i)
        w->Timer2_Timer();
    type(*w, "W4ABX");  // a second unknown call does not restart the count
    w->Timer2->stop();
    for (int i = 0; i < 4; ++i)
        w->Timer2_Timer();
    QVERIFY(!w->FraSearch->isVisible());
    w->Timer2->start();
    w->Timer2_Timer();
    QVERIFY(!w->Timer2->isActive());
    QVERIFY(w->FraSearch->isVisible());
}

void TstMainWindow::membersCounterWarnings_data()
{
    QTest::addColumn<int>("members");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("949") << 949 << QColor(Qt::blue);
    QTest::newRow("950") << 950 << QColor(255, 255, 0);
    QTest::newRow("990") << 990 << QColor(255, 0, 0);
}

void TstMainWindow::membersCounterWarnings()
{
    QFETCH(int, members);
    QFETCH(QColor, colour);
    writeMemberFile(home_->memberFile(), manyMembers(members));
    auto w = open();
    QCOMPARE(w->lblMembers->text(), QString::number(members));
    QCOMPARE(w->lblMembers->palette().color(QPalette::WindowText), colour);
}

void TstMainWindow::missingMemberFileIsCreated()
{
    QFile::remove(home_->memberFile());
    auto w = open();
    QCOMPARE(w->lblMembers->text(), QString("0"));
    QVERIFY(QFile::exists(home_->memberFile()));
    QVERIFY(fakes_->prompts.shown.isEmpty());
    type(*w, "W1AW");
    QCOMPARE(w->lblStatus->text(), QString("\r\nW1AW NOT FOUND"));
}

void TstMainWindow::everyCommandHasItsOwnKey()
{
    auto w = open();
    QMap<QString, QString> taken;  // shortcut -> command
    for (QAction* a : w->menuBar()->findChildren<QAction*>()) {
        const QString key = a->shortcut().toString();
        if (key.isEmpty())
            continue;
        QVERIFY2(!taken.contains(key), qPrintable(key + " twice: " + taken.value(key) + ", " + a->objectName()));
        taken.insert(key, a->objectName());
    }
    const QMap<QString, QString> added{{"Ctrl+T", "mnuEditTrafficUp"}, {"Ctrl+Shift+T", "mnuEditTrafficDown"},
                                       {"Ctrl+K", "mnuEditCheckOut"},  {"Ctrl+U", "mnuEditLookUp"},
                                       {"Esc", "mnuGoCheckIn"},        {"F2", "mnuGoRoster"},
                                       {"F3", "mnuGoUnknown"},         {"F4", "mnuGoSuggest"},
                                       {"F6", "mnuGoEditor"}};
    for (auto it = added.begin(); it != added.end(); ++it)
        QCOMPARE(taken.value(it.key()), it.value());
    QCOMPARE(taken.value("Ctrl+E"), QString("mnuEditEdit"));  // the fixed ones stay
}

void TstMainWindow::keyboardRunsTheNet()
{
    auto w = open();
    type(*w, "W1AW");
    type(*w, "K9XYZ");
    type(*w, "W3ABX");  // unknown: KB1ABC and N2ABX suggested
    w->mnuEditTrafficUp->trigger();
    w->mnuEditTrafficUp->trigger();
    w->mnuEditTrafficDown->trigger();
    QCOMPARE(w->lblTraffic->text(), QString(" 1"));
    // The suggestions by keyboard: Enter on the picked one checks it in.
    w->mnuGoSuggest->trigger();
    for (int i = 0; i < 3; ++i)
        w->Timer2_Timer();  // the flash of the search panel keeps the keyboard where it is
    QTRY_VERIFY(w->lstSG->hasFocus());
    QTest::keyClick(w->lstSG, Qt::Key_Down);
    QTest::keyClick(w->lstSG, Qt::Key_Return);
    QCOMPARE(items(w->lst1).last(), QString(" N2ABX LEE ALBANY NY"));
    // The roster by keyboard: the line picked with the arrows is checked out.
    w->mnuGoRoster->trigger();
    QTRY_VERIFY(w->lst1->hasFocus());
    QCOMPARE(w->lst1->currentRow(), 2);
    QTest::keyClick(w->lst1, Qt::Key_Up);
    QVERIFY(w->mnuEditEdit->isEnabled());
    w->mnuEditCheckOut->trigger();
    QVERIFY(w->roster().timesAt(2).checkedOut());
    QVERIFY(w->lst1->item(1)->font().italic());
    // Back to the check-in box with one key; Tab never stays in one place.
    w->mnuGoCheckIn->trigger();
    QTRY_VERIFY(w->TxtChkin->hasFocus());
    QSet<QWidget*> visited;
    for (int i = 0; i < 20; ++i) {
        visited.insert(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (QWidget* c : {static_cast<QWidget*>(w->lst1), static_cast<QWidget*>(w->lstNF), static_cast<QWidget*>(w->txtName),
                       static_cast<QWidget*>(w->cmdSave), static_cast<QWidget*>(w->rtfInfo)})
        QVERIFY2(visited.contains(c), qPrintable(c->objectName()));
    QVERIFY(visited.contains(w->TxtChkin));
}

void TstMainWindow::controlsSpeakTheirNames()
{
    auto w = open();
    for (QWidget* c : w->findChildren<QWidget*>()) {
        // Menus are popups named by their entries, not controls of the window.
        if (c->objectName().isEmpty() || c->objectName().startsWith("qt_") || qobject_cast<QMenu*>(c))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
        QVERIFY(a);
        const QString name = a->text(QAccessible::Name);
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(c->objectName() + " has no name"));
        QVERIFY2(name != c->objectName(), qPrintable(c->objectName()));
    }
    type(*w, "W1AW");
    type(*w, "W1AW");
    QCOMPARE(w->lblStatus->accessibleName(), QString("Status: W1AW DUPLICATE"));
    QCOMPARE(w->lblChkins->accessibleName(), QString("Check-ins: 1"));
    QVERIFY(fakes_->speech.said.isEmpty());  // Speak Status is off by default
    w->mnuOptionsSpeakStatus->trigger();
    type(*w, "VE3XX");
    QCOMPARE(fakes_->speech.said, QStringList{"VE3XX  INVALID CALL"});
    QCOMPARE(settings_->GetSetting("Options", "Speak_Status"), QString("True"));
}

void TstMainWindow::renderToPng()
{
    auto w = open();
    type(*w, "W1AW");
    type(*w, "K9XYZ");
    type(*w, "W3ABX");
    w->Timer2->stop();
    w->FraSearch->setVisible(true);
    const QString out = qEnvironmentVariable("VELN_SHOT_DIR");
    const QPixmap shot = w->grab();
    QVERIFY(!shot.isNull());
    if (!out.isEmpty())
        QVERIFY(shot.save(out + "/frmMain.png"));
}

VELN_TEST(TstMainWindow)
#include "tst_main_window.moc"
