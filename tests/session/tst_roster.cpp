#include "core/member_table.h"
#include "member_files.h"
#include "checkin_applied.h"
#include "session/checkin.h"
#include "session/checkin_roster.h"
#include "test_home.h"
#include "test_main.h"

#include <QTest>
#include <memory>

namespace {
// A one-word line (its call alone) of the member in slot.
StationRecord station(const QString& call, int slot)
{
    StationRecord s;
    s.call = call;
    s.slot = slot;
    s.words = 1;
    return s;
}

// A click on the traffic counter as the net hands it to the roster.
void click(CheckinRoster& r, bool right, const QDateTime& at = {})
{
    NetEvent e;
    e.kind = right ? NetEvent::Kind::TrafficDown : NetEvent::Kind::TrafficUp;
    e.at = at;
    e.count = r.trafficAfterClick(right);
    r.apply(e);
}
}  // namespace

class TstRoster : public QObject {
    Q_OBJECT
private slots:
    void init() { home_ = std::make_unique<TestHome>(); }
    void cleanup() { home_.reset(); }

    void removalMovesSlotsUp();
    void twoRemovalsThenCheckIn();
    void noHundredLineLimit();
    void unmarkedLinesHaveNoMember();
    void traffic_data();
    void traffic();
    void trafficStopsAt32767();

private:
    std::unique_ptr<TestHome> home_;
};

void TstRoster::removalMovesSlotsUp()
{
    CheckinRoster r;
    r.append(station("A", 5));
    r.append(station("B", 7));
    r.append(station("C", 9));
    const QDateTime nine(QDate(2024, 3, 7), QTime(19, 0), Qt::UTC);
    for (int k = 1; k <= 3; ++k)
        r.setTimes(k, {nine.addSecs(60 * k), {}});
    r.setSessionChanged(false);
    QCOMPARE(r.removeLine(2), 7);
    // The times go with their lines.
    QCOMPARE(r.timesAt(1).in, nine.addSecs(60));
    QCOMPARE(r.timesAt(2).in, nine.addSecs(180));
    QCOMPARE(r.timesAt(3), StationTimes());
    QVERIFY(r.sessionChanged());
    QCOMPARE(r.lines(), QStringList({" A", " C"}));
    QCOMPARE(r.slotAt(1), 5);
    QCOMPARE(r.slotAt(2), 9);
    QVERIFY(!r.isCheckedIn(7));
    QVERIFY(r.isCheckedIn(9));
    QCOMPARE(r.checkins(), 2);
    QCOMPARE(r.removeLine(3), 0);  // no such line
    QCOMPARE(r.removeLine(0), 0);
    QCOMPARE(r.checkins(), 2);
}

void TstRoster::twoRemovalsThenCheckIn()
{
    writeMemberFile(home_->memberFile(), manyMembers(6));
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    CheckinRoster r;
    EditorFlags flags;
    for (int i = 1; i <= 5; ++i)
        CheckInApplied(t.call(i), t, r, flags, {});
    r.removeLine(2);
    r.removeLine(2);
    CheckInApplied(t.call(6), t, r, flags, {});
    QCOMPARE(r.lineCount(), 4);
    QCOMPARE(r.checkins(), 4);
    const QList<int> expected{1, 4, 5, 6};
    for (int k = 1; k <= 4; ++k) {
        QCOMPARE(r.slotAt(k), expected[k - 1]);
        QVERIFY(r.lines().at(k - 1).startsWith(QLatin1Char(' ') + t.call(expected[k - 1]) + QLatin1Char(' ')));
    }
    // The removed members can check in again; the others are duplicates.
    QCOMPARE(int(CheckInApplied(t.call(2), t, r, flags, {}).kind), int(CheckInOutcome::Kind::CheckedIn));
    QCOMPARE(int(CheckInApplied(t.call(4), t, r, flags, {}).kind), int(CheckInOutcome::Kind::Duplicate));
}

void TstRoster::noHundredLineLimit()
{
    writeMemberFile(home_->memberFile(), manyMembers(150));
    MemberTable t;
    QVERIFY(t.LoadMemberTable(home_->memberFile()));
    CheckinRoster r;
    EditorFlags flags;
    for (int i = 1; i <= 150; ++i)
        QCOMPARE(int(CheckInApplied(t.call(i), t, r, flags, {}).kind), int(CheckInOutcome::Kind::CheckedIn));
    QCOMPARE(r.lineCount(), 150);
    QCOMPARE(r.slotAt(101), 101);
    QCOMPARE(r.slotAt(150), 150);
    r.removeLine(1);
    QCOMPARE(r.slotAt(100), 101);
}

void TstRoster::unmarkedLinesHaveNoMember()
{
    CheckinRoster r;
    r.appendUnmarked({"W1AW", "HIRAM", "CT", 1});
    r.appendUnmarked({"N0BODY", "X", "Y", 0});
    r.appendUnmarked(station("BAD", 5000));  // out of range: no member
    QVERIFY(!r.isCheckedIn(1));
    QCOMPARE(r.slotAt(2), 0);
    QCOMPARE(r.slotAt(3), 0);
    QCOMPARE(r.removeLine(2), 0);
    QCOMPARE(r.lineCount(), 2);
}

void TstRoster::traffic_data()
{
    QTest::addColumn<QString>("clicks");  // L or R per click
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QList<int>>("logged");  // the counts the log keeps, minute by minute
    QTest::newRow("start") << "" << "0" << QList<int>{};
    QTest::newRow("one left") << "L" << " 1" << QList<int>{1};
    QTest::newRow("right at zero") << "R" << " 0" << QList<int>{};
    QTest::newRow("right then left") << "RL" << " 1" << QList<int>{1};
    QTest::newRow("up and down") << "LLLR" << " 2" << QList<int>{1, 2, 3, 2};
    QTest::newRow("never below zero") << "LRRR" << " 0" << QList<int>{1, 0};
}

void TstRoster::traffic()
{
    QFETCH(QString, clicks);
    QFETCH(QString, caption);
    QFETCH(QList<int>, logged);
    CheckinRoster r;
    CheckinRoster timed;
    const QDateTime start(QDate(2024, 3, 7), QTime(19, 0), Qt::UTC);
    for (int i = 0; i < clicks.size(); ++i) {
        click(r, clicks.at(i) == QLatin1Char('R'));
        click(timed, clicks.at(i) == QLatin1Char('R'), start.addSecs(60 * i));
    }
    QCOMPARE(r.trafficCaption(), caption);
    QCOMPARE(timed.trafficCaption(), caption);
    QVERIFY(r.trafficLog().isEmpty());  // no moment, no log
    QList<int> counts;
    for (const TrafficEvent& e : timed.trafficLog())
        counts.append(e.count);
    QCOMPARE(counts, logged);
}

void TstRoster::trafficStopsAt32767()
{
    CheckinRoster r;
    r.setTraffic(32766, false);
    QCOMPARE(r.trafficCaption(), QString("32766"));
    click(r, false);
    QCOMPARE(r.trafficCaption(), QString(" 32767"));
    click(r, false);
    QCOMPARE(r.trafficCaption(), QString(" 32767"));
    r.setTraffic(40000, false);
    QCOMPARE(r.traffic(), 32767);
}

VELN_TEST(TstRoster)
#include "tst_roster.moc"
