#include "checkin_applied.h"
#include "core/member_table.h"
#include "member_files.h"
#include "session/checkin_roster.h"
#include "session/member_changes.h"
#include "session/session_file.h"
#include "test_home.h"
#include "test_main.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>

using namespace MemberChanges;
using MemberEditor::Outcome;
using MemberEditor::SaveNewMember;
using MemberEditor::StatusShow;

// The member editor's changes that reach the roster: the member file is
// written at once and the roster follows through the net's events.
class TstMemberChanges : public QObject {
    Q_OBJECT
private slots:
    void init() { home_ = std::make_unique<TestHome>(); }
    void cleanup() { home_.reset(); }

    void editUpdatesMemberAndItsLine();
    void editOfEmptyCallWritesNothing();
    void changeCall_data();
    void changeCall();
    void changeCallOfLineWithoutMember();
    void deleteYesNo_data();
    void deleteYesNo();
    void deleteLineWithoutMemberTouchesNoRecord();
    void deleteWords_data();
    void deleteWords();
    void failedDeleteChangesNothing();

private:
    MemberTable load(const QList<MemberRecord>& members) { return loadMembers(home_->memberFile(), members); }
    static Outcome applied(const Result& result, CheckinRoster& roster)
    {
        for (const NetEvent& e : result.events)
            roster.apply(e);
        return result.outcome;
    }
    std::unique_ptr<TestHome> home_;
};

void TstMemberChanges::editUpdatesMemberAndItsLine()
{
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}, {"K9XYZ", "JO", "IL"}});
    CheckinRoster r;
    r.append({"K9XYZ", "JO", "IL", 2});
    r.append({"W1AW", "HIRAM", "CT", 1});
    const Outcome o = applied(SaveEdit("W1AW", "HIRAM PERCY", "NEWINGTON CT", t, r), r);
    QVERIFY(o.ok);
    QCOMPARE(o.status, QString("RECORD UPDATED"));
    QCOMPARE(o.rosterLine, 2);
    QCOMPARE(r.lines().at(1), QString(" W1AW HIRAM PERCY NEWINGTON CT"));
    QCOMPARE(r.lines().at(0), QString(" K9XYZ JO IL"));
    MemberTable again;
    QVERIFY(again.LoadMemberTable(home_->memberFile()));
    QCOMPARE(again.name(1), QString("HIRAM PERCY"));
}

void TstMemberChanges::editOfEmptyCallWritesNothing()
{
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}, {}, {"K9XYZ", "JO", "IL"}});
    CheckinRoster r;
    const QByteArray before = readBytes(home_->memberFile());
    const Outcome o = applied(SaveEdit("", "SOMEONE", "SOMEWHERE", t, r), r);
    QVERIFY(!o.ok);
    QCOMPARE(o.status, QString("ERROR! RECORD NOT FOUND!"));
    QCOMPARE(o.show, StatusShow::ShowAlways);
    QCOMPARE(readBytes(home_->memberFile()), before);
    QCOMPARE(SaveEdit("N0NE", "X", "Y", t, r).outcome.status, QString("ERROR! RECORD NOT FOUND!"));
}

void TstMemberChanges::changeCall_data()
{
    QTest::addColumn<QString>("oldCall");
    QTest::addColumn<QString>("newCall");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("line");
    QTest::newRow("changed") << "K9XYZ" << "K9ABC" << "K9XYZ CHANGED TO K9ABC" << " K9ABC JO PEORIA IL";
    QTest::newRow("old call unknown") << "N0NE" << "K9ABC" << "ERROR! RECORD NOT FOUND!" << " K9XYZ JO PEORIA IL";
    QTest::newRow("new call taken") << "K9XYZ" << "W1AW" << "CALL ALREADY EXISTS" << " K9XYZ JO PEORIA IL";
    QTest::newRow("new call empty") << "K9XYZ" << "" << "  INVALID CALL" << " K9XYZ JO PEORIA IL";
    QTest::newRow("new call implausible") << "K9XYZ" << "XX" << "XX  INVALID CALL" << " K9XYZ JO PEORIA IL";
}

void TstMemberChanges::changeCall()
{
    QFETCH(QString, oldCall);
    QFETCH(QString, newCall);
    QFETCH(QString, status);
    QFETCH(QString, line);
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}, {"K9XYZ", "JO", "PEORIA IL"}});
    CheckinRoster r;
    r.append({"K9XYZ", "JO", "PEORIA IL", 2});
    const Outcome o = applied(SaveChangeCall(oldCall, newCall, 1, t, r), r);
    QCOMPARE(o.status, status);
    QCOMPARE(r.lines().at(0), line);
    QCOMPARE(r.slotAt(1), 2);
    if (o.ok) {
        QCOMPARE(t.FindCall(newCall), 2);
        QCOMPARE(t.FindCall(oldCall), 0);
        QCOMPARE(t.name(2), QString("JO"));
        QVERIFY(r.isCheckedIn(2));  // still the same member, still checked in
    } else {
        QCOMPARE(t.call(2), QString("K9XYZ"));
    }
}

