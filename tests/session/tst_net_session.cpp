#include "core/settings_store.h"
#include "fakes.h"
#include "member_files.h"
#include "report/report_store.h"
#include "session/net_session.h"
#include "test_home.h"
#include "test_main.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <memory>

using Kind = CheckInOutcome::Kind;
using MemberEditor::Box;
using MemberEditor::EditorMode;
using MemberEditor::EditorState;
using MemberEditor::LookupAnswer;
using MemberEditor::Refusal;

Q_DECLARE_METATYPE(MemberRecord)
Q_DECLARE_METATYPE(CallsignInfo)
Q_DECLARE_METATYPE(NetReport)

// The net's state and operations as the main window drives them, without a
// window: check-ins, the member editor, the callbook's answers, session files
// and the monthly report.
class TstNetSession : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void checkIn_data();
    void checkIn();
    void autoCheckIn_data();
    void autoCheckIn();
    void statusHold_data();
    void statusHold();
    void trafficClicks_data();
    void trafficClicks();
    void clearSearchLists_data();
    void clearSearchLists();
    void checkOut_data();
    void checkOut();

    void addAndSave_data();
    void addAndSave();
    void addWhenFull_data();
    void addWhenFull();
    void unknownCallClicked_data();
    void unknownCallClicked();
    void editAndSave_data();
    void editAndSave();
    void changeCall_data();
    void changeCall();
    void deleteYesNo_data();
    void deleteYesNo();
    void noLine_data();
    void noLine();

    void editorAnswer_data();
    void editorAnswer();
    void lookupAnswered_data();
    void lookupAnswered();

    void writeSession_data();
    void writeSession();
    void writeSessionFails();
    void openSession_data();
    void openSession();
    void openSessionFails_data();
    void openSessionFails();
    void lineWithoutMemberFromFile();
    void sessionRoundTrip();
    void timesAcrossSaveAndOpen_data();
    void timesAcrossSaveAndOpen();
    void timesWriteFails_data();
    void timesWriteFails();

    void addToReport_data();
    void addToReport();

private:
    NetSession& s() { return *session_; }
    void checkInAll(const QStringList& calls)
    {
        for (const QString& c : calls)
            s().checkIn(c);
    }
    void clickTraffic(int times)
    {
        for (int i = 0; i < times; ++i)
            s().trafficClicked(false);
    }
    // "19:42Z W1AW" checks in, "20:15Z out 2" checks line 2 out, "20:20Z
    // delete 1" takes line 1 off; the time may carry an offset ("14:42-05:00").
    // Returns what the last step returned (true for a check-in).
    bool run(const QString& step)
    {
        const QString when = step.section(' ', 0, 0);
        clock_.current = QDateTime::fromString("2024-03-07T" + when, Qt::ISODate);
        const QString verb = step.section(' ', 1, 1);
        if (verb == "out")
            return s().checkOut(step.section(' ', 2, 2).toInt());
        if (verb == "delete")
            return s().deleteLine(step.section(' ', 2, 2).toInt(), false).ok;
        return s().checkIn(verb).kind == Kind::CheckedIn;
    }
    void setOption(bool SessionOptions::*which, bool on)
    {
        SessionOptions o = s().options();
        o.*which = on;
        s().setOptions(o);
    }
    // A callbook login is stored, or none.
    void callbookReady(bool ready)
    {
        if (ready)
            settings_->SaveSetting("Settings", "QRZ PW", "password=secret");
        else
            settings_->DeleteSetting("Settings", "QRZ PW");
    }
    QStringList timesTexts(const NetSession& session) const
    {
        QStringList out;
        for (int k = 1; k <= session.roster().lineCount(); ++k)
            out.append(session.roster().timesText(k));
        return out;
    }
    std::unique_ptr<TestHome> home_;
    std::unique_ptr<SettingsStore> settings_;
    FakeClock clock_;
    std::unique_ptr<NetSession> session_;
};

// Slots: W1AW 1, a free slot 2, K9XYZ 3, N2ABX 4.
void TstNetSession::init()
{
    home_ = std::make_unique<TestHome>();
    settings_ = std::make_unique<SettingsStore>(home_->settingsFile());
    writeMemberFile(home_->memberFile(),
                    {{"W1AW", "HIRAM", "CT"}, {}, {"K9XYZ", "JO", "PEORIA IL"}, {"N2ABX", "LEE", "ALBANY NY"}});
    clock_.current = QDateTime(QDate(2024, 3, 7), QTime(19, 42), Qt::UTC);
    session_ = std::make_unique<NetSession>(*settings_, clock_);
    QVERIFY(session_->loadMemberTable(home_->memberFile()));
}

void TstNetSession::cleanup()
{
    session_.reset();
    settings_.reset();
    home_.reset();
}

namespace {
const QString kW1aw = QStringLiteral(" W1AW HIRAM CT");
const QString kK9xyz = QStringLiteral(" K9XYZ JO PEORIA IL");
const QString kN2abx = QStringLiteral(" N2ABX LEE ALBANY NY");
const QDate kToday(2024, 3, 7);

CallbookResult found(const QString& call, const QString& first, const QString& city, const QString& state)
{
    CallbookResult r;
    r.info = {call, first, city, state};
    return r;
}
CallbookResult failedWith(CallbookError error)
{
    CallbookResult r;
    r.error = error;
    return r;
}
}  // namespace

// ---------------------------------------------------------------- check-in

void TstNetSession::checkIn_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<bool>("flashOff");
    QTest::addColumn<int>("kind");  // of the last call typed
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("unknown");
    QTest::addColumn<QStringList>("suggested");
    QTest::newRow("member") << QStringList{" w1aw "} << false << int(Kind::CheckedIn) << "" << QStringList{kW1aw}
                            << QStringList{} << QStringList{};
    QTest::newRow("member twice") << QStringList{"W1AW", "w1aw"} << false << int(Kind::Duplicate) << "DUPLICATE"
                                  << QStringList{kW1aw} << QStringList{} << QStringList{};
    QTest::newRow("invalid") << QStringList{"VE3ABC"} << false << int(Kind::Invalid) << "VE3ABC  INVALID CALL"
                             << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("empty box") << QStringList{""} << false << int(Kind::Invalid) << "  INVALID CALL" << QStringList{}
                               << QStringList{} << QStringList{};
    QTest::newRow("unknown") << QStringList{"w3abx"} << false << int(Kind::Unknown) << "W3ABX NOT FOUND"
                             << QStringList{} << QStringList{"W3ABX"} << QStringList{"N2ABX"};
    QTest::newRow("unknown, flash off") << QStringList{"W3ABX"} << true << int(Kind::Unknown) << "W3ABX NOT FOUND"
                                        << QStringList{} << QStringList{"W3ABX"} << QStringList{"N2ABX"};
    QTest::newRow("unknown twice, then members")
        << QStringList{"W3ABX", "K9XYZ", "W3ABX", "N2ABX"} << false << int(Kind::CheckedIn) << ""
        << QStringList{kK9xyz, kN2abx} << QStringList{"W3ABX", "W3ABX"} << QStringList{"N2ABX"};
}

