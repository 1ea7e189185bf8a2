#include "core/call_sign.h"
#include "core/member_table.h"
#include "member_files.h"
#include "test_home.h"
#include "test_main.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>

class TstMemberTable : public QObject {
    Q_OBJECT
private slots:
    void init() { home_ = std::make_unique<TestHome>(); }
    void cleanup() { home_.reset(); }

    void recordLayout_data();
    void recordLayout();
    void sentinelFirstIsEmptyDatabase();
    void loadTrimsAndCountsFreeSlots();
    void missingFileIsCreatedWithFolders();
    void emptyAndTruncatedFilesGetASentinel_data();
    void emptyAndTruncatedFilesGetASentinel();
    void noSentinelInThousandRecords();
    void junkRecordsAreFreeSlots_data();
    void junkRecordsAreFreeSlots();
    void callsTheCheckInRefusesStayMembers_data();
    void callsTheCheckInRefusesStayMembers();
    void recordsAfterSentinelAreIgnored();
    void findCallIsExactAndBelowSentinel();
    void addReusesFirstFreeSlot();
    void addMovesSentinel();
    void addRefusesExistingCallAnywhere();
    void fullTableRefusesAndChangesNothing();
    void writeSlotCutsToWidth();
    void writeSlotRefusesAnotherMembersCall();
    void blankSlotKeepsFileLength();
    void failedWriteLeavesTableUnchanged();
    void unreadableFileIsReported_data();
    void unreadableFileIsReported();
    void counterColour_data();
    void counterColour();
    void latin1RoundTrip();

private:
    std::unique_ptr<TestHome> home_;
};

void TstMemberTable::recordLayout_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("qth");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("padded") << "W1AW" << "HIRAM" << "NEWINGTON CT"
                            << QByteArray("W1AW  HIRAM          NEWINGTON CT             ");
    QTest::newRow("cut") << "KB1XYZQ" << "BARTHOLOMEW THEODORE" << "A VERY LONG TOWN NAME INDEED, MA"
                         << QByteArray("KB1XYZBARTHOLOMEW THEA VERY LONG TOWN NAME IND");
    QTest::newRow("blank") << "" << "" << "" << QByteArray(46, ' ');
    QTest::newRow("letters Latin-1 lacks") << "W1AW" << QString::fromUtf8("ŁUKASZ") << QString::fromUtf8("ĐAKOVO, Ǘ")
                                           << QByteArray("W1AW  LUKASZ         DAKOVO, \xDC                ");
}

void TstMemberTable::recordLayout()
{
    QFETCH(QString, call);
    QFETCH(QString, name);
    QFETCH(QString, qth);
    QFETCH(QByteArray, bytes);
    const MemberRecord r{call, name, qth};
    QCOMPARE(r.encode().size(), 46);
    QCOMPARE(r.encode(), bytes);
    const MemberRecord back = MemberRecord::decode(bytes);
    QCOMPARE(back.call, call.left(6).trimmed());
    QCOMPARE(back.name, QString::fromLatin1(bytes.mid(6, 15)).trimmed());
    QCOMPARE(back.qth, QString::fromLatin1(bytes.mid(21, 25)).trimmed());
}

void TstMemberTable::sentinelFirstIsEmptyDatabase()
{
    writeMemberFile(home_->memberFile(), {});
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(t.EndSlot(), 1);
    QCOMPARE(t.memberCount(), 0);
    QCOMPARE(t.call(1), MemberTable::kSentinel);
    QCOMPARE(t.FindCall("W1AW"), 0);
}

void TstMemberTable::loadTrimsAndCountsFreeSlots()
{
    QByteArray bytes = QByteArray(" W1AW ") + QByteArray("  HIRAM        ") + QByteArray(" NEWINGTON").leftJustified(25, ' ');
    bytes += MemberRecord{}.encode();
    bytes += MemberRecord{"K9XYZ", "JO", ""}.encode();
    bytes += memberFileBytes({});
    writeBytes(home_->memberFile(), bytes);
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(t.EndSlot(), 4);
    QCOMPARE(t.memberCount(), 2);
    QCOMPARE(t.call(1), QString("W1AW"));
    QCOMPARE(t.name(1), QString("HIRAM"));
    QCOMPARE(t.qth(1), QString("NEWINGTON"));
    QVERIFY(t.record(2).isFree());
    QCOMPARE(t.FindCall("K9XYZ"), 3);
    QCOMPARE(t.qth(3), QString());
}

