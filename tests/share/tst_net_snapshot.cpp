#include "share/net_snapshot.h"
#include "session/checkin_roster.h"
#include "test_main.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

// The snapshot a late follower and the web page start from: what it holds
// comes back whole, and anything else is refused.
class TstNetSnapshot : public QObject {
    Q_OBJECT
private slots:
    void roundTrip();
    void bad_data();
    void bad();
};

namespace {
QDateTime at(int minute) { return QDateTime(QDate(2026, 12, 9), QTime(19, minute, 5), Qt::UTC); }

NetEvent checkIn(const QString& call, int slot, int minute)
{
    NetEvent e;
    e.kind = NetEvent::Kind::CheckedIn;
    e.at = at(minute);
    e.station = {call, "NAME " + call, "TOWN, ST", slot, at(minute), {}, 3};
    return e;
}

QJsonObject good()
{
    CheckinRoster r;
    r.apply(checkIn("W1AW", 1, 40));
    r.apply(checkIn("KB9XYZ", 0, 42));
    r.apply(checkIn("N2ABX", 7, 43));
    NetEvent out;
    out.kind = NetEvent::Kind::CheckedOut;
    out.at = at(50);
    out.line = 2;
    r.apply(out);
    NetEvent up;
    up.kind = NetEvent::Kind::TrafficUp;
    up.at = at(51);
    up.count = 3;
    r.apply(up);
    return NetSnapshot::toJson(r, "W1AW", "HIRAM", "tuesday-net", 4, 17);
}
}  // namespace

void TstNetSnapshot::roundTrip()
{
    const QJsonObject o = good();
    // The contract's form, as the web page reads it.
    QCOMPARE(o.value("netControl").toObject().value("call").toString(), QString("W1AW"));
    const QJsonObject second = o.value("stations").toArray().at(1).toObject();
    QCOMPARE(second.value("in").toString(), QString("2026-12-09T19:42:05Z"));
    QCOMPARE(second.value("out").toString(), QString("2026-12-09T19:50:05Z"));
    QVERIFY(o.value("stations").toArray().at(2).toObject().value("out").isNull());
    QCOMPARE(second.value("member").toBool(), false);

    const auto snap = NetSnapshot::fromJson(o, [](const QString& call) { return call == "N2ABX" ? 7 : 0; });
    QVERIFY(snap);
    QCOMPARE(snap->net, QString("tuesday-net"));
    QCOMPARE(snap->epoch, 4);
    QCOMPARE(snap->seq, 17);
    QCOMPARE(snap->controlName, QString("HIRAM"));
    CheckinRoster back;
    back.apply(snap->event);
    QCOMPARE(back.lines(), QStringList({" W1AW NAME W1AW TOWN, ST", " KB9XYZ NAME KB9XYZ TOWN, ST",
                                        " N2ABX NAME N2ABX TOWN, ST"}));
    QCOMPARE(back.checkins(), 3);
    QCOMPARE(back.traffic(), 3);
    QCOMPARE(back.timesAt(2).out, at(50));
    QCOMPARE(back.timesAt(3).in, at(43));
    QVERIFY(back.isCheckedIn(7));
    // A member this seat's table does not know still reads as a member.
    QVERIFY(back.station(1).member());
    QVERIFY(!back.station(2).member());
    QCOMPARE(NetSnapshot::toJson(back, "W1AW", "HIRAM", "tuesday-net", 4, 17), o);
}

void TstNetSnapshot::bad_data()
{
    QTest::addColumn<QString>("path");  // a key of the good snapshot ("stations.1.in" reaches inside)
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<bool>("taken");
    QTest::newRow("epoch as text") << "epoch" << QJsonValue("4") << false;
    QTest::newRow("epoch negative") << "epoch" << QJsonValue(-1) << false;
    QTest::newRow("seq fraction") << "seq" << QJsonValue(1.5) << false;
    QTest::newRow("seq huge") << "seq" << QJsonValue(1e300) << false;
    QTest::newRow("seq missing") << "seq" << QJsonValue(QJsonValue::Undefined) << false;
    QTest::newRow("checkins past the counter") << "checkins" << QJsonValue(40000) << false;
    QTest::newRow("net id with a wildcard") << "net" << QJsonValue("a/#") << false;
    QTest::newRow("stations no list") << "stations" << QJsonValue("W1AW") << false;
    QTest::newRow("station no object") << "stations.1" << QJsonValue(7) << false;
    QTest::newRow("station without call") << "stations.1.call" << QJsonValue(QJsonValue::Undefined) << false;
    QTest::newRow("call a number") << "stations.1.call" << QJsonValue(12) << false;
    QTest::newRow("time no time") << "stations.1.in" << QJsonValue("tuesday") << false;
    QTest::newRow("member as text") << "stations.1.member" << QJsonValue("yes") << false;
    QTest::newRow("net control missing") << "netControl" << QJsonValue(QJsonValue::Undefined) << false;
    QTest::newRow("time unknown") << "stations.1.in" << QJsonValue(QJsonValue::Null) << true;
    QTest::newRow("long name cut") << "stations.1.name" << QJsonValue(QString(5000, 'N')) << true;
    QTest::newRow("more stations than a net holds") << "stations" << QJsonValue(QJsonArray()) << false;
}

void TstNetSnapshot::bad()
{
    QFETCH(QString, path);
    QFETCH(QJsonValue, value);
    QFETCH(bool, taken);
    QJsonObject o = good();
    const QStringList p = path.split('.');
    QJsonValue v = value;
    if (QTest::currentDataTag() == QByteArray("more stations than a net holds")) {
        QJsonArray many;
        const QJsonValue one = o.value("stations").toArray().at(0);
        for (int i = 0; i <= NetSnapshot::kMaxStations; ++i)
            many.append(one);
        v = many;
    }
    if (p.size() == 1) {
        if (v.isUndefined())
            o.remove(p[0]);
        else
            o.insert(p[0], v);
    } else {
        QJsonArray list = o.value(p[0]).toArray();
        if (p.size() == 2) {
            list[p[1].toInt()] = v;
        } else {
            QJsonObject s = list.at(p[1].toInt()).toObject();
            if (v.isUndefined())
                s.remove(p[2]);
            else
                s.insert(p[2], v);
            list[p[1].toInt()] = s;
        }
        o.insert(p[0], list);
    }
    const auto snap = NetSnapshot::fromJson(o);
    QCOMPARE(snap.has_value(), taken);
    if (snap) {
        QCOMPARE(snap->event.stations.size(), 3);
        QVERIFY(snap->event.stations.at(1).name.size() <= NetSnapshot::kMaxName);
    }
}

VELN_TEST(TstNetSnapshot)
#include "tst_net_snapshot.moc"