void TstNetSession::checkIn()
{
    QFETCH(QStringList, typed);
    QFETCH(bool, flashOff);
    QFETCH(int, kind);
    QFETCH(QString, status);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, unknown);
    QFETCH(QStringList, suggested);
    setOption(&SessionOptions::disableWindowFlash, flashOff);
    CheckInOutcome last;
    for (const QString& t : typed)
        last = s().checkIn(t);
    QCOMPARE(int(last.kind), kind);
    QCOMPARE(last.status, status);
    QCOMPARE(last.flashSearch, kind == int(Kind::Unknown) && !flashOff);
    QCOMPARE(s().roster().lines(), lines);
    QCOMPARE(s().roster().checkins(), int(lines.size()));
    QCOMPARE(s().roster().checkinsCaption(), QString::number(lines.size()));
    QCOMPARE(s().roster().unknownCalls(), unknown);
    QCOMPARE(s().roster().suggestions(), suggested);
    QCOMPARE(s().changed(), !lines.isEmpty());
    // Every line knows its member.
    for (int k = 1; k <= s().roster().lineCount(); ++k) {
        const int slot = s().table().FindCall(lines.at(k - 1).trimmed().section(' ', 0, 0));
        QCOMPARE(s().roster().slotAt(k), slot);
        QVERIFY(s().roster().isCheckedIn(slot));
    }
}

void TstNetSession::autoCheckIn_data()
{
    QTest::addColumn<bool>("autoOff");
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("kind");  // -1: no check-in at all
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("unknown");
    QTest::newRow("member") << false << "K9XYZ" << int(Kind::CheckedIn) << 1 << 0;
    QTest::newRow("member, auto insert off") << true << "K9XYZ" << -1 << 0 << 0;
    QTest::newRow("not a member") << false << "W0NEW" << int(Kind::Unknown) << 0 << 1;
    QTest::newRow("not a member, auto insert off") << true << "W0NEW" << -1 << 0 << 0;
    QTest::newRow("implausible") << false << "G4ABC" << int(Kind::Invalid) << 0 << 0;
}

void TstNetSession::autoCheckIn()
{
    QFETCH(bool, autoOff);
    QFETCH(QString, call);
    QFETCH(int, kind);
    QFETCH(int, lines);
    QFETCH(int, unknown);
    setOption(&SessionOptions::disableAutoInsert, autoOff);
    const std::optional<CheckInOutcome> out = s().autoCheckIn(call);
    QCOMPARE(out.has_value(), kind >= 0);
    if (out)
        QCOMPARE(int(out->kind), kind);
    QCOMPARE(s().roster().lineCount(), lines);
    QCOMPARE(s().roster().unknownCalls().size(), unknown);
    QCOMPARE(s().changed(), lines > 0);
}

void TstNetSession::statusHold_data()
{
    // After a saved new member the status line (" INSERTED") survives the
    // next check-in, whether the save made it or the operator types it.
    QTest::addColumn<bool>("autoOff");
    QTest::addColumn<QString>("added");
    QTest::addColumn<int>("saveClears");  // -1: the save checks nothing in
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("clears");  // per typed call, '1' clears the status
    QTest::newRow("new member checked in") << false << "N1NEW" << 0 << QStringList{"W1AW", "K9XYZ"} << "11";
    QTest::newRow("new member, auto insert off") << true << "N1NEW" << -1 << QStringList{"W1AW", "K9XYZ"} << "01";
    QTest::newRow("an invalid call keeps the hold") << true << "N1NEW" << -1 << QStringList{"XX", "W1AW", "K9XYZ"}
                                                    << "001";
    QTest::newRow("an unknown call ends the hold") << true << "N1NEW" << -1 << QStringList{"W3ABX", "W1AW"} << "01";
    // A refusal sets no hold: its check-in clears the status as usual.
    QTest::newRow("call already exists") << false << "K9XYZ" << 1 << QStringList{"W1AW"} << "1";
}

void TstNetSession::statusHold()
{
    QFETCH(bool, autoOff);
    QFETCH(QString, added);
    QFETCH(int, saveClears);
    QFETCH(QStringList, typed);
    QFETCH(QString, clears);
    setOption(&SessionOptions::disableAutoInsert, autoOff);
    s().beginAdd();
    s().setEditorText(Box::Call, added);
    const NetSession::SaveOutcome saved = s().saveEditor(0);
    QCOMPARE(saved.checkIn.has_value(), saveClears >= 0);
    if (saved.checkIn)
        QCOMPARE(saved.checkIn->clearStatus, saveClears == 1);
    for (int i = 0; i < typed.size(); ++i)
        QVERIFY2(s().checkIn(typed.at(i)).clearStatus == (clears.at(i) == '1'), qPrintable(typed.at(i)));
}

void TstNetSession::trafficClicks_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("clicks");  // L left, R right
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("traffic");
    QTest::newRow("no click") << "0" << "" << "0" << 0;
    QTest::newRow("right at zero") << "0" << "R" << " 0" << 0;
    QTest::newRow("right at zero, then left") << "0" << "RL" << " 1" << 1;
    QTest::newRow("two up") << "0" << "LL" << " 2" << 2;
    QTest::newRow("two up, one down") << "0" << "LLR" << " 1" << 1;
    QTest::newRow("from a session file") << " 5" << "R" << " 4" << 4;
    QTest::newRow("at the top") << "32767" << "L" << " 32767" << 32767;
}

void TstNetSession::trafficClicks()
{
    QFETCH(QString, start);
    QFETCH(QString, clicks);
    QFETCH(QString, caption);
    QFETCH(int, traffic);
    if (start != "0") {  // a session saved with that count
        const QString path = home_->path() + "/traffic.txt";
        writeBytes(path, "0\r\n" + start.toLatin1() + "\r\n3/7/2024\r\n");
        QVERIFY(s().openSession(path, "W1AW").ok);
    }
    // A changed count is worth a Save; a click that changed nothing is not.
    bool changed = false;
    for (QChar c : clicks) {
        const int before = s().roster().traffic();
        s().trafficClicked(c == 'R');
        changed = changed || s().roster().traffic() != before;
    }
    QCOMPARE(s().roster().trafficCaption(), caption);
    QCOMPARE(s().roster().traffic(), traffic);
    QCOMPARE(s().changed(), changed);
}

void TstNetSession::clearSearchLists_data()
{
    QTest::addColumn<QString>("editor");
    QTest::addColumn<int>("state");
    QTest::newRow("nothing under way") << "" << int(EditorState::Idle);
    QTest::newRow("lookup armed") << "arm" << int(EditorState::Idle);
    QTest::newRow("lookup running") << "lookup" << int(EditorState::Idle);
    // An Add goes on, but its member is no longer checked in when saved.
    QTest::newRow("adding") << "add" << int(EditorState::Adding);
    QTest::newRow("adding an unknown call") << "unknown" << int(EditorState::AddingUnknown);
}

void TstNetSession::clearSearchLists()
{
    QFETCH(QString, editor);
    QFETCH(int, state);
    checkInAll({"W1AW", "W3ABX"});
    if (editor == "arm") {
        callbookReady(true);
        s().unknownCallClicked("W3ABX");
    } else if (editor == "lookup") {
        s().beginLookup("W3ABX");
    } else if (editor == "add") {
        s().beginAdd();
    } else if (editor == "unknown") {
        callbookReady(false);
        s().unknownCallClicked("W3ABX");
    }
    s().clearSearchLists();
    QVERIFY(s().roster().unknownCalls().isEmpty());
    QVERIFY(s().roster().suggestions().isEmpty());
    QCOMPARE(s().roster().lines(), QStringList{kW1aw});
    QCOMPARE(s().roster().checkins(), 1);
    QCOMPARE(int(s().editor().state()), state);
    QCOMPARE(s().editor().pendingInsert(), 0);
    QVERIFY(!s().editor().checksInOnSave());
    if (state == int(EditorState::Idle))
        return;
    // The Add still saves, and leaves its member off the roster.
    s().setEditorText(Box::Call, "W3ABX");
    const NetSession::SaveOutcome saved = s().saveEditor(0);
    QCOMPARE(saved.editor.status, QString("W3ABX INSERTED"));
    QVERIFY(!saved.checkIn);
    QCOMPARE(s().roster().lineCount(), 1);
    QCOMPARE(s().editor().form().call, QString("W3ABX"));
}