void TstMemberTable::missingFileIsCreatedWithFolders()
{
    QVERIFY(!QFile::exists(home_->memberFile()));
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(t.EndSlot(), 1);
    QCOMPARE(readBytes(home_->memberFile()), memberFileBytes({}));
}

void TstMemberTable::emptyAndTruncatedFilesGetASentinel_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("endSlot");
    QTest::addColumn<int>("members");
    QTest::addColumn<QByteArray>("afterLoad");
    const QByteArray two = memberFileBytes({{"W1AW", "HIRAM", "CT"}, {"K9XYZ", "JO", "IL"}}, false);
    QTest::newRow("empty file") << QByteArray() << 1 << 0 << memberFileBytes({});
    QTest::newRow("no sentinel, whole records") << two << 3 << 2 << two + memberFileBytes({});
    QTest::newRow("cut inside the last record")
        << two.left(46 + 10) << 3 << 2
        << memberFileBytes({{"W1AW", "HIRAM", "CT"}, {"K9XYZ", "JO", ""}});
    // A half-written end record is a free slot, not a member "**EO".
    QTest::newRow("half-written end record")
        << two + "**EO" << 4 << 2 << two + MemberRecord{}.encode() + memberFileBytes({});
}

void TstMemberTable::emptyAndTruncatedFilesGetASentinel()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, endSlot);
    QFETCH(int, members);
    QFETCH(QByteArray, afterLoad);
    writeBytes(home_->memberFile(), bytes);
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(t.EndSlot(), endSlot);
    QCOMPARE(t.memberCount(), members);
    QCOMPARE(readBytes(home_->memberFile()), afterLoad);
    // The repaired file loads the same way.
    MemberTable again;
    QVERIFY(again.LoadMemberTable(home_->memberFile()));
    QCOMPARE(again.EndSlot(), endSlot);
}

void TstMemberTable::junkRecordsAreFreeSlots_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("members");
    QTest::addColumn<bool>("warned");  // also: nothing written to the file
    const QByteArray two = memberFileBytes({{"W1AW", "HIRAM", "CT"}, {"K9XYZ", "JO", "IL"}}, false);
    const QByteArray end = memberFileBytes({});
    QTest::newRow("zero-filled") << QByteArray(100 * 46, '\0') << 0 << true;
    QTest::newRow("control bytes in a call") << QByteArray("W1\x01\x02Z ").leftJustified(46, ' ') + two + end << 2 << false;
    QTest::newRow("NUL inside a call") << QByteArray("K1\0AB ", 7).leftJustified(46, ' ') + two + end << 2 << false;
    QTest::newRow("letters no call holds") << QByteArray("W1\xC9\xC9Z ").leftJustified(46, ' ') + two + end << 2 << false;
    QByteArray noise(300 * 46, Qt::Uninitialized);
    quint32 v = 12345;
    for (char& c : noise)
        c = char((v = v * 1103515245u + 12345u) >> 16);
    QTest::newRow("random bytes") << noise << 0 << true;
    QTest::newRow("mostly junk") << QByteArray(3 * 46, '\x7f') + two + end << 2 << true;
}

void TstMemberTable::junkRecordsAreFreeSlots()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, members);
    QFETCH(bool, warned);
    writeBytes(home_->memberFile(), bytes);
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(t.memberCount(), members);
    for (int slot = 1; slot < t.EndSlot() && slot <= MemberTable::kSlots; ++slot)
        QVERIFY(!MemberRecord::isJunkCall(t.call(slot)));
    QCOMPARE(t.lastError().contains(home_->memberFile()), warned);
    if (warned)
        QCOMPARE(readBytes(home_->memberFile()), bytes);
    // A new member goes into a free slot, never beside a junk "member".
    QCOMPARE(t.AddMember({"N1NEW", "NEW", "ME"}), MemberTable::Result::Ok);
    MemberTable again;
    QVERIFY(again.LoadMemberTable(home_->memberFile()));
    QCOMPARE(again.memberCount(), members + 1);
    QVERIFY(again.FindCall("N1NEW") > 0);
}

void TstMemberTable::callsTheCheckInRefusesStayMembers_data()
{
    QTest::addColumn<QString>("call");
    QTest::newRow("foreign prefix") << "VE3ABC";
    QTest::newRow("six with the digit second") << "N0CALL";
    QTest::newRow("no digit") << "XYZ";
    QTest::newRow("portable") << "W1AW/P";
    QTest::newRow("lower case") << "k1abc";
}