void TstMemberChanges::changeCallOfLineWithoutMember()
{
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}});
    CheckinRoster r;
    r.appendUnmarked(SessionFile::StationOfLine(" W1AW HIRAM CT"));  // from a session file
    const Outcome o = applied(SaveChangeCall("W1AW", "W1XX", 1, t, r), r);
    QVERIFY(o.ok);
    QCOMPARE(r.lines().at(0), QString(" W1XX HIRAM CT"));
    QCOMPARE(t.call(1), QString("W1XX"));
}

void TstMemberChanges::deleteYesNo_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TstMemberChanges::deleteYesNo()
{
    QFETCH(bool, yes);
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}, {"K9XYZ", "JO", "IL"}, {"N2AB", "LEE", "NY"}});
    CheckinRoster r;
    EditorFlags flags;
    for (const char* c : {"W1AW", "K9XYZ", "N2AB"})
        CheckInApplied(c, t, r, flags, {});
    const qsizetype size = readBytes(home_->memberFile()).size();
    const Outcome o = applied(DeleteLine(2, yes, t, r), r);
    QVERIFY(o.ok);
    QCOMPARE(o.rosterLine, 2);
    QCOMPARE(o.status, yes ? QString("RECORD DELETED") : QString());
    QCOMPARE(r.lines(), QStringList({" W1AW HIRAM CT", " N2AB LEE NY"}));
    QCOMPARE(r.slotAt(2), 3);
    QCOMPARE(r.checkins(), 2);
    QVERIFY(!r.isCheckedIn(2));
    QCOMPARE(t.FindCall("K9XYZ"), yes ? 0 : 2);
    QCOMPARE(t.memberCount(), yes ? 2 : 3);
    QCOMPARE(readBytes(home_->memberFile()).size(), size);
    // The member (or the freed slot) can check in / be added again.
    if (yes)
        QCOMPARE(SaveNewMember("K9NEW", "", "", t, {}).status, QString("K9NEW INSERTED"));
    else
        QCOMPARE(int(CheckInApplied("K9XYZ", t, r, flags, {}).kind), int(CheckInOutcome::Kind::CheckedIn));
}

void TstMemberChanges::deleteLineWithoutMemberTouchesNoRecord()
{
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}});
    CheckinRoster r;
    r.appendUnmarked(SessionFile::StationOfLine(" W1AW HIRAM CT"));
    const QByteArray before = readBytes(home_->memberFile());
    const Outcome o = applied(DeleteLine(1, true, t, r), r);
    QVERIFY(o.ok);
    QCOMPARE(r.lineCount(), 0);
    QCOMPARE(readBytes(home_->memberFile()), before);
    QCOMPARE(t.memberCount(), 1);
    QVERIFY(!o.membersChanged);
    QVERIFY(!DeleteLine(1, true, t, r).outcome.ok);  // nothing selected any more
}

void TstMemberChanges::deleteWords_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("question");
    QTest::newRow("member line") << " W1AW HIRAM NEWINGTON CT" << "DELETE W1AW HIRAM FROM THE DATABASE?";
    QTest::newRow("no qth") << " W1AW HIRAM " << "DELETE W1AW HIRAM FROM THE DATABASE?";
    QTest::newRow("two blanks") << " W1AW  HIRAM CT" << "DELETE W1AW  FROM THE DATABASE?";
    QTest::newRow("call only") << " W1AW" << "DELETE W1AW  FROM THE DATABASE?";
}

void TstMemberChanges::deleteWords()
{
    QFETCH(QString, line);
    QFETCH(QString, question);
    QCOMPARE(DeleteQuestion(SessionFile::StationOfLine(line)), question);
}

void TstMemberChanges::failedDeleteChangesNothing()
{
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}});
    CheckinRoster r;
    EditorFlags flags;
    CheckInApplied("W1AW", t, r, flags, {});
    QVERIFY(QFile::remove(home_->memberFile()));
    QVERIFY(QDir().mkpath(home_->memberFile()));  // no longer writable as a file
    const Result del = DeleteLine(1, true, t, r);
    QVERIFY(!del.outcome.ok);
    QVERIFY(!del.outcome.error.isEmpty());
    QVERIFY(del.events.isEmpty());  // nothing half done
    QCOMPARE(t.FindCall("W1AW"), 1);
}

VELN_TEST(TstMemberChanges)
#include "tst_member_changes.moc"
