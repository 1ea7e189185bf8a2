// The writes a kill may interrupt, run for bench/kill_during_writes.sh:
//   kill_writer add HOME     adds members one after another to HOME's member
//                            file, printing "added CALL" once each is stored
//   kill_writer save HOME    checks members in and saves the session (and its
//                            times) again and again, printing "saved N"
//   kill_writer check HOME CALL...   after a kill: the member file whole
//                            (records of 46 bytes, a sentinel) holding every
//                            CALL, the session and its times readable whole;
//                            then the writer's leftovers removed as a start
//                            removes them. Prints what it found; exit 1 on a fault.
#include "core/member_table.h"
#include "core/paths.h"
#include "core/settings_store.h"
#include "platform/clock.h"
#include "session/net_session.h"
#include "session/session_file.h"
#include "session/session_times.h"
#include "startup/startup_sequence.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

QString callNumber(int i)
{
    // N1AAA, N1AAB, ...: plausible and unique.
    QString suffix;
    for (int k = 0; k < 3; ++k) {
        suffix.prepend(QChar('A' + i % 26));
        i /= 26;
    }
    return QStringLiteral("N1") + suffix;
}

int add(const Paths& paths)
{
    MemberTable table;
    if (!table.LoadMemberTable(paths.memberFile))
        return 2;
    for (int i = table.memberCount(); i < 990; ++i) {
        const QString call = callNumber(i);
        if (table.AddMember({call, QStringLiteral("NAME"), QStringLiteral("SOMEWHERE")}) != MemberTable::Result::Ok)
            return 3;
        std::printf("added %s\n", qPrintable(call));
        std::fflush(stdout);
    }
    return 0;
}

int save(const Paths& paths)
{
    SettingsStore settings(paths.settingsFile);
    SystemClock clock;
    NetSession session(settings, clock);
    {
        MemberTable members;  // forty members to check in, written to the file
        if (!members.LoadMemberTable(paths.memberFile))
            return 2;
        for (int i = members.memberCount(); i < 40; ++i)
            members.AddMember({callNumber(i), QStringLiteral("NAME"), QStringLiteral("SOMEWHERE")});
    }
    if (!session.loadMemberTable(paths.memberFile))
        return 2;
    QDir().mkpath(paths.sessionsFolder);
    const QString file = paths.sessionsFolder + QStringLiteral("261209.txt");
    for (int n = 1;; ++n) {
        const int slot = 1 + n % std::max(1, session.table().EndSlot() - 1);
        if (session.table().isMemberSlot(slot))
            session.checkIn(session.table().call(slot));
        session.trafficClicked(false);
        if (!session.writeSession(file, clock.today()).ok)
            return 3;
        std::printf("saved %d\n", n);
        std::fflush(stdout);
    }
}

int check(const Paths& paths, const QStringList& calls)
{
    int faults = 0;
    const qint64 size = QFileInfo(paths.memberFile).size();
    if (size % MemberRecord::kSize != 0) {
        std::printf("torn member file: %lld bytes\n", size);
        ++faults;
    }
    MemberTable table;
    if (!table.LoadMemberTable(paths.memberFile) || table.EndSlot() > MemberTable::kSlots) {
        std::printf("member file unreadable or without its end\n");
        ++faults;
    }
    for (const QString& call : calls)
        if (table.FindCall(call) == 0) {
            std::printf("member lost: %s\n", qPrintable(call));
            ++faults;
        }
    const QString file = paths.sessionsFolder + QStringLiteral("261209.txt");
    if (QFileInfo::exists(file)) {
        const SessionFile::ReadResult read = SessionFile::Read(file);
        if (!read.ok) {
            std::printf("torn session file: %s\n", qPrintable(read.error));
            ++faults;
        }
        const SessionTimes::ReadResult times = SessionTimes::Read(file);
        if (!times.damage.isEmpty()) {
            std::printf("torn times file: %s\n", qPrintable(times.damage));
            ++faults;
        }
        // Every station of the saved session keeps its time.
        for (const QString& line : read.contents.lines) {
            const QString call = SessionFile::StationOfLine(line).call;
            bool found = false;
            for (const SessionTimes::Entry& e : times.contents.stations)
                found = found || e.call == call;
            if (!found) {
                std::printf("times lost for %s\n", qPrintable(call));
                ++faults;
            }
        }
    }
    const int leftovers = Startup::RemoveLeftoversOfEarlierRuns(paths);
    std::printf("members %d, leftovers removed %d, faults %d\n", table.memberCount(), leftovers, faults);
    return faults == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    qputenv("HOME", args.at(2).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (args.at(2) + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (args.at(2) + QStringLiteral("/.local/share")).toLocal8Bit());
    const Paths paths = Paths::forCurrentUser();
    if (args.at(1) == QLatin1String("add"))
        return add(paths);
    if (args.at(1) == QLatin1String("save"))
        return save(paths);
    if (args.at(1) == QLatin1String("check"))
        return check(paths, args.mid(3));
    return 2;
}