void TstMemberTable::callsTheCheckInRefusesStayMembers()
{
    QFETCH(QString, call);
    QVERIFY(!IsValidCall(call));
    const QByteArray bytes = memberFileBytes({{"W1AW", "HIRAM", "CT"}, {call, "OLD", "HAND MADE"}, {"K9XYZ", "JO", "IL"}});
    writeBytes(home_->memberFile(), bytes);
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(t.memberCount(), 3);
    QCOMPARE(t.FindCall(call), 2);
    QVERIFY(t.lastError().isEmpty());
    // A new member goes behind them, never over one.
    int slot = 0;
    QCOMPARE(t.AddMember({"W9TAB", "TAB", "WI"}, &slot), MemberTable::Result::Ok);
    QCOMPARE(slot, 4);
    QCOMPARE(readBytes(home_->memberFile()).left(3 * 46), bytes.left(3 * 46));
}

void TstMemberTable::noSentinelInThousandRecords()
{
    QList<MemberRecord> recs = manyMembers(1005);
    recs[500] = MemberRecord{};  // one free slot inside the first 1000
    writeMemberFile(home_->memberFile(), recs, false);
    const QByteArray before = readBytes(home_->memberFile());
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(t.EndSlot(), 1001);
    QCOMPARE(t.memberCount(), 999);
    QCOMPARE(t.FindCall(recs[1002].call), 0);  // beyond slot 1000: never read
    QCOMPARE(readBytes(home_->memberFile()), before);
    // The operator learns that records were left out.
    QVERIFY2(t.lastError().contains(home_->memberFile()), qPrintable(t.lastError()));

    // The free slot is still usable; after that the table is full.
    int slot = 0;
    QCOMPARE(t.AddMember({"W0ZZZ", "NEW", ""}, &slot), MemberTable::Result::Ok);
    QCOMPARE(slot, 501);
    QCOMPARE(t.AddMember({"W0ZZY", "NEW", ""}), MemberTable::Result::Full);
    const QByteArray after = readBytes(home_->memberFile());
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.mid(1000 * 46), before.mid(1000 * 46));  // nothing past slot 1000 written
}

void TstMemberTable::recordsAfterSentinelAreIgnored()
{
    QByteArray bytes = memberFileBytes({{"W1AW", "HIRAM", "CT"}});
    bytes += MemberRecord{"K9XYZ", "GHOST", ""}.encode();
    writeBytes(home_->memberFile(), bytes);
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(t.EndSlot(), 2);
    QCOMPARE(t.FindCall("K9XYZ"), 0);
}

void TstMemberTable::findCallIsExactAndBelowSentinel()
{
    writeMemberFile(home_->memberFile(), {{"W1AW", "HIRAM", "CT"}});
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(t.FindCall("W1AW"), 1);
    QCOMPARE(t.FindCall("w1aw"), 0);
    QCOMPARE(t.FindCall(" W1AW"), 0);
    QCOMPARE(t.FindCall(MemberTable::kSentinel), 0);
    QCOMPARE(t.FindCall(""), 0);
}

void TstMemberTable::addReusesFirstFreeSlot()
{
    writeMemberFile(home_->memberFile(), {{"W1AW", "A", ""}, {}, {}, {"K9XYZ", "B", ""}});
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    const auto claim = t.TakeSlotForNew();
    QCOMPARE(claim.slot, 2);
    QVERIFY(claim.reused);
    int slot = 0;
    QCOMPARE(t.AddMember({"n1abc", "carol", "boston"}, &slot), MemberTable::Result::Ok);
    QCOMPARE(slot, 2);
    QCOMPARE(t.EndSlot(), 5);
    QCOMPARE(t.memberCount(), 3);
    QCOMPARE(t.call(2), QString("n1abc"));  // stored as given; callers upper-case
    const QByteArray file = readBytes(home_->memberFile());
    QCOMPARE(file.size(), 5 * 46);
    QCOMPARE(file.mid(46, 46), MemberRecord({"n1abc", "carol", "boston"}).encode());
}

