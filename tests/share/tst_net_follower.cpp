#include "share/net_follower.h"
#include "share/share_address.h"
#include "test_main.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

// A follower fed the broker's messages directly: whatever order, repeats or
// rubbish they come in, it applies each change once and in order.
class TstNetFollower : public QObject {
    Q_OBJECT
private slots:
    void messages_data();
    void messages();
    void presence();
};

namespace {
const QString kId = QStringLiteral("net-1");

QByteArray json(const QJsonObject& o) { return QJsonDocument(o).toJson(QJsonDocument::Compact); }

QJsonObject station(const QString& call)
{
    return QJsonObject{{"call", call}, {"name", "N"}, {"qth", "Q"}, {"slot", 0}, {"in", "2026-12-09T19:42:05.000Z"}};
}

// One step of a script: "S<epoch>/<seq>:<calls,...>" a snapshot,
// "E<epoch>/<seq>:<call>" a check-in event, or a raw payload on the events topic.
QPair<QString, QByteArray> message(const QString& step)
{
    if (step.size() > 1 && (step[0] == 'S' || step[0] == 'E') && step[1].isDigit()) {
        const QStringList head = step.mid(1).section(':', 0, 0).split('/');
        const QString rest = step.section(':', 1);
        const qint64 epoch = head.at(0).toLongLong();
        const qint64 seq = head.at(1).toLongLong();
        if (step[0] == 'E') {
            const QJsonObject e{{"event", "checked-in"}, {"at", "2026-12-09T19:42:05.000Z"}, {"unsaved", true},
                                {"station", station(rest)}};
            return {ShareTopics::events(kId), json({{"epoch", epoch}, {"seq", seq}, {"event", e}})};
        }
        QJsonArray list;
        for (const QString& call : rest.split(',', Qt::SkipEmptyParts))
            list.append(QJsonObject{{"call", call}, {"name", "N"}, {"qth", "Q"}, {"member", false},
                                    {"in", "2026-12-09T19:42:05Z"}, {"out", QJsonValue::Null}});
        return {ShareTopics::roster(kId),
                json({{"net", kId}, {"epoch", epoch}, {"seq", seq}, {"netControl", QJsonObject{{"call", "W1AW"}, {"name", "HIRAM"}}},
                      {"checkins", list.size()}, {"traffic", 0}, {"stations", list}})};
    }
    if (step == "HUGE")
        return {ShareTopics::events(kId), QByteArray(MqttLink::kMaxPayload + 1, '{')};
    return {ShareTopics::events(kId), step.toUtf8()};
}
}  // namespace