void TstNetSession::checkOut_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("lastDone");  // the last step did something (and marks the session changed)
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<int>("checkins");
    QTest::newRow("checked in") << QStringList{"19:42Z W1AW"} << true << QStringList{"in 19:42Z"} << 1;
    QTest::newRow("checked out, count kept") << QStringList{"19:42Z W1AW", "19:50Z K9XYZ", "20:15Z out 1"} << true
                                             << QStringList{"in 19:42Z, out 20:15Z", "in 19:50Z"} << 2;
    QTest::newRow("out again comes back") << QStringList{"19:42Z W1AW", "20:15Z out 1", "20:20Z out 1"} << true
                                          << QStringList{"in 19:42Z"} << 1;
    QTest::newRow("out, back and out") << QStringList{"19:42Z W1AW", "20:15Z out 1", "20:20Z out 1", "20:31Z out 1"}
                                       << true << QStringList{"in 19:42Z, out 20:31Z"} << 1;
    QTest::newRow("times stay with their line after a removal")
        << QStringList{"19:42Z W1AW", "19:50Z K9XYZ", "20:00Z out 2", "20:05Z delete 1"} << true
        << QStringList{"in 19:50Z, out 20:00Z"} << 1;
    QTest::newRow("a duplicate keeps the first time") << QStringList{"19:42Z W1AW", "19:43Z W1AW"} << false
                                                      << QStringList{"in 19:42Z"} << 1;
    QTest::newRow("no such line") << QStringList{"19:42Z W1AW", "20:00Z out 2"} << false << QStringList{"in 19:42Z"}
                                  << 1;
    QTest::newRow("no line selected") << QStringList{"19:42Z W1AW", "20:00Z out 0"} << false
                                      << QStringList{"in 19:42Z"} << 1;
    QTest::newRow("a local clock is shown in UTC") << QStringList{"14:42-05:00 W1AW", "16:15+01:00 out 1"} << true
                                                   << QStringList{"in 19:42Z, out 15:15Z"} << 1;
}

void TstNetSession::checkOut()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, lastDone);
    QFETCH(QStringList, times);
    QFETCH(int, checkins);
    for (int i = 0; i + 1 < steps.size(); ++i)
        run(steps.at(i));
    QVERIFY(s().saveAs(home_->path() + "/steps", kToday).ok);
    QCOMPARE(run(steps.last()), lastDone);
    QCOMPARE(s().changed(), lastDone);
    QCOMPARE(timesTexts(s()), times);
    QCOMPARE(s().roster().checkins(), checkins);
    QCOMPARE(s().roster().lineCount(), checkins);
}

// ---------------------------------------------------------------- member editor

void TstNetSession::addAndSave_data()
{
    QTest::addColumn<QString>("start");  // menu, unknown, lookup, lookupFailed
    QTest::addColumn<bool>("autoOff");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("name");  // typed after the start (empty: nothing typed)
    QTest::addColumn<QString>("qth");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("checkedIn");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("newMember");  // the month's new-member entry

    const QString carol = " N1NEW CAROL BOSTON MA";
    QTest::newRow("menu") << "menu" << false << "n1new" << "carol" << "boston ma" << "N1NEW INSERTED" << true
                          << QStringList{carol} << "N1NEW CAROL BOSTON MA";
    QTest::newRow("menu, auto insert off") << "menu" << true << "N1NEW" << "CAROL" << "BOSTON MA" << "N1NEW INSERTED"
                                           << false << QStringList{} << "N1NEW CAROL BOSTON MA";
    QTest::newRow("menu, empty name and QTH") << "menu" << false << "N1NEW" << "" << "" << "N1NEW INSERTED" << true
                                              << QStringList{" N1NEW  "} << "N1NEW  ";
    QTest::newRow("unknown call") << "unknown" << false << "N1NEW" << "carol" << "boston ma" << "N1NEW INSERTED"
                                  << true << QStringList{carol} << "N1NEW CAROL BOSTON MA";
    QTest::newRow("unknown call, auto insert off") << "unknown" << true << "N1NEW" << "CAROL" << "BOSTON MA"
                                                   << "N1NEW INSERTED" << false << QStringList{}
                                                   << "N1NEW CAROL BOSTON MA";
    QTest::newRow("unknown call, letters second and third") << "unknown" << false << "WAB1" << "CAROL" << ""
                                                            << "WAB1  INVALID CALL" << false << QStringList{} << "";
    QTest::newRow("lookup found") << "lookup" << false << "N1NEW" << "" << "" << "N1NEW INSERTED" << true
                                  << QStringList{carol} << "N1NEW CAROL BOSTON MA";
    QTest::newRow("lookup failed, typed") << "lookupFailed" << false << "N1NEW" << "carol" << "" << "N1NEW INSERTED"
                                          << true << QStringList{" N1NEW CAROL "} << "N1NEW CAROL ";
    // The member the table already holds is checked in all the same.
    QTest::newRow("call already exists") << "menu" << false << "K9XYZ" << "X" << "" << "CALL ALREADY EXISTS" << true
                                         << QStringList{kK9xyz} << "";
    QTest::newRow("call already exists, auto insert off") << "menu" << true << "K9XYZ" << "X" << ""
                                                          << "CALL ALREADY EXISTS" << false << QStringList{} << "";
}

void TstNetSession::addAndSave()
{
    QFETCH(QString, start);
    QFETCH(bool, autoOff);
    QFETCH(QString, call);
    QFETCH(QString, name);
    QFETCH(QString, qth);
    QFETCH(QString, status);
    QFETCH(bool, checkedIn);
    QFETCH(QStringList, lines);
    QFETCH(QString, newMember);
    setOption(&SessionOptions::disableAutoInsert, autoOff);
    if (s().table().FindCall(call.toUpper()) == 0)
        s().checkIn(call);  // listed under UNKNOWN first
    const bool listed = s().roster().unknownCalls().contains(call.toUpper());
    if (start == "menu") {
        s().beginAdd();
        s().setEditorText(Box::Call, call);
    } else if (start == "unknown") {
        callbookReady(false);
        s().unknownCallClicked(call);
    } else {
        s().beginLookup(call);
        const CallbookResult answer = start == "lookup" ? found(call, "Carol Ann", "Boston", "MA")
                                                        : failedWith(CallbookError::Unreachable);
        QVERIFY(s().lookupAnswered(call, answer, nullptr));
    }
    QCOMPARE(s().editor().mode(), EditorMode::Add);
    QVERIFY(s().editor().checksInOnSave());
    if (!name.isEmpty() || start == "menu") {
        s().setEditorText(Box::Name, name);
        s().setEditorText(Box::Qth, qth);
    }
    const QString upper = call.toUpper();
    const int membersBefore = s().table().memberCount();
    const NetSession::SaveOutcome out = s().saveEditor(0);

    QCOMPARE(out.editor.status, status);
    QCOMPARE(out.editor.ding, status == "CALL ALREADY EXISTS");
    QCOMPARE(out.checkIn.has_value(), checkedIn);
    if (out.checkIn) {
        QCOMPARE(int(out.checkIn->kind), int(Kind::CheckedIn));
        QCOMPARE(out.checkIn->call, upper);
    }
    QCOMPARE(s().roster().lines(), lines);
    const bool added = out.editor.ok;
    QCOMPARE(s().table().memberCount(), membersBefore + (added ? 1 : 0));
    // An added call is no longer unknown.
    QCOMPARE(s().roster().unknownCalls().contains(upper), listed && !added);
    if (added) {
        QCOMPARE(s().table().FindCall(upper), 2);  // the free slot
        QVERIFY(out.editor.membersChanged);
    }
    QCOMPARE(ReadNewMemberList(*settings_, false), newMember.isEmpty() ? QStringList() : QStringList{newMember});
    // The Add is over; its boxes are emptied when the member went to the roster.
    QCOMPARE(s().editor().state(), EditorState::Idle);
    QCOMPARE(s().editor().mode(), EditorMode::None);
    QCOMPARE(s().editor().pendingInsert(), 0);
    QCOMPARE(s().editor().form().modeCaption, QString());
    QCOMPARE(s().editor().form().call, checkedIn ? QString() : upper);
}