void TstMemberTable::addMovesSentinel()
{
    writeMemberFile(home_->memberFile(), {{"W1AW", "A", ""}});
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(t.TakeSlotForNew().slot, 2);
    QVERIFY(!t.TakeSlotForNew().reused);
    QCOMPARE(t.AddMember({"N1ABC", "CAROL", "BOSTON"}), MemberTable::Result::Ok);
    QCOMPARE(t.EndSlot(), 3);
    QCOMPARE(readBytes(home_->memberFile()), memberFileBytes({{"W1AW", "A", ""}, {"N1ABC", "CAROL", "BOSTON"}}));
    MemberTable again;
    QVERIFY(again.LoadMemberTable(home_->memberFile()));
    QCOMPARE(again.FindCall("N1ABC"), 2);
    QCOMPARE(again.EndSlot(), 3);
}

void TstMemberTable::addRefusesExistingCallAnywhere()
{
    // The existing call sits after a free slot: a search that stops at the
    // first gap would miss it.
    writeMemberFile(home_->memberFile(), {{"W1AW", "A", ""}, {}, {"K9XYZ", "B", ""}});
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    const QByteArray before = readBytes(home_->memberFile());
    QCOMPARE(t.AddMember({"K9XYZ", "DUP", ""}), MemberTable::Result::CallExists);
    QCOMPARE(readBytes(home_->memberFile()), before);
    QCOMPARE(t.memberCount(), 2);
}

void TstMemberTable::fullTableRefusesAndChangesNothing()
{
    writeMemberFile(home_->memberFile(), manyMembers(999));
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(t.EndSlot(), 1000);
    QCOMPARE(t.memberCount(), 999);
    QCOMPARE(t.TakeSlotForNew().slot, 0);
    const QByteArray before = readBytes(home_->memberFile());
    QCOMPARE(t.AddMember({"W0ZZZ", "LATE", ""}), MemberTable::Result::Full);
    QCOMPARE(MemberTable::resultText(MemberTable::Result::Full), QString("DATABASE FULL"));
    QCOMPARE(readBytes(home_->memberFile()), before);
    QCOMPARE(t.EndSlot(), 1000);

    // Freeing one member makes room again, in the same slot.
    QCOMPARE(t.BlankSlot(10), MemberTable::Result::Ok);
    int slot = 0;
    QCOMPARE(t.AddMember({"W0ZZZ", "LATE", ""}, &slot), MemberTable::Result::Ok);
    QCOMPARE(slot, 10);
}

void TstMemberTable::writeSlotCutsToWidth()
{
    writeMemberFile(home_->memberFile(), {{"W1AW", "A", ""}});
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(t.WriteSlot(1, {"W1AW", "MAXIMILIANUS THE GREAT", "SPRINGFIELD"}), MemberTable::Result::Ok);
    QCOMPARE(t.name(1), QString("MAXIMILIANUS TH"));  // cut to 15, as stored
    MemberTable again;
    QVERIFY(again.LoadMemberTable(home_->memberFile()));
    QCOMPARE(again.record(1), t.record(1));
    // Neither the sentinel nor a slot beyond it can be written.
    QCOMPARE(t.WriteSlot(2, {"K1A", "", ""}), MemberTable::Result::BadSlot);
    QCOMPARE(t.WriteSlot(0, {"K1A", "", ""}), MemberTable::Result::BadSlot);
    QCOMPARE(t.WriteSlot(1, {MemberTable::kSentinel, "", ""}), MemberTable::Result::BadSlot);
}

void TstMemberTable::writeSlotRefusesAnotherMembersCall()
{
    writeMemberFile(home_->memberFile(), {{"W1AW", "A", ""}, {"K9XYZ", "B", ""}});
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(t.WriteSlot(2, {"W1AW", "B", ""}), MemberTable::Result::CallExists);
    QCOMPARE(t.call(2), QString("K9XYZ"));
    QCOMPARE(t.WriteSlot(2, {"K9XYZ", "BOB", "X"}), MemberTable::Result::Ok);  // its own call is fine
}

void TstMemberTable::blankSlotKeepsFileLength()
{
    writeMemberFile(home_->memberFile(), {{"W1AW", "A", ""}, {"K9XYZ", "B", ""}});
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    const qsizetype size = readBytes(home_->memberFile()).size();
    QCOMPARE(t.BlankSlot(1), MemberTable::Result::Ok);
    QCOMPARE(t.memberCount(), 1);
    QCOMPARE(t.FindCall("W1AW"), 0);
    const QByteArray file = readBytes(home_->memberFile());
    QCOMPARE(file.size(), size);
    QCOMPARE(file.left(46), QByteArray(46, ' '));
    QCOMPARE(t.BlankSlot(1), MemberTable::Result::Ok);  // blanking a free slot again
    QCOMPARE(t.memberCount(), 1);
}

