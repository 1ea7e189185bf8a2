#include "core/member_table.h"
#include "member_files.h"
#include "members/member_editor.h"
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
    void failedWriteIsReported();

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

void TstMemberEditor::failedWriteIsReported()
{
    MemberTable t = load({{"W1AW", "HIRAM", "CT"}});
    QVERIFY(QFile::remove(home_->memberFile()));
    QVERIFY(QDir().mkpath(home_->memberFile()));  // no longer writable as a file
    const Outcome add = SaveNewMember("N1NEW", "A", "B", t, {});
    QVERIFY(!add.ok);
    QVERIFY(!add.error.isEmpty());
    QCOMPARE(t.FindCall("N1NEW"), 0);
}

VELN_TEST(TstMemberEditor)
#include "tst_member_editor.moc"
