#include "core/member_table.h"
#include "member_files.h"
#include "members/member_editor.h"
#include "session/checkin.h"
#include "session/checkin_roster.h"
#include "test_home.h"
#include "test_main.h"

#include <QDir>
#include <QTest>
#include <memory>

using namespace MemberEditor;

class TstMemberEditor : public QObject {
    Q_OBJECT
private slots:
    void init() { home_ = std::make_unique<TestHome>(); }
    void cleanup() { home_.reset(); }

    void addOutcomes_data();
    void addOutcomes();
    void addRecordsTheNewMember();
    void addWhenFull();
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
    void failedWriteIsReported();
    void pendingInsert_data();
    void pendingInsert();

private:
    MemberTable load(const QList<MemberRecord>& members) { return loadMembers(home_->memberFile(), members); }
    std::unique_ptr<TestHome> home_;
};

void TstMemberEditor::addOutcomes_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("ding");
    QTest::addColumn<int>("slot");
    QTest::newRow("reuses the free slot") << "N1NEW" << "N1NEW INSERTED" << false << 2;
    QTest::newRow("digit third") << "KB1NEW" << "KB1NEW INSERTED" << false << 2;
    QTest::newRow("letters second and third") << "WAB1" << "WAB1  INVALID CALL" << false << 0;
    QTest::newRow("exists before the gap") << "W1AW" << "CALL ALREADY EXISTS" << true << 0;
    // The whole table is searched, not only the slots before the first gap.
    QTest::newRow("exists after the gap") << "K9XYZ" << "CALL ALREADY EXISTS" << true << 0;
}

void TstMemberEditor::addOutcomes()
{
    QFETCH(QString, call);
    QFETCH(QString, status);
    QFETCH(bool, ding);
    QFETCH(int, slot);
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}, {}, {"K9XYZ", "JO", "IL"}});
    const QByteArray before = readBytes(home_->memberFile());
    const Outcome o = SaveNewMember(call, "ANN", "TOWN", t, {});
    QCOMPARE(o.status, status);
    QCOMPARE(o.ding, ding);
    QCOMPARE(o.slot, slot);
    QCOMPARE(o.ok, slot != 0);
    QCOMPARE(o.refusal == Refusal::None, slot != 0);
    QCOMPARE(o.show, slot != 0 ? StatusShow::CaptionOnly : StatusShow::Show);
    if (slot == 0)
        QCOMPARE(readBytes(home_->memberFile()), before);
    else
        QCOMPARE(t.record(slot), MemberRecord({call, "ANN", "TOWN"}));
    QCOMPARE(t.memberCount(), slot != 0 ? 3 : 2);
}

void TstMemberEditor::addRecordsTheNewMember()
{
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}});
    QStringList recorded;
    const Outcome o = SaveNewMember("N1NEW", "", "", t, [&](const QString& c, const QString& n, const QString& q) {
        recorded << c + "|" + n + "|" + q;
    });
    QCOMPARE(o.status, QString("N1NEW ADDED"));  // the sentinel moved
    QCOMPARE(t.EndSlot(), 3);
    QCOMPARE(recorded, QStringList({"N1NEW||"}));
    // A refusal records nothing.
    SaveNewMember("N1NEW", "", "", t, [&](const QString&, const QString&, const QString&) { recorded << "again"; });
    QCOMPARE(recorded.size(), 1);
}

void TstMemberEditor::addWhenFull()
{
    MemberTable t = load(manyMembers(999));
    const Outcome o = SaveNewMember("W0ZZZ", "LATE", "", t, {});
    QCOMPARE(o.refusal, Refusal::DatabaseFull);
    QCOMPARE(o.status, QString("DATABASE FULL"));
    QVERIFY(o.ding);
    QCOMPARE(t.memberCount(), 999);
}

void TstMemberEditor::editUpdatesMemberAndItsLine()
{
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}, {"K9XYZ", "JO", "IL"}});
    CheckinRoster r;
    r.append(" K9XYZ JO IL", 2);
    r.append(" W1AW HIRAM CT", 1);
    const Outcome o = SaveEdit("W1AW", "HIRAM PERCY", "NEWINGTON CT", t, r);
    QVERIFY(o.ok);
    QCOMPARE(o.status, QString("RECORD UPDATED"));
    QCOMPARE(o.rosterLine, 2);
    QCOMPARE(r.lines().at(1), QString(" W1AW HIRAM PERCY NEWINGTON CT"));
    QCOMPARE(r.lines().at(0), QString(" K9XYZ JO IL"));
    MemberTable again;
    QVERIFY(again.LoadMemberTable(home_->memberFile()));
    QCOMPARE(again.name(1), QString("HIRAM PERCY"));
}