void TstNetSession::addWhenFull_data()
{
    QTest::addColumn<int>("members");
    QTest::addColumn<bool>("endRecord");
    QTest::addColumn<QString>("start");
    QTest::newRow("999 members, menu") << 999 << true << "menu";
    QTest::newRow("999 members, unknown call") << 999 << true << "unknown";
    QTest::newRow("1000 members, no end record") << 1000 << false << "unknown";
}

void TstNetSession::addWhenFull()
{
    QFETCH(int, members);
    QFETCH(bool, endRecord);
    QFETCH(QString, start);
    writeMemberFile(home_->memberFile(), manyMembers(members), endRecord);
    QVERIFY(s().loadMemberTable(home_->memberFile()));
    const QByteArray before = readBytes(home_->memberFile());
    if (start == "menu") {
        s().beginAdd();
        s().setEditorText(Box::Call, "W0ZZZ");
    } else {
        callbookReady(false);
        s().unknownCallClicked("W0ZZZ");
    }
    const NetSession::SaveOutcome out = s().saveEditor(0);
    QCOMPARE(out.editor.refusal, Refusal::DatabaseFull);
    QCOMPARE(out.editor.status, QString("DATABASE FULL"));
    QVERIFY(out.editor.ding);
    // No check-in follows to overwrite the refusal.
    QVERIFY(!out.checkIn);
    QVERIFY(s().roster().unknownCalls().isEmpty());
    QCOMPARE(s().roster().lineCount(), 0);
    QCOMPARE(s().table().memberCount(), members);
    QCOMPARE(readBytes(home_->memberFile()), before);
    QVERIFY(ReadNewMemberList(*settings_, false).isEmpty());
    QCOMPARE(s().editor().mode(), EditorMode::None);
    QCOMPARE(s().editor().form().call, QString("W0ZZZ"));
}

void TstNetSession::unknownCallClicked_data()
{
    QTest::addColumn<bool>("callbook");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("pending");
    QTest::addColumn<QString>("call");
    QTest::addColumn<bool>("callEnabled");
    QTest::newRow("no callbook login") << false << int(EditorState::AddingUnknown) << 1 << "N1NEW" << false;
    QTest::newRow("callbook login") << true << int(EditorState::LookupArmed) << 2 << "" << true;
}

void TstNetSession::unknownCallClicked()
{
    QFETCH(bool, callbook);
    QFETCH(int, state);
    QFETCH(int, pending);
    QFETCH(QString, call);
    QFETCH(bool, callEnabled);
    s().checkIn("N1NEW");
    callbookReady(callbook);
        s().unknownCallClicked("N1NEW");
    QCOMPARE(int(s().editor().state()), state);
    QCOMPARE(s().editor().pendingInsert(), pending);
    QCOMPARE(s().editor().form().call, call);
    QCOMPARE(s().editor().form().callEnabled, callEnabled);
    QVERIFY(s().editor().form().cancelEnabled);
    QCOMPARE(s().roster().unknownCalls(), QStringList{"N1NEW"});
}

void TstNetSession::editAndSave_data()
{
    QTest::addColumn<QString>("before");  // what the editor did before the Edit
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("qth");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<MemberRecord>("record");
    QTest::addColumn<int>("slot");
    QTest::newRow("second line") << "" << 2 << "JOANNE" << "PEORIA IL" << QStringList{kW1aw, " K9XYZ JOANNE PEORIA IL"}
                                 << MemberRecord{"K9XYZ", "JOANNE", "PEORIA IL"} << 3;
    QTest::newRow("typed in lower case") << "" << 1 << "hiram percy" << "newington ct"
                                         << QStringList{" W1AW HIRAM PERCY NEWINGTON CT", kK9xyz}
                                         << MemberRecord{"W1AW", "HIRAM PERCY", "NEWINGTON CT"} << 1;
    QTest::newRow("after a cancelled Add") << "cancelled add" << 1 << "HIRAM" << "HARTFORD CT"
                                           << QStringList{" W1AW HIRAM HARTFORD CT", kK9xyz}
                                           << MemberRecord{"W1AW", "HIRAM", "HARTFORD CT"} << 1;
    QTest::newRow("Edit in place of an Add") << "add" << 1 << "HIRAM" << "HARTFORD CT"
                                             << QStringList{" W1AW HIRAM HARTFORD CT", kK9xyz}
                                             << MemberRecord{"W1AW", "HIRAM", "HARTFORD CT"} << 1;
}

void TstNetSession::editAndSave()
{
    QFETCH(QString, before);
    QFETCH(int, line);
    QFETCH(QString, name);
    QFETCH(QString, qth);
    QFETCH(QStringList, lines);
    QFETCH(MemberRecord, record);
    QFETCH(int, slot);
    checkInAll({"W1AW", "K9XYZ"});
    QVERIFY(s().writeSession(home_->path() + "/s.txt", kToday).ok);
    if (!before.isEmpty())
        s().beginAdd();
    if (before == "cancelled add")
        s().cancelEditor();
    QVERIFY(s().beginEdit(line));
    QVERIFY(s().changed());
    QCOMPARE(s().editor().form().call, record.call);
    s().setEditorText(Box::Name, name);
    s().setEditorText(Box::Qth, qth);
    const NetSession::SaveOutcome out = s().saveEditor(line);
    QVERIFY(out.editor.ok);
    QCOMPARE(out.editor.status, QString("RECORD UPDATED"));
    QVERIFY(!out.checkIn);
    QCOMPARE(out.editor.rosterLine, line);
    QCOMPARE(s().roster().lines(), lines);
    QCOMPARE(s().roster().slotAt(line), slot);
    QCOMPARE(s().table().record(slot), record);
    QCOMPARE(s().table().memberCount(), 3);
    MemberTable again;
    QVERIFY(again.LoadMemberTable(home_->memberFile()));
    QCOMPARE(again.record(slot), record);
    // Edit stays; only its caption goes.
    QCOMPARE(s().editor().mode(), EditorMode::Edit);
    QCOMPARE(s().editor().form().modeCaption, QString());
}

void TstNetSession::changeCall_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("newCall");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("ding");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("mode");  // after the Save
    const QStringList unchanged{kW1aw, kK9xyz};
    const QStringList changed{kW1aw, " K9NEW JO PEORIA IL"};
    QTest::newRow("changed") << 2 << "K9NEW" << "K9XYZ CHANGED TO K9NEW" << false << changed << int(EditorMode::None);
    QTest::newRow("typed in lower case") << 2 << "k9new" << "K9XYZ CHANGED TO K9NEW" << false << changed
                                         << int(EditorMode::None);
    QTest::newRow("new call taken") << 2 << "W1AW" << "CALL ALREADY EXISTS" << true << unchanged
                                    << int(EditorMode::ChangeCall);
    QTest::newRow("new call implausible") << 2 << "XX" << "XX  INVALID CALL" << true << unchanged
                                          << int(EditorMode::ChangeCall);
    QTest::newRow("new call empty") << 2 << "" << "  INVALID CALL" << true << unchanged << int(EditorMode::ChangeCall);
    QTest::newRow("no line selected") << 0 << "K9NEW" << "You must select a call to change" << true << unchanged
                                      << int(EditorMode::None);
    QTest::newRow("past the last line") << 3 << "K9NEW" << "You must select a call to change" << true << unchanged
                                        << int(EditorMode::None);
}

