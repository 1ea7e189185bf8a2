#include "fakes.h"
#include "session/id_alert.h"
#include "test_main.h"

#include <QTest>

class TstIdAlert : public QObject {
    Q_OBJECT
private slots:
    void scheduleKey_data();
    void scheduleKey();
    void schedule_data();
    void schedule();
    void alertEndsOnTime_data();
    void alertEndsOnTime();
};

void TstIdAlert::scheduleKey_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("key");
    QTest::newRow("7:39:00 PM") << QTime(19, 39, 0) << "7:39:0";
    QTest::newRow("8:09:15 PM") << QTime(20, 9, 15) << "8:9:15";
    QTest::newRow("7:39:00 AM") << QTime(7, 39, 0) << "7:39:0";
    QTest::newRow("two-digit hour") << QTime(22, 39, 0) << "10:39:0";
    QTest::newRow("noon") << QTime(12, 0, 5) << "12:0:5";
    QTest::newRow("midnight") << QTime(0, 9, 16) << "12:9:16";
}

void TstIdAlert::scheduleKey()
{
    QFETCH(QTime, time);
    QFETCH(QString, key);
    QCOMPARE(IdAlert::ScheduleKey(time), key);
}

void TstIdAlert::schedule_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<bool>("blinking");
    QTest::addColumn<int>("action");
    using A = IdAlert::Action;
    QTest::newRow("7:38:59") << QTime(19, 38, 59) << false << int(A::None);
    QTest::newRow("7:39:00 starts") << QTime(19, 39, 0) << false << int(A::Start);
    QTest::newRow("7:39:14 goes on") << QTime(19, 39, 14) << true << int(A::None);
    QTest::newRow("7:39:15 ends") << QTime(19, 39, 15) << true << int(A::Stop);
    QTest::newRow("7:39:16 missed end") << QTime(19, 39, 16) << true << int(A::Stop);
    QTest::newRow("7:39:16 nothing running") << QTime(19, 39, 16) << false << int(A::None);
    QTest::newRow("7:29:00 no start") << QTime(19, 29, 0) << false << int(A::None);
    QTest::newRow("7:29:15 end key") << QTime(19, 29, 15) << true << int(A::Stop);
    QTest::newRow("8:09:00 starts") << QTime(20, 9, 0) << false << int(A::Start);
    QTest::newRow("8:19:00 starts") << QTime(20, 19, 0) << false << int(A::Start);
    QTest::newRow("8:29:00 none") << QTime(20, 29, 0) << false << int(A::None);
    QTest::newRow("10:39:00 none") << QTime(22, 39, 0) << false << int(A::None);
    QTest::newRow("7:40:05 one-digit second") << QTime(19, 40, 5) << true << int(A::None);
    // "8:9:16" is a character shorter than "7:39:16"; it must stop all the same.
    QTest::newRow("8:09:16 missed end") << QTime(20, 9, 16) << true << int(A::Stop);
    QTest::newRow("8:09:59 missed end") << QTime(20, 9, 59) << true << int(A::Stop);
    QTest::newRow("8:09:15 AM ends") << QTime(8, 9, 15) << true << int(A::Stop);
    QTest::newRow("10:39:20 missed end") << QTime(22, 39, 20) << true << int(A::Stop);
}

void TstIdAlert::schedule()
{
    QFETCH(QTime, time);
    QFETCH(bool, blinking);
    QFETCH(int, action);
    QCOMPARE(int(IdAlert::ActionFor(IdAlert::ScheduleKey(time), blinking)), action);
    QCOMPARE(int(IdAlert::ActionAt(time, blinking)), action);
}

void TstIdAlert::alertEndsOnTime_data()
{
    QTest::addColumn<QTime>("start");
    QTest::addColumn<QList<int>>("missedSeconds");  // ticks of the alert's minute that never come
    QTest::addColumn<int>("stopSecond");
    for (const QTime& start : {QTime(19, 39, 0), QTime(19, 49, 0), QTime(19, 59, 0), QTime(20, 9, 0), QTime(20, 19, 0)}) {
        for (const QTime& at : {start, start.addSecs(-12 * 3600)}) {
            const QByteArray name = at.toString(QStringLiteral("h:mm AP")).toLatin1();
            QTest::newRow(name + " every tick") << at << QList<int>{} << 15;
            QTest::newRow(name + " end tick missed") << at << QList<int>{15} << 16;
            QTest::newRow(name + " two ticks missed") << at << QList<int>{15, 16} << 17;
        }
    }
}

// The window's once-a-second tick on a faked clock, from a minute before the
// alert to a minute after it.
void TstIdAlert::alertEndsOnTime()
{
    QFETCH(QTime, start);
    QFETCH(QList<int>, missedSeconds);
    QFETCH(int, stopSecond);
    FakeClock clock;
    clock.current = QDateTime(QDate(2026, 12, 8), start.addSecs(-60));
    const QDateTime end = clock.current.addSecs(180);
    bool blinking = false;
    QList<QTime> starts;
    QList<QTime> stops;
    for (; clock.current < end; clock.current = clock.current.addSecs(1)) {
        const QTime now = clock.now().time();
        if (now.hour() == start.hour() && now.minute() == start.minute() && missedSeconds.contains(now.second()))
            continue;
        switch (IdAlert::ActionFor(IdAlert::ScheduleKey(now), blinking)) {
        case IdAlert::Action::Start:
            starts.append(now);
            blinking = true;
            break;
        case IdAlert::Action::Stop:
            if (blinking)
                stops.append(now);
            blinking = false;
            break;
        case IdAlert::Action::None: break;
        }
    }
    QCOMPARE(starts, QList<QTime>{start});
    QCOMPARE(stops, QList<QTime>{start.addSecs(stopSecond)});
    QVERIFY(!blinking);
}

VELN_TEST(TstIdAlert)
#include "tst_id_alert.moc"
