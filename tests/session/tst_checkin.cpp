#include "core/member_table.h"
#include "member_files.h"
#include "checkin_applied.h"
#include "session/checkin.h"
#include "session/checkin_roster.h"
#include "test_home.h"
#include "test_main.h"

#include <QTest>
#include <memory>

using Kind = CheckInOutcome::Kind;

class TstCheckIn : public QObject {
    Q_OBJECT
private slots:
    void init() { home_ = std::make_unique<TestHome>(); }
    void cleanup() { home_.reset(); }

    void outcomes_data();
    void outcomes();
    void duplicateAfterCheckIn();
    void unknownTwiceIsListedTwice();
    void statusHold();
    void flashCanBeDisabled();
    void memberWithoutQthEndsInBlank();
    void digitPosition_data();
    void digitPosition();
    void suffixRule_data();
    void suffixRule();
    void threeLetterSuffixSuggestions();
    void oneLetterSuffixSuggestions();
    void suggestionsAccumulateAndIgnorePrefix();
    void scanStopsAtSentinel();

private:
    MemberTable load(const QList<MemberRecord>& members) { return loadMembers(home_->memberFile(), members); }
    std::unique_ptr<TestHome> home_;
};

void TstCheckIn::outcomes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("sound");
    QTest::addColumn<QString>("line");
    QTest::newRow("member") << "W1AW" << int(Kind::CheckedIn) << "" << int(SoundCue::None) << " W1AW HIRAM NEWINGTON CT";
    QTest::newRow("lower case, blanks") << "  w1aw " << int(Kind::CheckedIn) << "" << int(SoundCue::None)
                                        << " W1AW HIRAM NEWINGTON CT";
    QTest::newRow("invalid") << "VE3ABC" << int(Kind::Invalid) << "VE3ABC  INVALID CALL" << int(SoundCue::Ding) << "";
    QTest::newRow("empty") << "" << int(Kind::Invalid) << "  INVALID CALL" << int(SoundCue::Ding) << "";
    QTest::newRow("blanks only") << "   " << int(Kind::Invalid) << "  INVALID CALL" << int(SoundCue::Ding) << "";
    QTest::newRow("unknown") << "n0new" << int(Kind::Unknown) << "N0NEW NOT FOUND" << int(SoundCue::Tada) << "";
}

void TstCheckIn::outcomes()
{
    QFETCH(QString, typed);
    QFETCH(int, kind);
    QFETCH(QString, status);
    QFETCH(int, sound);
    QFETCH(QString, line);
    const MemberTable t = load({{"W1AW", "HIRAM", "NEWINGTON CT"}});
    CheckinRoster roster;
    EditorFlags flags;
    flags.pendingInsert = 1;
    const CheckInOutcome out = CheckInApplied(typed, t, roster, flags, {});
    QCOMPARE(int(out.kind), kind);
    QCOMPARE(out.showStatus, !status.isEmpty());
    QCOMPARE(out.status, status);
    QCOMPARE(int(out.sound), sound);
    QCOMPARE(out.rosterLine, line);
    QCOMPARE(roster.lineCount(), line.isEmpty() ? 0 : 1);
    QCOMPARE(roster.sessionChanged(), kind == int(Kind::CheckedIn));
    QCOMPARE(roster.checkins(), roster.lineCount());
    QCOMPARE(roster.unknownCalls().size(), kind == int(Kind::Unknown) ? 1 : 0);
    // Only a check-in ends a pending add.
    QCOMPARE(flags.pendingInsert, kind == int(Kind::CheckedIn) ? 0 : 1);
    if (kind == int(Kind::CheckedIn)) {
        QCOMPARE(roster.slotAt(1), 1);
        QVERIFY(roster.isCheckedIn(1));
    }
}