void TstNetSession::changeCall()
{
    QFETCH(int, line);
    QFETCH(QString, newCall);
    QFETCH(QString, status);
    QFETCH(bool, ding);
    QFETCH(QStringList, lines);
    QFETCH(int, mode);
    checkInAll({"W1AW", "K9XYZ"});
    QVERIFY(s().writeSession(home_->path() + "/s.txt", kToday).ok);
    const MemberEditor::Outcome begun = s().beginChangeCall(line);
    if (!begun.ok) {
        // Refused before anything changed.
        QCOMPARE(begun.status, status);
        QCOMPARE(begun.ding, ding);
        QCOMPARE(s().editor().mode(), EditorMode::None);
        QCOMPARE(s().editor().form(), MemberEditor::EditorForm());
        QCOMPARE(s().roster().lines(), lines);
        return;
    }
    QCOMPARE(s().editor().mode(), EditorMode::ChangeCall);
    QCOMPARE(s().editor().form().call, QString("K9XYZ"));
    s().setEditorText(Box::NewCall, newCall);
    const NetSession::SaveOutcome out = s().saveEditor(line);
    QCOMPARE(out.editor.status, status);
    QCOMPARE(out.editor.ding, ding);
    QVERIFY(!out.checkIn);
    QCOMPARE(s().roster().lines(), lines);
    QCOMPARE(int(s().editor().mode()), mode);
    QCOMPARE(s().roster().slotAt(2), 3);
    if (out.editor.ok) {
        QCOMPARE(s().table().call(3), QString("K9NEW"));
        QCOMPARE(s().table().FindCall("K9XYZ"), 0);
        // Still the same member, still checked in.
        QVERIFY(s().changed());
        QCOMPARE(int(s().checkIn("K9NEW").kind), int(Kind::Duplicate));
    } else {
        QCOMPARE(s().table().call(3), QString("K9XYZ"));
        QVERIFY(!s().changed());
    }
}

void TstNetSession::deleteYesNo_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TstNetSession::deleteYesNo()
{
    QFETCH(bool, yes);
    checkInAll({"W1AW", "K9XYZ", "N2ABX"});
    AppendNewMemberEntry(*settings_, "K9XYZ", "JO", "PEORIA IL");
    AppendNewMemberEntry(*settings_, "N2ABX", "AB", "");
    QVERIFY(s().writeSession(home_->path() + "/s.txt", kToday).ok);
    QCOMPARE(s().deleteQuestion(2), QString("DELETE K9XYZ JO FROM THE DATABASE?"));
    const MemberEditor::Outcome out = s().deleteLine(2, yes);
    QVERIFY(out.ok);
    QCOMPARE(out.status, yes ? QString("RECORD DELETED") : QString());
    QCOMPARE(out.membersChanged, yes);
    QCOMPARE(s().roster().lines(), QStringList({kW1aw, kN2abx}));
    QCOMPARE(s().roster().checkins(), 2);
    QCOMPARE(s().roster().slotAt(2), 4);
    QVERIFY(s().changed());
    QCOMPARE(s().table().memberCount(), yes ? 2 : 3);
    // A deleted member leaves the month's additions; the next moves up.
    QCOMPARE(ReadNewMemberList(*settings_, true), yes ? QStringList{"N2ABX AB "}
                                                      : QStringList({"K9XYZ JO PEORIA IL", "N2ABX AB "}));
    // Off the roster: a member may check in again, a deleted one is unknown.
    const CheckInOutcome again = s().checkIn("K9XYZ");
    QCOMPARE(int(again.kind), int(yes ? Kind::Unknown : Kind::CheckedIn));
    QCOMPARE(s().roster().checkins(), yes ? 2 : 3);
    if (!yes)
        QCOMPARE(s().roster().slotAt(3), 3);
}

void TstNetSession::noLine_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<bool>("deleteFirst");
    QTest::newRow("none selected") << 0 << false;
    QTest::newRow("past the last line") << 2 << false;
    QTest::newRow("the line a delete removed") << 1 << true;
}

void TstNetSession::noLine()
{
    QFETCH(int, line);
    QFETCH(bool, deleteFirst);
    s().checkIn("W1AW");
    if (deleteFirst)
        QVERIFY(s().deleteLine(1, false).ok);
    const QStringList lines = s().roster().lines();
    QVERIFY(s().writeSession(home_->path() + "/s.txt", kToday).ok);
    QVERIFY(!s().beginEdit(line));
    QCOMPARE(s().editor().mode(), EditorMode::None);
    QCOMPARE(s().editor().form(), MemberEditor::EditorForm());
    QVERIFY(!s().changed());
    QCOMPARE(s().deleteQuestion(line), QString());
    QVERIFY(!s().deleteLine(line, true).ok);
    const MemberEditor::Outcome change = s().beginChangeCall(line);
    QVERIFY(!change.ok);
    QCOMPARE(change.status, QString("You must select a call to change"));
    QCOMPARE(s().editor().mode(), EditorMode::None);
    QCOMPARE(s().roster().lines(), lines);
    QCOMPARE(s().table().memberCount(), 3);
}

// ---------------------------------------------------------------- the callbook's answer

void TstNetSession::editorAnswer_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<CallsignInfo>("info");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("qth");
    QTest::addColumn<QString>("status");
    const int none = int(CallbookError::None);
    const int failed = int(LookupAnswer::Kind::Failed);
    QTest::newRow("found") << none << CallsignInfo{" w1xyz ", "Mary Ann", "Boston", "MA"}
                           << int(LookupAnswer::Kind::Found) << "W1XYZ" << "MARY" << "BOSTON MA" << "";
    QTest::newRow("found, home state") << none << CallsignInfo{"N5AB", "joe", "Jackson", "MS"}
                                       << int(LookupAnswer::Kind::Found) << "N5AB" << "JOE" << "JACKSON" << "";
    QTest::newRow("found, other state") << none << CallsignInfo{"N5AB", "joe", "Jackson", "TN"}
                                        << int(LookupAnswer::Kind::Found) << "N5AB" << "JOE" << "JACKSON TN" << "";
    // The Add left the QTH box empty: the state follows a blank.
    QTest::newRow("found, state without a city") << none << CallsignInfo{"N5AB", "joe", "", "TN"}
                                                 << int(LookupAnswer::Kind::Found) << "N5AB" << "JOE" << " TN" << "";
    QTest::newRow("found without a call") << none << CallsignInfo{"", "Ann", "", ""} << int(LookupAnswer::Kind::Found)
                                          << "N1NEW" << "ANN" << "" << "";
    QTest::newRow("not found") << int(CallbookError::NotFound) << CallsignInfo{"N1NEW", "", "", ""}
                               << int(LookupAnswer::Kind::NotFound) << "" << "" << "" << "";
    QTest::newRow("login refused") << int(CallbookError::LoginRefused) << CallsignInfo{} << failed << "" << "" << ""
                                   << "QRZ LOGIN REFUSED";
    QTest::newRow("unreachable") << int(CallbookError::Unreachable) << CallsignInfo{} << failed << "" << "" << ""
                                 << "QRZ NOT REACHABLE";
    QTest::newRow("bad reply") << int(CallbookError::BadReply) << CallsignInfo{} << failed << "" << "" << ""
                               << "QRZ REPLY NOT UNDERSTOOD";
    QTest::newRow("keyring locked") << int(CallbookError::KeyringLocked) << CallsignInfo{} << failed << "" << ""
                                    << "" << "QRZ KEYRING LOCKED";
}

