// Feeds arbitrary bytes to SessionFile::Parse. Besides memory errors and
// undefined behaviour it stops when a parsed session, composed into a file
// again, reads back differently, or when a line longer than any session file
// holds, or more lines than any net has, get through.

#include "session/session_file.h"

#include <QByteArray>
#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void fail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "%s: %s\n", what, qPrintable(detail.left(200)));
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const SessionFile::ReadResult r = SessionFile::Parse(input);
    if (!r.ok) {
        if (r.error.isEmpty())
            fail("refused without a reason", QString());
        return 0;
    }
    const SessionFile::Contents& c = r.contents;
    for (const QString* head : {&c.checkins, &c.traffic, &c.date})
        if (head->size() > 20)
            fail("counter or date line not cut", *head);
    if (c.lines.size() > SessionFile::kMaxRosterLines)
        fail("more roster lines than any net", QString::number(c.lines.size()));
    for (const QString& line : c.lines)
        if (line.size() > 81 || !line.startsWith(QLatin1Char(' ')))
            fail("roster line too long or without its blank", line);

    // Open takes every line; Save writes the lines the counter promises,
    // leaving out those ending in "-".
    const QByteArray saved = SessionFile::Compose(c.checkins, c.traffic, c.date, c.lines);
    const SessionFile::ReadResult again = SessionFile::Parse(saved);
    if (!again.ok)
        fail("a composed session does not read back", again.error);
    const SessionFile::Contents& d = again.contents;
    if (d.checkins != c.checkins || d.traffic != c.traffic || d.date != c.date)
        fail("counters differ after the round trip", d.checkins + QLatin1Char('|') + d.traffic + QLatin1Char('|') + d.date);
    QStringList kept;
    for (const QString& line : c.lines.mid(0, c.promised))
        if (!line.endsWith(QLatin1Char('-')))
            kept.append(line);
    if (d.lines != kept)
        fail("roster differs after the round trip", d.lines.join(QLatin1Char('|')));
    return 0;
}