void TstCheckIn::duplicateAfterCheckIn()
{
    const MemberTable t = load({{"W1AW", "HIRAM", "CT"}, {"K9XYZ", "JO", "IL"}});
    CheckinRoster roster;
    EditorFlags flags;
    QCOMPARE(int(CheckInApplied("K9XYZ", t, roster, flags, {}).kind), int(Kind::CheckedIn));
    const CheckInOutcome dup = CheckInApplied("k9xyz", t, roster, flags, {});
    QCOMPARE(int(dup.kind), int(Kind::Duplicate));
    QCOMPARE(dup.status, QString("DUPLICATE"));
    QCOMPARE(int(dup.sound), int(SoundCue::Ding));
    QCOMPARE(roster.lineCount(), 1);
    // After the line is removed the member checks in again.
    QCOMPARE(roster.removeLine(1), 2);
    QCOMPARE(int(CheckInApplied("K9XYZ", t, roster, flags, {}).kind), int(Kind::CheckedIn));
    QCOMPARE(roster.lineCount(), 1);
    QCOMPARE(roster.checkins(), 1);
}

void TstCheckIn::unknownTwiceIsListedTwice()
{
    const MemberTable t = load({{"W1ABC", "HIRAM", "CT"}});
    CheckinRoster roster;
    EditorFlags flags;
    CheckInApplied("K2ABC", t, roster, flags, {});
    CheckInApplied("K2ABC", t, roster, flags, {});
    QCOMPARE(roster.unknownCalls(), QStringList({"K2ABC", "K2ABC"}));
    QCOMPARE(roster.suggestions(), QStringList({"W1ABC"}));  // a suggestion is listed once
    QCOMPARE(roster.lineCount(), 0);
}

void TstCheckIn::statusHold()
{
    const MemberTable t = load({{"W1AW", "HIRAM", "CT"}});
    CheckinRoster roster;
    EditorFlags flags;
    flags.statusHold = true;
    // An invalid call keeps the hold; the next outcome clears it.
    auto out = CheckInApplied("XX", t, roster, flags, {});
    QVERIFY(!out.clearStatus);
    QVERIFY(flags.statusHold);
    out = CheckInApplied("W1AW", t, roster, flags, {});
    QVERIFY(!out.clearStatus);
    QVERIFY(!flags.statusHold);
    out = CheckInApplied("W1AW", t, roster, flags, {});
    QVERIFY(out.clearStatus);
}

void TstCheckIn::flashCanBeDisabled()
{
    const MemberTable t = load({{"W1AW", "HIRAM", "CT"}});
    CheckinRoster roster;
    EditorFlags flags;
    QVERIFY(CheckInApplied("K2ZZ", t, roster, flags, {}).flashSearch);
    CheckInOptions quiet;
    quiet.disableWindowFlash = true;
    const auto out = CheckInApplied("K2ZZ", t, roster, flags, quiet);
    QVERIFY(!out.flashSearch);
    QCOMPARE(int(out.sound), int(SoundCue::Tada));
    QCOMPARE(roster.unknownCalls().size(), 2);
}

void TstCheckIn::memberWithoutQthEndsInBlank()
{
    const MemberTable t = load({{"W1AW", "HIRAM", ""}});
    CheckinRoster roster;
    EditorFlags flags;
    QCOMPARE(CheckInApplied("W1AW", t, roster, flags, {}).rosterLine, QString(" W1AW HIRAM "));
}

void TstCheckIn::digitPosition_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("pos");
    QTest::newRow("second") << "W1AW" << 2;
    QTest::newRow("third") << "KB1XYZ" << 3;
    QTest::newRow("both, larger second") << "K91A" << 2;
    QTest::newRow("both, larger third") << "K19A" << 3;
    QTest::newRow("both equal") << "K11A" << 3;
    QTest::newRow("neither") << "KBC1" << 0;
    QTest::newRow("free slot") << "" << 0;
    QTest::newRow("sentinel") << "**EOF*" << 0;
}

void TstCheckIn::digitPosition()
{
    QFETCH(QString, call);
    QFETCH(int, pos);
    QCOMPARE(DistrictDigitPosition(call), pos);
}