void TstNetSession::editorAnswer()
{
    QFETCH(int, error);
    QFETCH(CallsignInfo, info);
    QFETCH(int, kind);
    QFETCH(QString, call);
    QFETCH(QString, name);
    QFETCH(QString, qth);
    QFETCH(QString, status);
    CallbookResult result;
    result.error = CallbookError(error);
    result.info = info;
    const LookupAnswer a = EditorAnswerFor("N1NEW", result);
    QCOMPARE(int(a.kind), kind);
    QCOMPARE(a.call, call);
    QCOMPARE(a.name, name);
    QCOMPARE(a.qth, qth);
    QCOMPARE(a.status, status);
}

void TstNetSession::lookupAnswered_data()
{
    QTest::addColumn<QString>("answered");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("qth");
    QTest::addColumn<bool>("red");
    QTest::addColumn<bool>("saveEnabled");
    QTest::addColumn<bool>("callEnabled");
    QTest::newRow("found") << "N1NEW" << int(CallbookError::None) << true << "" << int(EditorState::Adding) << "CAROL"
                           << "BOSTON MA" << false << true << true;
    QTest::newRow("not found: red, no Save") << "N1NEW" << int(CallbookError::NotFound) << true << ""
                                             << int(EditorState::LookupFailed) << " NOT FOUND " << "" << true << false
                                             << true;
    QTest::newRow("login refused") << "N1NEW" << int(CallbookError::LoginRefused) << true << "QRZ LOGIN REFUSED"
                                   << int(EditorState::AddingUnknown) << "" << "" << false << true << false;
    QTest::newRow("unreachable") << "N1NEW" << int(CallbookError::Unreachable) << true << "QRZ NOT REACHABLE"
                                 << int(EditorState::AddingUnknown) << "" << "" << false << true << false;
    QTest::newRow("answer for another call") << "K2OTH" << int(CallbookError::None) << false << "untouched"
                                             << int(EditorState::LookingUp) << "" << "" << false << false << false;
}

void TstNetSession::lookupAnswered()
{
    QFETCH(QString, answered);
    QFETCH(int, error);
    QFETCH(bool, taken);
    QFETCH(QString, status);
    QFETCH(int, state);
    QFETCH(QString, name);
    QFETCH(QString, qth);
    QFETCH(bool, red);
    QFETCH(bool, saveEnabled);
    QFETCH(bool, callEnabled);
    s().checkIn("N1NEW");
    callbookReady(true);
    s().unknownCallClicked("N1NEW");
    s().beginLookup("N1NEW");
    CallbookResult result = found(answered, "Carol", "Boston", "MA");
    result.error = CallbookError(error);
    QString said = "untouched";
    QCOMPARE(s().lookupAnswered(answered, result, &said), taken);
    QCOMPARE(said, status);
    const MemberEditor::EditorForm& f = s().editor().form();
    QCOMPARE(int(s().editor().state()), state);
    QCOMPARE(f.modeCaption, QString("ADD"));
    QCOMPARE(f.call, QString("N1NEW"));
    QCOMPARE(f.name, name);
    QCOMPARE(f.qth, qth);
    QCOMPARE(f.lookupFailed, red);
    QCOMPARE(f.saveEnabled, saveEnabled);
    QCOMPARE(f.callEnabled, callEnabled);
    QCOMPARE(s().table().memberCount(), 3);
}

// ---------------------------------------------------------------- session files

void TstNetSession::writeSession_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<int>("traffic");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty session") << QStringList{} << 0 << QByteArray("0\r\n0\r\n3/7/2024\r\n");
    QTest::newRow("two stations and traffic")
        << QStringList{"W1AW", "K9XYZ"} << 2
        << QByteArray("2\r\n 2\r\n3/7/2024\r\n W1AW HIRAM CT\r\n K9XYZ JO PEORIA IL\r\n");
    QTest::newRow("unknown and refused calls are not written")
        << QStringList{"W3ABX", "W1AW", "W1AW", "XX"} << 0 << QByteArray("1\r\n0\r\n3/7/2024\r\n W1AW HIRAM CT\r\n");
}

void TstNetSession::writeSession()
{
    QFETCH(QStringList, typed);
    QFETCH(int, traffic);
    QFETCH(QByteArray, bytes);
    checkInAll(typed);
    clickTraffic(traffic);
    QCOMPARE(s().sessionBytes(kToday), bytes);
    const QString path = home_->path() + "/240307.txt";
    const NetSession::WriteOutcome out = s().writeSession(path, kToday);
    QVERIFY(out.ok);
    QVERIFY(out.error.isEmpty());
    QCOMPARE(readBytes(path), bytes);
    QCOMPARE(s().fileName(), path);
    QVERIFY(!s().changed());
    QVERIFY(!s().saveFailed());
}

void TstNetSession::writeSessionFails()
{
    s().checkIn("W1AW");
    const QString bad = home_->path() + "/no such folder/240307.txt";
    const NetSession::WriteOutcome out = s().writeSession(bad, kToday);
    QVERIFY(!out.ok);
    QVERIFY2(out.error.contains(bad), qPrintable(out.error));
    QVERIFY(s().saveFailed());
    QVERIFY(s().changed());  // nothing was saved
    QCOMPARE(s().fileName(), QString());
    // A later save that works clears the failure.
    const QString good = home_->path() + "/240307.txt";
    QVERIFY(s().writeSession(good, kToday).ok);
    QVERIFY(!s().saveFailed());
    QCOMPARE(s().fileName(), good);
}

void TstNetSession::openSession_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("netControl");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<int>>("memberSlots");
    QTest::addColumn<int>("checkins");
    QTest::addColumn<QString>("traffic");  // read without its leading blank
    QTest::addColumn<QString>("altCaption");  // empty: today's net control

    const QByteArray two = "2\r\n 3\r\n3/7/2024\r\n W1AW HIRAM CT\r\n K9XYZ JO PEORIA IL\r\n";
    QTest::newRow("net control") << two << "W1AW" << QStringList{kW1aw, kK9xyz} << QList<int>{1, 3} << 2 << "3" << "";
    QTest::newRow("alternate net control") << two << "N2ABX" << QStringList{kW1aw, kK9xyz} << QList<int>{1, 3} << 2
                                           << "3" << "HIRAM  W1AW";
    QTest::newRow("a line without a member")
        << QByteArray("2\r\n0\r\n3/7/2024\r\n W1AW HIRAM CT\r\n W5OLD GONE TX\r\n") << "W1AW"
        << QStringList{kW1aw, " W5OLD GONE TX"} << QList<int>{1, 0} << 2 << "0" << "";
    QTest::newRow("lines stored without their blank")
        << QByteArray("1\r\n0\r\n3/7/2024\r\nK9XYZ JO PEORIA IL\r\n") << "W1AW" << QStringList{kK9xyz}
        << QList<int>{3} << 1 << "0" << "JO  K9XYZ";
    QTest::newRow("fewer lines than counted") << QByteArray("3\r\n1\r\n3/7/2024\r\n W1AW HIRAM CT\r\n") << "W1AW"
                                     << QStringList{kW1aw} << QList<int>{1} << 3 << "1" << "";
    QTest::newRow("no stations") << QByteArray("0\r\n0\r\n3/7/2024\r\n") << "W1AW" << QStringList{} << QList<int>{}
                                 << 0 << "0" << "";
}