void TstNetFollower::messages_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("calls");  // the follower's roster afterwards
    QTest::addColumn<QString>("at");     // epoch/seq afterwards
    QTest::addColumn<int>("notes");
    QTest::addColumn<bool>("asked");  // the snapshot was asked for again

    QTest::newRow("in order") << QStringList{"S1/0:", "E1/1:A", "E1/2:B"} << "A,B" << "1/2" << 0 << false;
    QTest::newRow("repeats") << QStringList{"S1/0:", "E1/1:A", "E1/1:A", "S1/0:", "E1/2:B", "E1/2:B", "E1/1:A"}
                             << "A,B" << "1/2" << 0 << false;
    QTest::newRow("out of order") << QStringList{"S1/0:", "E1/2:B", "E1/1:A", "E1/3:C"} << "A,B,C" << "1/3" << 0
                                  << true;
    QTest::newRow("events before the snapshot") << QStringList{"E1/3:C", "E1/2:B", "S1/2:A,B", "E1/4:D"}
                                                << "A,B,C,D" << "1/4" << 0 << true;
    QTest::newRow("older snapshot later") << QStringList{"S1/0:", "E1/1:A", "E1/2:B", "S1/1:A"} << "A,B" << "1/2"
                                          << 0 << false;
    QTest::newRow("gap waits for the snapshot") << QStringList{"S1/0:", "E1/1:A", "E1/3:C"} << "A" << "1/1" << 0
                                                << true;
    QTest::newRow("gap closed by the snapshot") << QStringList{"S1/0:", "E1/1:A", "E1/3:C", "E1/4:D", "S1/3:A,X,C"}
                                                << "A,X,C,D" << "1/4" << 0 << true;
    QTest::newRow("higher epoch replaces") << QStringList{"S1/0:", "E1/1:A", "E2/1:Y", "S2/0:X", "E1/2:B"} << "X,Y"
                                           << "2/1" << 0 << true;
    QTest::newRow("lower epoch ignored") << QStringList{"S2/5:X", "S1/9:A,B", "E1/10:C"} << "X" << "2/5" << 0
                                         << false;
    QTest::newRow("nothing before a snapshot") << QStringList{"E1/1:A", "E1/2:B"} << "" << "0/0" << 0 << true;
    QTest::newRow("rubbish") << QStringList{"S1/0:", "{", "[]", "null", "HUGE", R"({"epoch":"1","seq":1})",
                                            R"({"epoch":1,"seq":1,"event":{"event":"party"}})",
                                            R"({"epoch":1,"seq":-1,"event":{}})",
                                            R"({"epoch":1.5,"seq":1,"event":{}})",
                                            R"({"epoch":1,"seq":1,"event":{"event":"checked-out","at":"","unsaved":true,"line":99}})",
                                            "E1/2:B"}
                             << "B" << "1/2" << 8 << false;
}

void TstNetFollower::messages()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, calls);
    QFETCH(QString, at);
    QFETCH(int, notes);
    QFETCH(bool, asked);
    NetFollower f(kId);
    QSignalSpy noted(&f, &NetFollower::noteworthy);
    QSignalSpy wanted(&f, &NetFollower::snapshotWanted);
    // Every change the follower applies, applied again by whoever listens,
    // gives the follower's own roster.
    CheckinRoster mirror;
    connect(&f, &NetFollower::event, this, [&mirror](const NetEvent& e) { mirror.apply(e); });
    for (const QString& step : steps) {
        const auto [topic, payload] = message(step);
        f.handle(topic, payload);
    }
    QStringList got;
    for (const StationRecord& s : f.roster().stations())
        got << s.call;
    QCOMPARE(got.join(','), calls);
    QCOMPARE(QString("%1/%2").arg(f.epoch()).arg(f.seq()), at);
    QCOMPARE(noted.size(), notes);
    QCOMPARE(!wanted.isEmpty(), asked);
    QCOMPARE(mirror.lines(), f.roster().lines());
    QCOMPARE(f.snapshot().value("stations").toArray().size(), f.roster().lineCount());
}

void TstNetFollower::presence()
{
    NetFollower f(kId);
    QSignalSpy spy(&f, &NetFollower::controlChanged);
    const auto control = [&](qint64 epoch, const QString& call, bool online) {
        f.handle(ShareTopics::control(kId), json({{"epoch", epoch}, {"call", call}, {"name", "X"}, {"online", online},
                                                  {"at", "2026-12-09T19:40:00Z"}}));
    };
    control(1, "W1AW", true);
    control(2, "K2XX", true);   // took over
    control(1, "W1AW", false);  // the old seat's will: says nothing now
    control(2, "K2XX", true);   // the same again
    QCOMPARE(spy.size(), 2);
    QVERIFY(f.controlOnline());
    QCOMPARE(f.controlCall(), QString("K2XX"));
    control(2, "K2XX", false);
    QVERIFY(!f.controlOnline());
    QCOMPARE(f.maxEpochSeen(), 2);
    f.handle(ShareTopics::roster(kId), message("S5/0:A").second);
    QCOMPARE(f.maxEpochSeen(), 5);
}

VELN_TEST(TstNetFollower)
#include "tst_net_follower.moc"
