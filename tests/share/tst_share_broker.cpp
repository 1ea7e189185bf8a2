#include "share/net_follower.h"
#include "share/net_publisher.h"
#include "core/settings_store.h"
#include "fakes.h"
#include "member_files.h"
#include "session/net_session.h"
#include "test_broker.h"
#include "test_home.h"
#include "test_main.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>
#include <memory>

// A net control's seat and followers through a real mosquitto on this
// machine: what the net control does shows on every follower, whatever the
// broker does meanwhile.
class TstShareBroker : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void followsTheNet();
    void brokerAwayLosesNothing();
    void laterNetControlWins();
    void login_data();
    void login();

private:
    // A net control's session over 120 members, and its publisher.
    struct Seat {
        std::unique_ptr<SettingsStore> settings;
        std::unique_ptr<NetSession> session;
        std::unique_ptr<NetPublisher> publisher;
    };
    Seat seat(const TestBroker& broker, const QString& call, const QString& name);
    static QStringList lines(const CheckinRoster& r);

    std::unique_ptr<TestHome> home_;
    FakeClock clock_;
    QList<MemberRecord> members_ = manyMembers(120);
};

void TstShareBroker::init()
{
    home_ = std::make_unique<TestHome>();
    members_.prepend({"W1AW", "HIRAM", "NEWINGTON CT"});
    writeMemberFile(home_->memberFile(), members_);
}

void TstShareBroker::cleanup() { home_.reset(); }

TstShareBroker::Seat TstShareBroker::seat(const TestBroker& broker, const QString& call, const QString& name)
{
    Seat s;
    s.settings = std::make_unique<SettingsStore>(QString());
    s.session = std::make_unique<NetSession>(*s.settings, clock_);
    if (!s.session->loadMemberTable(home_->memberFile()))
        qFatal("member file");
    s.session->setNetControl(name, call);
    s.publisher = std::make_unique<NetPublisher>(*s.session, clock_, broker.options(), "club-net", call, name);
    return s;
}

QStringList TstShareBroker::lines(const CheckinRoster& r)
{
    QStringList out;
    for (const StationRecord& s : r.stations())
        out << RosterLine(s) + (s.checkedOut() ? " (out)" : "");
    out << QStringLiteral("checkins %1 traffic %2").arg(r.checkins()).arg(r.traffic());
    return out;
}

void TstShareBroker::followsTheNet()
{
    TestBroker broker;
    QVERIFY2(broker.start(), qPrintable(broker.error()));
    Seat nc = seat(broker, "W1AW", "HIRAM");
    NetFollower early("club-net");
    early.connectTo(broker.options());
    nc.publisher->start();
    QTRY_COMPARE(nc.publisher->statusText(), QString("SHARING ON veln/club-net"));
    QCOMPARE(nc.publisher->epoch(), 1);

    nc.session->startNet();
    for (int i = 1; i <= 20; ++i) {
        clock_.current = clock_.current.addSecs(30);
        nc.session->checkIn(members_.at(i).call);
        if (i == 10) {
            // One joins in the middle: the snapshot, then the events after it.
            QTRY_COMPARE(early.seq(), nc.publisher->seq());
        }
    }
    NetFollower late("club-net");
    late.connectTo(broker.options());
    QVERIFY(nc.session->checkOut(3));
    nc.session->trafficClicked(false);
    nc.session->trafficClicked(false);

    QTRY_COMPARE(early.seq(), nc.publisher->seq());
    QTRY_COMPARE(late.seq(), nc.publisher->seq());
    QCOMPARE(lines(early.roster()), lines(nc.session->roster()));
    QCOMPARE(lines(late.roster()), lines(nc.session->roster()));
    QCOMPARE(lines(nc.session->roster()).size(), 22);
    QVERIFY(early.controlOnline());
    QCOMPARE(late.controlCall(), QString("W1AW"));
    QCOMPARE(late.snapshot().value("traffic").toInt(), 2);
    QCOMPARE(late.snapshot().value("stations").toArray().at(2).toObject().value("out").toString(),
             nc.session->roster().station(3).out.toString(Qt::ISODate));

    // The net control leaves: its followers see it offline.
    nc.publisher->stop();
    QTRY_VERIFY(!early.controlOnline());
}

