// Feeds arbitrary bytes to the reader of a session's times file (".times").
// Besides memory errors and undefined behaviour it stops when a valid record
// is lost or a damaged line is not counted (every line that is not blank is
// one or the other), or when what was read, composed into a file again,
// reads back differently. An input starting with "L" is read repeated to
// 64 kB, so large files are read too.

#include "session/session_times.h"

#include <QByteArray>
#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void fail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "%s: %s\n", what, qPrintable(detail.left(200)));
    std::abort();
}

qsizetype nonBlankLines(const QByteArray& bytes)
{
    qsizetype n = 0;
    for (const QByteArray& line : bytes.split('\n'))
        if (!line.trimmed().isEmpty())
            ++n;
    return n;
}

// Times are written to the second, so a hand-written fraction may go; the
// rest comes back as read.
void check(const QByteArray& input)
{
    const SessionTimes::Contents read = SessionTimes::Parse(input);
    const qsizetype records = read.stations.size() + read.traffic.size();
    if (records + read.damagedLines != nonBlankLines(input))
        fail("a line neither taken nor counted as damaged", QString::fromUtf8(input.left(200)));
    const SessionTimes::Contents again = SessionTimes::Parse(SessionTimes::Compose(read.stations, read.traffic));
    if (again.damagedLines != 0)
        fail("composed times do not read back whole", QString::fromUtf8(input.left(200)));
    // The calendar second: before 1970 a dropped fraction moves the epoch count.
    const auto second = [](const QDateTime& t) { return t.isValid() ? t.toUTC().toString(Qt::ISODate) : QString(); };
    bool same = again.stations.size() == read.stations.size() && again.traffic.size() == read.traffic.size();
    for (qsizetype i = 0; same && i < read.stations.size(); ++i) {
        const SessionTimes::Entry &a = read.stations.at(i), &b = again.stations.at(i);
        same = a.call == b.call && second(a.in) == second(b.in) && second(a.out) == second(b.out);
    }
    for (qsizetype i = 0; same && i < read.traffic.size(); ++i)
        same = read.traffic.at(i).count == again.traffic.at(i).count
            && second(read.traffic.at(i).at) == second(again.traffic.at(i).at);
    if (!same)
        fail("times differ after the round trip", QString::fromUtf8(input.left(200)));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    check(input);
    // An input starting with "L" stands for a long file: the rest over and
    // over, to 64 kB (the reader refuses files beyond
    // SessionTimes::kMaxFileBytes unread).
    if (size > 1 && data[0] == 'L') {
        const QByteArray piece = input.mid(1);
        QByteArray big;
        while (big.size() + piece.size() <= 64 * 1024)
            big += piece;
        check(big);
    }
    return 0;
}