void TstMemberEditor::editOfEmptyCallWritesNothing()
{
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}, {}, {"K9XYZ", "JO", "IL"}});
    CheckinRoster r;
    const QByteArray before = readBytes(home_->memberFile());
    const Outcome o = SaveEdit("", "SOMEONE", "SOMEWHERE", t, r);
    QVERIFY(!o.ok);
    QCOMPARE(o.status, QString("ERROR! RECORD NOT FOUND!"));
    QCOMPARE(o.show, StatusShow::ShowAlways);
    QCOMPARE(readBytes(home_->memberFile()), before);
    QCOMPARE(SaveEdit("N0NE", "X", "Y", t, r).status, QString("ERROR! RECORD NOT FOUND!"));
}

void TstMemberEditor::changeCall_data()
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

void TstMemberEditor::changeCall()
{
    QFETCH(QString, oldCall);
    QFETCH(QString, newCall);
    QFETCH(QString, status);
    QFETCH(QString, line);
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}, {"K9XYZ", "JO", "PEORIA IL"}});
    CheckinRoster r;
    r.append(" K9XYZ JO PEORIA IL", 2);
    const Outcome o = SaveChangeCall(oldCall, newCall, 1, t, r);
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

void TstMemberEditor::changeCallOfLineWithoutMember()
{
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}});
    CheckinRoster r;
    r.appendUnmarked(" W1AW HIRAM CT", 0);  // from a session file
    const Outcome o = SaveChangeCall("W1AW", "W1XX", 1, t, r);
    QVERIFY(o.ok);
    QCOMPARE(r.lines().at(0), QString(" W1XX HIRAM CT"));
    QCOMPARE(t.call(1), QString("W1XX"));
}

void TstMemberEditor::deleteYesNo_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TstMemberEditor::deleteYesNo()
{
    QFETCH(bool, yes);
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}, {"K9XYZ", "JO", "IL"}, {"N2AB", "LEE", "NY"}});
    CheckinRoster r;
    EditorFlags flags;
    for (const char* c : {"W1AW", "K9XYZ", "N2AB"})
        ProcessCheckIn(c, t, r, flags, {});
    const qsizetype size = readBytes(home_->memberFile()).size();
    const Outcome o = DeleteLine(2, yes, t, r);
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
        QCOMPARE(int(ProcessCheckIn("K9XYZ", t, r, flags, {}).kind), int(CheckInOutcome::Kind::CheckedIn));
}

void TstMemberEditor::deleteLineWithoutMemberTouchesNoRecord()
{
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}});
    CheckinRoster r;
    r.appendUnmarked(" W1AW HIRAM CT", 0);
    const QByteArray before = readBytes(home_->memberFile());
    const Outcome o = DeleteLine(1, true, t, r);
    QVERIFY(o.ok);
    QCOMPARE(r.lineCount(), 0);
    QCOMPARE(readBytes(home_->memberFile()), before);
    QCOMPARE(t.memberCount(), 1);
    QVERIFY(!o.membersChanged);
    QVERIFY(!DeleteLine(1, true, t, r).ok);  // nothing selected any more
}

void TstMemberEditor::deleteWords_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("question");
    QTest::newRow("member line") << " W1AW HIRAM NEWINGTON CT" << "DELETE W1AW HIRAM FROM THE DATABASE?";
    QTest::newRow("no qth") << " W1AW HIRAM " << "DELETE W1AW HIRAM FROM THE DATABASE?";
    QTest::newRow("call only") << " W1AW" << "DELETE W1AW  FROM THE DATABASE?";
}

void TstMemberEditor::deleteWords()
{
    QFETCH(QString, line);
    QFETCH(QString, question);
    QCOMPARE(DeleteQuestion(line), question);
}

void TstMemberEditor::failedWriteIsReported()
{
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}});
    CheckinRoster r;
    EditorFlags flags;
    ProcessCheckIn("W1AW", t, r, flags, {});
    QVERIFY(QFile::remove(home_->memberFile()));
    QVERIFY(QDir().mkpath(home_->memberFile()));  // no longer writable as a file
    const Outcome add = SaveNewMember("N1NEW", "A", "B", t, {});
    QVERIFY(!add.ok);
    QVERIFY(!add.error.isEmpty());
    const Outcome del = DeleteLine(1, true, t, r);
    QVERIFY(!del.ok);
    QVERIFY(!del.error.isEmpty());
    QCOMPARE(r.lineCount(), 1);  // nothing half done
    QCOMPARE(t.FindCall("W1AW"), 1);
}

void TstMemberEditor::pendingInsert_data()
{
    QTest::addColumn<int>("pending");
    QTest::addColumn<bool>("disabled");
    QTest::addColumn<bool>("insert");
    QTest::newRow("adding, auto insert on") << 1 << false << true;
    QTest::newRow("adding, auto insert off") << 1 << true << false;
    QTest::newRow("nothing pending") << 0 << false << false;
    QTest::newRow("lookup under way") << 2 << false << false;
}

void TstMemberEditor::pendingInsert()
{
    QFETCH(int, pending);
    QFETCH(bool, disabled);
    QFETCH(bool, insert);
    EditorFlags flags;
    flags.pendingInsert = pending;
    QCOMPARE(TakePendingInsert(flags, disabled), insert);
    QCOMPARE(flags.pendingInsert, 0);
}

VELN_TEST(TstMemberEditor)
#include "tst_member_editor.moc"
