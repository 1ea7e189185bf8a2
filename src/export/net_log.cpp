#include "net_log.h"

#include "core/csv.h"
#include "core/member_table.h"
#include "session/checkin_roster.h"
#include "session/session_file.h"

#include <algorithm>

namespace NetLog {

QList<Station> Stations(const MemberTable& table, const CheckinRoster& roster)
{
    QList<Station> out;
    for (int k = 1; k <= roster.lineCount(); ++k) {
        const QString line = roster.lines().at(k - 1);
        Station s;
        s.call = SessionFile::CallOfLine(line);
        const int slot = roster.slotAt(k);
        s.member = slot != 0;
        if (s.member) {
            s.name = table.name(slot).trimmed();
            s.qth = table.qth(slot).trimmed();
        } else {
            s.name = SessionFile::NameOfLine(line);
            s.qth = line.trimmed().section(QLatin1Char(' '), 2).trimmed();
        }
        const StationTimes t = roster.timesAt(k);
        s.in = t.in;
        s.out = t.out;
        out.append(s);
    }
    return out;
}

namespace {

QString iso(const QDateTime& at) { return at.isValid() ? at.toUTC().toString(Qt::ISODate) : QString(); }

// Spreadsheets run a cell that starts with one of these as a formula: a
// name from a callbook could then open links or run commands.
QString spreadsheetCell(const QString& text)
{
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && kFormulaStarts.contains(text.front()))
        return QLatin1Char('\'') + text;
    return text;
}

QByteArray spreadsheetRecord(const QStringList& fields)
{
    QStringList cells;
    for (const QString& f : fields)
        cells.append(spreadsheetCell(f));
    return Csv::Record(cells);
}

}  // namespace

QByteArray Csv(const QList<Station>& stations)
{
    // The mark tells spreadsheets the text is UTF-8, so "JOSÉ" stays whole.
    QByteArray out = "\xEF\xBB\xBF";
    out += spreadsheetRecord({QStringLiteral("call"), QStringLiteral("name"), QStringLiteral("QTH"),
                              QStringLiteral("member"), QStringLiteral("in UTC"), QStringLiteral("out UTC")});
    for (const Station& s : stations)
        out += spreadsheetRecord({s.call, s.name, s.qth, s.member ? QStringLiteral("yes") : QStringLiteral("no"),
                                  iso(s.in), iso(s.out)});
    return out;
}

QList<Event> Events(const QList<Station>& stations, const QString& netControlCall)
{
    QList<Event> events;
    for (const Station& s : stations) {
        const bool netControl = s.call == netControlCall;
        const QString to = netControl ? QString() : netControlCall;
        const QString who = netControl ? QStringLiteral(" (net control)") : QString();
        // A station is listed even when its check-in time is not known.
        events.append({s.in.isValid() ? s.in.toUTC() : QDateTime(), s.call, to, QStringLiteral("check-in") + who});
        if (s.out.isValid())
            events.append({s.out.toUTC(), s.call, to, QStringLiteral("check-out") + who});
    }
    // Untimed rows first; equal times keep the order above: a station's
    // check-in before its check-out.
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.at.isValid() != b.at.isValid() ? !a.at.isValid() : a.at.isValid() && a.at < b.at;
    });
    return events;
}

QString NetNameOfCaption(const QString& caption)
{
    const qsizetype version = caption.indexOf(QStringLiteral(" Version"));
    return (version < 0 ? caption : caption.left(version)).simplified();
}

}  // namespace NetLog