void TstCheckIn::suffixRule_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("member");
    QTest::addColumn<bool>("suggested");
    // Three typed letters, three member letters.
    QTest::newRow("3/3 same") << "ABC" << "ABC" << true;
    QTest::newRow("3/3 first two") << "ABC" << "ABX" << true;
    QTest::newRow("3/3 last two") << "ABC" << "XBC" << true;
    QTest::newRow("3/3 first and last") << "ABC" << "AXC" << true;
    QTest::newRow("3/3 D3 = T2") << "ABC" << "AXB" << true;
    QTest::newRow("3/3 all letters present") << "ABC" << "CAB" << true;
    QTest::newRow("3/3 unrelated") << "ABC" << "XYZ" << false;
    QTest::newRow("3/3 one letter shared") << "ABC" << "XAY" << false;
    QTest::newRow("3/4 never") << "ABC" << "ABCD" << false;
    QTest::newRow("3/2 shorter") << "ABC" << "AB" << false;
    // Two typed letters.
    QTest::newRow("2/3 front") << "AB" << "ABX" << true;
    QTest::newRow("2/3 back") << "AB" << "XAB" << true;
    QTest::newRow("2/3 split") << "AB" << "AXB" << false;
    QTest::newRow("2/2 same") << "AB" << "AB" << true;
    QTest::newRow("2/2 T1 in D") << "AB" << "XA" << true;
    QTest::newRow("2/2 T2 in D") << "AB" << "BX" << true;
    QTest::newRow("2/2 none") << "AB" << "XY" << false;
    QTest::newRow("2/4 never") << "AB" << "ABXY" << false;
    QTest::newRow("2/1 shorter") << "AB" << "A" << false;
    // One typed letter.
    QTest::newRow("1/1 always") << "A" << "Z" << true;
    QTest::newRow("1/2 first") << "A" << "AX" << true;
    QTest::newRow("1/2 second") << "A" << "XA" << true;
    QTest::newRow("1/2 none") << "A" << "XY" << false;
    QTest::newRow("1/3 never") << "A" << "AAA" << false;
}

void TstCheckIn::suffixRule()
{
    QFETCH(QString, typed);
    QFETCH(QString, member);
    QFETCH(bool, suggested);
    QCOMPARE(SuffixLooksAlike(typed, member), suggested);
}

void TstCheckIn::threeLetterSuffixSuggestions()
{
    const MemberTable t = load({{"W1ABC", "", ""},
                                {"K2ABX", "", ""},
                                {"N3XBC", "", ""},
                                {"KB4AXC", "", ""},
                                {"W5AXB", "", ""},
                                {"AA6CAB", "", ""},
                                {"W7XYZ", "", ""},
                                {"W8ABCD", "", ""},
                                {}});
    QCOMPARE(SuggestCalls("WB9ABC", t), QStringList({"W1ABC", "K2ABX", "N3XBC", "KB4AXC", "W5AXB", "AA6CAB"}));
}

void TstCheckIn::oneLetterSuffixSuggestions()
{
    const MemberTable t = load({{"W1A", "", ""}, {"K2Z", "", ""}, {"N3QA", "", ""}, {"N4QR", "", ""}, {"W5AAA", "", ""}});
    QCOMPARE(SuggestCalls("K0A", t), QStringList({"W1A", "K2Z", "N3QA"}));
}

void TstCheckIn::suggestionsAccumulateAndIgnorePrefix()
{
    const MemberTable t = load({{"W1ABC", "", ""}, {"KB1ABC", "", ""}, {"N2XY", "", ""}});
    CheckinRoster roster;
    EditorFlags flags;
    CheckInApplied("W9ABC", t, roster, flags, {});
    CheckInApplied("K9XY", t, roster, flags, {});
    // A call suggested before is not listed again.
    QCOMPARE(CheckInApplied("N7ABC", t, roster, flags, {}).suggestions, QStringList());
    QCOMPARE(roster.suggestions(), QStringList({"W1ABC", "KB1ABC", "N2XY"}));
    roster.clearSearchLists();
    QVERIFY(roster.suggestions().isEmpty());
    QVERIFY(roster.unknownCalls().isEmpty());
}

void TstCheckIn::scanStopsAtSentinel()
{
    QByteArray bytes = memberFileBytes({{"W1ABC", "", ""}});
    bytes += MemberRecord{"K2ABC", "", ""}.encode();  // after the sentinel
    writeBytes(home_->memberFile(), bytes);
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(SuggestCalls("N9ABC", t), QStringList({"W1ABC"}));
}

VELN_TEST(TstCheckIn)
#include "tst_checkin.moc"
