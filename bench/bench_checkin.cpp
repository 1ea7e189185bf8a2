// Check-in and member-file load over a full-size member table.
#include "core/member_table.h"
#include "session/checkin.h"
#include "session/checkin_roster.h"
#include "session/journal.h"
#include "session/net_session.h"
#include "core/settings_store.h"
#include "platform/clock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// 999 members with distinct calls and a few shared suffixes, so the
// suggestion scan finds some look-alikes.
QString writeMembers(const QString& dir, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        QString suffix;
        int v = i;
        for (int k = 0; k < 3; ++k) {
            suffix.prepend(QChar(u'A' + v % 26));
            v /= 26;
        }
        const MemberRecord r{QStringLiteral("W%1%2").arg(i % 10).arg(suffix), QStringLiteral("NAME%1").arg(i),
                             QStringLiteral("TOWN %1, ST").arg(i)};
        bytes += r.encode();
    }
    bytes += MemberRecord{MemberTable::kSentinel, {}, {}}.encode();
    const QString path = dir + QStringLiteral("/Veln.dat");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

struct Fixture {
    QTemporaryDir dir;
    MemberTable table;
    Fixture()
    {
        if (!table.LoadMemberTable(writeMembers(dir.path(), 999)))
            std::abort();
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_CheckInFound(benchmark::State& state)
{
    const MemberTable& t = fixture().table;
    const QString last = t.call(999);  // worst case: the last slot
    for (auto _ : state) {
        CheckinRoster roster;
        EditorFlags flags;
        const CheckInOutcome out = ProcessCheckIn(last, t, roster, flags, {});
        for (const NetEvent& e : out.events)
            roster.apply(e);
        benchmark::DoNotOptimize(roster.lineCount());
    }
}
BENCHMARK(BM_CheckInFound);

void BM_CheckInDuplicate(benchmark::State& state)
{
    const MemberTable& t = fixture().table;
    CheckinRoster roster;
    EditorFlags flags;
    const QString last = t.call(999);
    for (const NetEvent& e : ProcessCheckIn(last, t, roster, flags, {}).events)
        roster.apply(e);
    for (auto _ : state)
        benchmark::DoNotOptimize(ProcessCheckIn(last, t, roster, flags, {}));
}
BENCHMARK(BM_CheckInDuplicate);

void BM_CheckInUnknownWithSuggestions(benchmark::State& state)
{
    const MemberTable& t = fixture().table;
    for (auto _ : state) {
        CheckinRoster roster;
        EditorFlags flags;
        benchmark::DoNotOptimize(ProcessCheckIn(QStringLiteral("KB0ABC"), t, roster, flags, {}));
    }
}
BENCHMARK(BM_CheckInUnknownWithSuggestions);

// A check-in as the net makes it, its journal line written and synced to
// the disk the data root is on (here: beside the working folder).
void BM_CheckInJournalled(benchmark::State& state)
{
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-journal-XXXXXX"));
    SettingsStore settings(dir.path() + QStringLiteral("/VELN.ini"));
    SystemClock clock;
    NetSession net(settings, clock);
    if (!net.loadMemberTable(writeMembers(dir.path(), 999)))
        std::abort();
    Journal journal(dir.path() + QStringLiteral("/") + Journal::kFileName);
    if (!journal.start())
        std::abort();
    net.follow([&journal](const NetEvent& e) {
        if (!journal.append(e))
            std::abort();
    });
    const QString last = net.table().call(999);
    for (auto _ : state) {
        benchmark::DoNotOptimize(net.checkIn(last));
        if (!journal.sync())
            std::abort();
        state.PauseTiming();
        net.deleteLine(1, false);  // so the next round checks in again
        journal.sync();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CheckInJournalled)->Unit(benchmark::kMillisecond);

void BM_LoadMemberTable1000(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = writeMembers(dir.path(), 999);
    for (auto _ : state) {
        MemberTable t;
        benchmark::DoNotOptimize(t.LoadMemberTable(path));
    }
}
BENCHMARK(BM_LoadMemberTable1000);

}  // namespace

BENCHMARK_MAIN();