void TstNetSession::openSession()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, netControl);
    QFETCH(QStringList, lines);
    QFETCH(QList<int>, memberSlots);
    QFETCH(int, checkins);
    QFETCH(QString, traffic);
    QFETCH(QString, altCaption);
    // A session under way is replaced, marks and all.
    checkInAll({"N2ABX", "W3ABX"});
    clickTraffic(7);
    const QString path = home_->path() + "/240307.txt";
    writeBytes(path, bytes);
    const NetSession::OpenOutcome out = s().openSession(path, netControl);
    QVERIFY(out.ok);
    QVERIFY(out.error.isEmpty());
    QCOMPARE(out.date, QString("3/7/2024"));
    QCOMPARE(s().fileDate(), QString("3/7/2024"));
    QCOMPARE(out.altNetControl, !altCaption.isEmpty());
    QCOMPARE(out.altNetControlCaption, altCaption);
    QCOMPARE(s().fileName(), path);
    QVERIFY(!s().changed());
    QCOMPARE(s().roster().lines(), lines);
    for (int k = 1; k <= memberSlots.size(); ++k)
        QCOMPARE(s().roster().slotAt(k), memberSlots.at(k - 1));
    QCOMPARE(s().roster().checkins(), checkins);
    QCOMPARE(s().roster().trafficCaption(), traffic);
    // The members of the opened roster are duplicates; the one of the
    // replaced session checks in again.
    for (int k = 1; k <= memberSlots.size(); ++k)
        if (memberSlots.at(k - 1) != 0)
            QCOMPARE(int(s().checkIn(s().table().call(memberSlots.at(k - 1))).kind), int(Kind::Duplicate));
    QCOMPARE(int(s().checkIn("N2ABX").kind), int(Kind::CheckedIn));
}

void TstNetSession::openSessionFails_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("missing file") << false << QByteArray();
    QTest::newRow("no counters") << true << QByteArray("2\r\n1\r\n");
    QTest::newRow("empty file") << true << QByteArray();
}

void TstNetSession::openSessionFails()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, bytes);
    checkInAll({"W1AW", "K9XYZ"});
    clickTraffic(1);
    const QString path = home_->path() + "/240307.txt";
    if (exists)
        writeBytes(path, bytes);
    const NetSession::OpenOutcome out = s().openSession(path, "W1AW");
    QVERIFY(!out.ok);
    QVERIFY(!out.error.isEmpty());
    // Nothing changed.
    QCOMPARE(s().roster().lines(), QStringList({kW1aw, kK9xyz}));
    QCOMPARE(s().roster().checkins(), 2);
    QCOMPARE(s().roster().trafficCaption(), QString(" 1"));
    QCOMPARE(s().fileName(), QString());
    QCOMPARE(s().fileDate(), QString());
    QVERIFY(s().changed());
}

void TstNetSession::lineWithoutMemberFromFile()
{
    const QString path = home_->path() + "/old.txt";
    writeBytes(path, "2\r\n0\r\n3/7/2024\r\n W1AW HIRAM CT\r\n W5OLD GONE TX\r\n");
    QVERIFY(s().openSession(path, "W1AW").ok);
    const QByteArray members = readBytes(home_->memberFile());
    // Edit fills nothing, and its Save finds no member to write.
    QVERIFY(s().beginEdit(2));
    QCOMPARE(s().editor().form().call, QString());
    s().setEditorText(Box::Name, "SOMEONE");
    const NetSession::SaveOutcome saved = s().saveEditor(2);
    QCOMPARE(saved.editor.status, QString("ERROR! RECORD NOT FOUND!"));
    // Delete answered Yes takes the line off and frees no member's slot.
    const MemberEditor::Outcome gone = s().deleteLine(2, true);
    QVERIFY(gone.ok);
    QVERIFY(!gone.membersChanged);
    QCOMPARE(s().roster().lines(), QStringList{kW1aw});
    QCOMPARE(s().table().memberCount(), 3);
    QCOMPARE(readBytes(home_->memberFile()), members);
}

void TstNetSession::sessionRoundTrip()
{
    checkInAll({"K9XYZ", "W3ABX", "W1AW"});
    clickTraffic(3);
    const QString path = home_->path() + "/240307.txt";
    QVERIFY(s().writeSession(path, kToday).ok);
    NetSession other(*settings_, clock_);
    QVERIFY(other.loadMemberTable(home_->memberFile()));
    const NetSession::OpenOutcome out = other.openSession(path, "K9XYZ");
    QVERIFY(out.ok);
    QVERIFY(!out.altNetControl);
    QCOMPARE(other.roster().lines(), s().roster().lines());
    QCOMPARE(other.roster().checkins(), 2);
    QCOMPARE(other.roster().traffic(), 3);
    QCOMPARE(other.roster().slotAt(1), 3);
    QCOMPARE(other.roster().slotAt(2), 1);
    QCOMPARE(other.sessionBytes(kToday),
             QByteArray("2\r\n3\r\n3/7/2024\r\n K9XYZ JO PEORIA IL\r\n W1AW HIRAM CT\r\n"));
    // Counters written elsewhere with leading zeros are saved as they were,
    // until they change.
    const QByteArray zeros("002\r\n005\r\n3/7/2024\r\n K9XYZ JO PEORIA IL\r\n W1AW HIRAM CT\r\n");
    writeBytes(path, zeros);
    QVERIFY(other.openSession(path, "K9XYZ").ok);
    QCOMPARE(other.sessionBytes(kToday), zeros);
    other.trafficClicked(false);
    QVERIFY(other.sessionBytes(kToday).startsWith("002\r\n 6\r\n"));
}

void TstNetSession::timesAcrossSaveAndOpen_data()
{
    QTest::addColumn<bool>("keep");              // the companion as written
    QTest::addColumn<QByteArray>("companion");   // else these bytes (empty: no file)
    QTest::addColumn<QStringList>("times");      // per line after the open
    QTest::addColumn<QStringList>("traffic");    // the traffic log after the open
    QTest::addColumn<bool>("damaged");           // said at the open, kept aside at the next save
    const QStringList none{"", ""};
    const QStringList w1aw{"in 19:42Z", ""};
    QTest::newRow("as written") << true << QByteArray() << QStringList{"in 19:42Z", "in 19:50Z, out 20:15Z"}
                                << QStringList{"20:15Z 1"} << false;
    QTest::newRow("no companion: no times") << false << QByteArray() << none << QStringList() << false;
    QTest::newRow("any order; other calls skipped")
        << false << QByteArray("N2ABX,2024-03-07T19:00:00Z,\r\nK9XYZ,2024-03-07T19:50:00Z,\r\nW1AW,,2024-03-07T20:30:00Z\n")
        << QStringList{"out 20:30Z", "in 19:50Z"} << QStringList() << false;
    QTest::newRow("quoted call") << false << QByteArray("\"W1AW\",2024-03-07T19:42:00Z,\r\n") << w1aw << QStringList()
                                 << false;
    QTest::newRow("traffic before and after the stations")
        << false
        << QByteArray("*TRAFFIC*,2024-03-07T19:45:00Z,1\r\nW1AW,2024-03-07T19:42:00Z,\r\n"
                      "*TRAFFIC*,2024-03-07T19:46:00Z,0\r\n")
        << w1aw << QStringList{"19:45Z 1", "19:46Z 0"} << false;
    QTest::newRow("damaged: traffic without a time")
        << false << QByteArray("W1AW,2024-03-07T19:42:00Z,\r\n*TRAFFIC*,,1\r\n") << w1aw << QStringList() << true;
    QTest::newRow("damaged: traffic count not a number")
        << false << QByteArray("*TRAFFIC*,2024-03-07T19:45:00Z,one\r\n") << none << QStringList() << true;
    QTest::newRow("damaged: traffic count too large")
        << false << QByteArray("*TRAFFIC*,2024-03-07T19:45:00Z,32768\r\n") << none << QStringList() << true;
    QTest::newRow("damaged: two fields") << false << QByteArray("W1AW,2024-03-07T19:42:00Z\r\n") << none
                                         << QStringList() << true;
    QTest::newRow("damaged: a junk line costs only itself")
        << false
        << QByteArray("W1AW,2024-03-07T19:42:00Z,\r\nK9XYZ,yesterday,\r\n*TRAFFIC*,2024-03-07T19:45:00Z,1\r\n"
                      "\x01\x02junk\r\nK9XYZ,2024-03-07T19:50:00Z,\r\n")
        << QStringList{"in 19:42Z", "in 19:50Z"} << QStringList{"19:45Z 1"} << true;
    QTest::newRow("damaged: time not in UTC") << false << QByteArray("W1AW,2024-03-07T19:42:00+01:00,\r\n") << none
                                              << QStringList() << true;
    QTest::newRow("damaged: open quote") << false << QByteArray("\"W1AW,2024-03-07T19:42:00Z,\r\n") << none
                                         << QStringList() << true;
    QTest::newRow("damaged: not UTF-8") << false << QByteArray("W1AW,2024-03-07T19:42:00Z,\xff\r\n") << none
                                        << QStringList() << true;
    QTest::newRow("damaged: no call") << false << QByteArray(",2024-03-07T19:42:00Z,\r\n") << none << QStringList()
                                      << true;
}