void TstShareBroker::brokerAwayLosesNothing()
{
    TestBroker broker;
    QVERIFY2(broker.start(), qPrintable(broker.error()));
    Seat nc = seat(broker, "W1AW", "HIRAM");
    NetFollower follower("club-net");
    follower.connectTo(broker.options());
    nc.publisher->start();
    QTRY_VERIFY(nc.publisher->statusText().startsWith("SHARING ON"));
    QSignalSpy status(nc.publisher.get(), &NetPublisher::statusChanged);

    QList<NetEvent> applied;
    connect(&follower, &NetFollower::event, this, [&applied](const NetEvent& e) { applied.append(e); });
    for (int i = 1; i <= 100; ++i) {
        clock_.current = clock_.current.addSecs(10);
        nc.session->checkIn(members_.at(i).call);
        if (i == 30) {
            QTRY_COMPARE(follower.seq(), nc.publisher->seq());
            broker.stop();  // gone, and its retained messages with it
            QTRY_VERIFY(nc.publisher->statusText().startsWith("SHARING BEHIND") ||
                        nc.publisher->statusText().startsWith("SHARING: CANNOT REACH"));
        }
        if (i == 70)
            QVERIFY2(broker.start(), qPrintable(broker.error()));
        QTest::qWait(5);
    }
    QVERIFY(status.contains(QVariantList{QString("SHARING BEHIND: 1 EVENTS WAITING")}) ||
            status.contains(QVariantList{QString("SHARING BEHIND: 2 EVENTS WAITING")}));
    QTRY_COMPARE_WITH_TIMEOUT(follower.seq(), nc.publisher->seq(), 20000);
    QCOMPARE(lines(follower.roster()), lines(nc.session->roster()));
    QCOMPARE(follower.roster().lineCount(), 100);
    QTRY_COMPARE(nc.publisher->statusText(), QString("SHARING ON veln/club-net"));
    // What came as single check-ins came in the net control's order, none
    // twice; what the follower missed while both were away the snapshot
    // brought (the roster above is whole either way).
    QStringList calls;
    for (const NetEvent& e : applied)
        if (e.kind == NetEvent::Kind::CheckedIn)
            calls << e.station.call;
    QVERIFY(!calls.isEmpty());
    int from = 1;
    for (const QString& call : calls) {
        while (from <= 100 && nc.session->roster().station(from).call != call)
            ++from;
        QVERIFY2(from <= 100, qPrintable(call + " came out of order or twice"));
        ++from;
    }

    // A follower joining now finds the net on the restarted broker.
    NetFollower late("club-net");
    late.connectTo(broker.options());
    QTRY_COMPARE(late.roster().lineCount(), 100);
}

void TstShareBroker::laterNetControlWins()
{
    TestBroker broker;
    QVERIFY2(broker.start(), qPrintable(broker.error()));
    Seat first = seat(broker, "W1AW", "HIRAM");
    first.publisher->start();
    QTRY_VERIFY(first.publisher->statusText().startsWith("SHARING ON"));
    first.session->startNet();
    QSignalSpy superseded(first.publisher.get(), &NetPublisher::supersededBy);

    Seat second = seat(broker, "K9ABC", "JO");
    second.publisher->start();
    QTRY_VERIFY(second.publisher->statusText().startsWith("SHARING ON"));
    QCOMPARE(second.publisher->epoch(), 2);
    QTRY_COMPARE(superseded.size(), 1);
    QCOMPARE(superseded.at(0), (QVariantList{"K9ABC", "JO"}));
    QVERIFY(first.publisher->superseded());
    QCOMPARE(first.publisher->statusText(), QString("SHARING STOPPED: K9ABC HAS TAKEN OVER THE NET"));

    // What the old seat does from now on goes nowhere; the net is the new one's.
    NetFollower follower("club-net");
    follower.connectTo(broker.options());
    first.session->checkIn(members_.at(5).call);
    second.session->startNet();
    QTRY_COMPARE(follower.seq(), second.publisher->seq());
    QCOMPARE(follower.epoch(), 2);
    QCOMPARE(lines(follower.roster()), lines(second.session->roster()));
    QCOMPARE(follower.controlCall(), QString("K9ABC"));
}

void TstShareBroker::login_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("caFile");  // instead of the test's own CA
    QTest::addColumn<QString>("status");  // %1: the broker's port; empty: connected
    const int tls = int(TestBroker::Mode::Tls);
    QTest::newRow("tls and password") << tls << TestBroker::kPassword << "" << "";
    QTest::newRow("tls, wrong password") << tls << "guess" << "" << "SHARING: BROKER REFUSED THE LOGIN";
    QTest::newRow("tls, CA that did not sign it") << tls << TestBroker::kPassword << "/etc/ssl/certs/ca-certificates.crt"
                                                 << "SHARING: SECURE CONNECTION TO 127.0.0.1:%1 FAILED";
    QTest::newRow("tls, CA file missing") << tls << TestBroker::kPassword << "/nowhere/ca.crt"
                                          << "SHARING: CANNOT READ THE CA FILE /nowhere/ca.crt";
    QTest::newRow("wrong password") << int(TestBroker::Mode::Password) << "guess" << ""
                                    << "SHARING: BROKER REFUSED THE LOGIN";
    QTest::newRow("no broker") << int(TestBroker::Mode::Plain) << "" << "" << "SHARING: CANNOT REACH 127.0.0.1:%1";
}

void TstShareBroker::login()
{
    QFETCH(int, mode);
    QFETCH(QString, password);
    QFETCH(QString, caFile);
    QFETCH(QString, status);
    TestBroker broker{TestBroker::Mode(mode)};
    QVERIFY2(broker.start(), qPrintable(broker.error()));
    if (QTest::currentDataTag() == QByteArray("no broker"))
        broker.stop();
    MqttLink::Options options = broker.options(password);
    if (!caFile.isEmpty())
        options.caFile = caFile;
    MqttLink link(options);
    QSignalSpy up(&link, &MqttLink::connected);
    QSignalSpy down(&link, &MqttLink::disconnected);
    link.start();
    if (status.isEmpty()) {
        QTRY_COMPARE(up.size(), 1);
        QCOMPARE(down.size(), 0);
        return;
    }
    QTRY_COMPARE(down.size(), 1);
    QCOMPARE(down.at(0).at(0).toString(), status.contains("%1") ? status.arg(broker.port()) : status);
    // Said once, however often the link tries again.
    QTest::qWait(1500);
    QCOMPARE(up.size(), 0);
    QCOMPARE(down.size(), 1);
}

VELN_TEST(TstShareBroker)
#include "tst_share_broker.moc"