void TstMemberTable::failedWriteLeavesTableUnchanged()
{
    writeMemberFile(home_->memberFile(), {{"W1AW", "A", ""}});
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    // A folder in the file's place cannot be opened for writing, not even by root.
    QVERIFY(QFile::remove(home_->memberFile()));
    QVERIFY(QDir().mkpath(home_->memberFile()));
    QCOMPARE(t.AddMember({"N1ABC", "C", ""}), MemberTable::Result::WriteFailed);
    QCOMPARE(t.EndSlot(), 2);
    QCOMPARE(t.memberCount(), 1);
    QCOMPARE(t.WriteSlot(1, {"W1AW", "CHANGED", ""}), MemberTable::Result::WriteFailed);
    QCOMPARE(t.name(1), QString("A"));
    QCOMPARE(t.BlankSlot(1), MemberTable::Result::WriteFailed);
    QCOMPARE(t.FindCall("W1AW"), 1);
    QVERIFY(!t.lastError().isEmpty());
}

void TstMemberTable::unreadableFileIsReported_data()
{
    QTest::addColumn<QString>("blocked");  // made a folder or a plain file
    QTest::addColumn<bool>("asFolder");
    QTest::addColumn<QString>("named");
    // A folder where the file should be can be neither read nor created.
    QTest::newRow("folder in the file's place") << "Version 1/Veln.dat" << true << "Version 1/Veln.dat";
    // A plain file where the data folder should be: the folder cannot be made.
    QTest::newRow("file in the folder's place") << "Version 1" << false << "Version 1";
}

void TstMemberTable::unreadableFileIsReported()
{
    QFETCH(QString, blocked);
    QFETCH(bool, asFolder);
    QFETCH(QString, named);
    const QString path = home_->dataRoot() + blocked;
    if (asFolder)
        QVERIFY(QDir().mkpath(path));
    else
        writeBytes(path, "in the way");
    MemberTable t;
    QVERIFY(!t.LoadMemberTable(home_->memberFile()));
    QVERIFY2(t.lastError().contains(home_->dataRoot() + named), qPrintable(t.lastError()));
    QVERIFY2(!t.lastError().contains("Unknown error"), qPrintable(t.lastError()));
    QCOMPARE(t.AddMember({"N1ABC", "C", ""}), MemberTable::Result::NotLoaded);
    QCOMPARE(t.WriteSlot(1, {"N1ABC", "C", ""}), MemberTable::Result::NotLoaded);
}

void TstMemberTable::counterColour_data()
{
    QTest::addColumn<int>("members");
    QTest::addColumn<int>("colour");
    QTest::newRow("949") << 949 << int(MembersCounterColour::Unchanged);
    QTest::newRow("950") << 950 << int(MembersCounterColour::Yellow);
    QTest::newRow("951") << 951 << int(MembersCounterColour::Unchanged);
    QTest::newRow("989") << 989 << int(MembersCounterColour::Unchanged);
    QTest::newRow("990") << 990 << int(MembersCounterColour::Red);
    QTest::newRow("991") << 991 << int(MembersCounterColour::Unchanged);
}

void TstMemberTable::counterColour()
{
    QFETCH(int, members);
    QFETCH(int, colour);
    writeMemberFile(home_->memberFile(), manyMembers(members));
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(t.memberCount(), members);
    QCOMPARE(int(MembersCounterColourFor(t.memberCount())), colour);
}

void TstMemberTable::latin1RoundTrip()
{
    writeMemberFile(home_->memberFile(), {});
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    QCOMPARE(t.AddMember({"W1AW", QString::fromUtf8("JOSÉ"), QString::fromUtf8("MONTRÉAL")}), MemberTable::Result::Ok);
    const QByteArray file = readBytes(home_->memberFile());
    QCOMPARE(file.size(), 2 * 46);
    QCOMPARE(file.mid(6, 4), QByteArray("JOS\xC9"));
    MemberTable again;
    QVERIFY(again.LoadMemberTable(home_->memberFile()));
    QCOMPARE(again.name(1), QString::fromUtf8("JOSÉ"));
}

VELN_TEST(TstMemberTable)
#include "tst_member_table.moc"
