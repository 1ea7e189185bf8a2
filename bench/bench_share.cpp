// A shared net through a local mosquitto: how long a check-in on the net
// control's seat takes to reach a follower's roster, and whether a burst of
// events arrives whole and in order.
#include "share/net_follower.h"
#include "share/net_publisher.h"
#include "core/settings_store.h"
#include "member_files.h"
#include "platform/clock.h"
#include "session/net_session.h"
#include "test_broker.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
class WallClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTimeUtc(); }
};

// Runs the event loop until done() or the deadline; false on the deadline.
template <typename Done>
bool spin(Done done, int ms = 30000)
{
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v.at(std::min(v.size() - 1, size_t(p * double(v.size()))));
}
}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    TestBroker broker;
    if (!broker.start()) {
        std::fprintf(stderr, "broker: %s\n", qPrintable(broker.error()));
        return 1;
    }
    QTemporaryDir dir;
    const QList<MemberRecord> members = manyMembers(1000);
    writeMemberFile(dir.path() + "/Veln.dat", members);
    WallClock clock;
    SettingsStore settings{QString()};

    // --- latency: one check-in at a time, to the follower's roster
    NetSession session(settings, clock);
    session.loadMemberTable(dir.path() + "/Veln.dat");
    session.setNetControl("HIRAM", "W1AW");
    NetPublisher publisher(session, clock, broker.options(), "bench", "W1AW", "HIRAM");
    NetFollower follower("bench");
    follower.connectTo(broker.options());
    publisher.start();
    if (!spin([&] { return publisher.statusText().startsWith("SHARING ON"); }))
        return 1;
    session.startNet();
    if (!spin([&] { return follower.seq() == publisher.seq(); }))
        return 1;
    std::vector<double> ms;
    for (int i = 0; i < 1000; ++i) {
        QElapsedTimer t;
        t.start();
        session.checkIn(members.at(i).call);
        if (!spin([&] { return follower.seq() == publisher.seq(); })) {
            std::fprintf(stderr, "check-in %d never arrived\n", i);
            return 1;
        }
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("check-in to follower's roster over %zu check-ins: p50 %.2f ms, p99 %.2f ms, max %.2f ms\n", ms.size(),
                percentile(ms, 0.5), percentile(ms, 0.99), *std::max_element(ms.begin(), ms.end()));
    std::printf("follower holds %d lines (net control %d)\n", follower.roster().lineCount(),
                session.roster().lineCount());

    // --- a burst of 1000 events in one turn of the event loop
    NetSession burst(settings, clock);
    NetPublisher burstPublisher(burst, clock, broker.options(), "burst", "W1AW", "HIRAM");
    NetFollower burstFollower("burst");
    std::vector<int> counts;
    QObject::connect(&burstFollower, &NetFollower::event, [&counts](const NetEvent& e) {
        if (e.kind == NetEvent::Kind::TrafficUp)
            counts.push_back(e.count);
    });
    burstFollower.connectTo(broker.options());
    burstPublisher.start();
    if (!spin([&] { return burstPublisher.statusText().startsWith("SHARING ON") && burstFollower.hasNet(); }))
        return 1;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 1000; ++i)
        burst.trafficClicked(false);
    const bool all = spin([&] { return burstFollower.seq() == burstPublisher.seq(); });
    const double took = double(t.nsecsElapsed()) / 1e6;
    bool inOrder = counts.size() == 1000;
    for (size_t k = 0; inOrder && k < counts.size(); ++k)
        inOrder = counts[k] == int(k) + 1;
    std::printf("burst of 1000 events: %s in %.1f ms, %zu applied one by one, %s\n", all ? "all arrived" : "NOT ALL ARRIVED",
                took, counts.size(), inOrder ? "in order" : "NOT IN ORDER");
    return all && inOrder ? 0 : 1;
}
