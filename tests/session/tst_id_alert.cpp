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
};

void TstIdAlert::scheduleKey_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("key");
    QTest::newRow("7:39:00 PM") << QTime(19, 39, 0) << "7:39:0";
    QTest::newRow("8:09:15 PM") << QTime(20, 9, 15) << "8:9:15";
    QTest::newRow("7:39:00 AM") << QTime(7, 39, 0) << "7:39:0";
    QTest::newRow("two-digit hour") << QTime(22, 39, 0) << "10:0:0";
    QTest::newRow("noon") << QTime(12, 0, 5) << "12:0:0";
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
}

void TstIdAlert::schedule()
{
    QFETCH(QTime, time);
    QFETCH(bool, blinking);
    QFETCH(int, action);
    QCOMPARE(int(IdAlert::ActionFor(IdAlert::ScheduleKey(time), blinking)), action);
}

VELN_TEST(TstIdAlert)
#include "tst_id_alert.moc"