void TstNetSession::timesAcrossSaveAndOpen()
{
    QFETCH(bool, keep);
    QFETCH(QByteArray, companion);
    QFETCH(QStringList, times);
    QFETCH(QStringList, traffic);
    QFETCH(bool, damaged);
    for (const char* step : {"19:42Z W1AW", "19:50Z K9XYZ", "20:15Z out 2"})
        run(step);
    clickTraffic(1);
    const QString path = home_->path() + "/240307.txt";
    QVERIFY(s().writeSession(path, kToday).ok);
    // The session file is as it always was; the times lie beside it.
    QCOMPARE(readBytes(path), QByteArray("2\r\n 1\r\n3/7/2024\r\n W1AW HIRAM CT\r\n K9XYZ JO PEORIA IL\r\n"));
    QCOMPARE(readBytes(path + ".times"), QByteArray("W1AW,2024-03-07T19:42:00Z,\r\n"
                                                    "K9XYZ,2024-03-07T19:50:00Z,2024-03-07T20:15:00Z\r\n"
                                                    "*TRAFFIC*,2024-03-07T20:15:00Z,1\r\n"));
    if (!keep) {
        QVERIFY(QFile::remove(path + ".times"));
        if (!companion.isEmpty())
            writeBytes(path + ".times", companion);
    }
    NetSession other(*settings_, clock_);
    QVERIFY(other.loadMemberTable(home_->memberFile()));
    other.checkIn("N2ABX");  // a session under way loses its times with its lines
    const NetSession::OpenOutcome out = other.openSession(path, "W1AW");
    QVERIFY(out.ok);
    QCOMPARE(other.roster().lines(), QStringList({kW1aw, kK9xyz}));
    QCOMPARE(timesTexts(other), times);
    QVERIFY(!other.changed());
    QStringList logged;
    for (const TrafficEvent& t : other.roster().trafficLog())
        logged.append(t.at.toUTC().toString("HH:mmZ ") + QString::number(t.count));
    QCOMPARE(logged, traffic);
    QCOMPARE(out.notice.contains(path + ".times"), damaged);
    // The next save never overwrites a companion that was not read whole.
    const NetSession::WriteOutcome saved = other.writeSession(path, kToday);
    QVERIFY(saved.ok);
    QCOMPARE(saved.notice.contains(path + ".times.damaged"), damaged);
    QCOMPARE(QFile::exists(path + ".times.damaged"), damaged);
    if (damaged)
        QCOMPARE(readBytes(path + ".times.damaged"), companion);
}

void TstNetSession::timesWriteFails_data()
{
    QTest::addColumn<QString>("blocked");   // a folder where this file belongs
    QTest::addColumn<bool>("timesWritten");
    QTest::newRow("times file") << ".times" << false;
    QTest::newRow("session file") << "" << true;
}

// The times go first: a failure never leaves a session without its times,
// and the message says what was written.
void TstNetSession::timesWriteFails()
{
    QFETCH(QString, blocked);
    QFETCH(bool, timesWritten);
    run("19:42Z W1AW");
    const QString path = home_->path() + "/240307.txt";
    QVERIFY(QDir().mkpath(path + blocked));
    const NetSession::WriteOutcome out = s().writeSession(path, kToday);
    QVERIFY(!out.ok);
    QVERIFY2(out.error.contains(path + blocked), qPrintable(out.error));
    QCOMPARE(out.error.contains("Only the stations' times were written"), timesWritten);
    QCOMPARE(out.error.contains("Nothing was written"), !timesWritten);
    QCOMPARE(QFileInfo(path + ".times").isFile(), timesWritten);
    if (!timesWritten)
        QVERIFY(!QFileInfo::exists(path));
    QVERIFY(s().saveFailed());
    QVERIFY(s().changed());
}

// ---------------------------------------------------------------- the monthly report

void TstNetSession::addToReport_data()
{
    QTest::addColumn<QStringList>("stored");  // sessions, check-ins, traffic before
    QTest::addColumn<int>("times");           // additions in this run
    QTest::addColumn<bool>("ok");
    QTest::addColumn<NetReport>("after");
    // This session: two check-ins, one piece of traffic.
    QTest::newRow("first session") << QStringList{"", "", ""} << 1 << true << NetReport{1, 2, 1};
    QTest::newRow("added to the totals") << QStringList{"4", "40", "7"} << 1 << true << NetReport{5, 42, 8};
    QTest::newRow("added twice") << QStringList{"4", "40", "7"} << 2 << true << NetReport{6, 44, 9};
    QTest::newRow("check-ins past the top") << QStringList{"4", "32766", "7"} << 1 << false << NetReport{4, 32766, 7};
    QTest::newRow("traffic past the top") << QStringList{"4", "40", "32767"} << 1 << false << NetReport{4, 40, 32767};
    QTest::newRow("sessions past the top") << QStringList{"32767", "40", "7"} << 1 << false
                                           << NetReport{32767, 40, 7};
}

void TstNetSession::addToReport()
{
    QFETCH(QStringList, stored);
    QFETCH(int, times);
    QFETCH(bool, ok);
    QFETCH(NetReport, after);
    using namespace ReportKeys;
    const QString keys[] = {kSessions, kCheckins, kTraffic};
    for (int i = 0; i < 3; ++i)
        if (!stored.at(i).isEmpty())
            settings_->SaveSetting(kReport, keys[i], stored.at(i));
    checkInAll({"W1AW", "K9XYZ", "W3ABX"});
    clickTraffic(1);
    NetReport report = LoadReportCounters(*settings_);
    const NetReport before = report;
    int sessionsThisRun = 0;
    for (int i = 0; i < times; ++i) {
        const ReportWriteOutcome out = s().addToReport(report, sessionsThisRun);
        QCOMPARE(out.stored, ok);
        QCOMPARE(out.message.isEmpty(), ok);
    }
    QCOMPARE(sessionsThisRun, times);
    QCOMPARE(report, after);
    QCOMPARE(LoadReportCounters(*settings_), ok ? after : before);
    if (!ok)
        for (int i = 0; i < 3; ++i)
            QCOMPARE(settings_->GetSetting(kReport, keys[i]), stored.at(i));
}

VELN_TEST(TstNetSession)
#include "tst_net_session.moc"
