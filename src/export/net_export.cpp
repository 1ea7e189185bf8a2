#include "net_export.h"

#include "ics309.h"
#include "net_log.h"
#include "session/net_session.h"
#include "session/session_file.h"

#include <QFileInfo>

namespace NetExport {

Target TargetFor(const QString& chosen, int filterIndex)
{
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    if (suffix == QLatin1String("csv"))
        return {chosen, Format::Csv};
    if (suffix == QLatin1String("pdf"))
        return {chosen, Format::Ics309Pdf};
    const Format f = filterIndex == int(Format::Ics309Pdf) ? Format::Ics309Pdf : Format::Csv;
    return {chosen + (f == Format::Csv ? QStringLiteral(".csv") : QStringLiteral(".pdf")), f};
}

bool NothingToExport(const NetSession& session) { return session.roster().lineCount() == 0; }

Outcome Write(const NetSession& session, const Target& target, const Request& request)
{
    Outcome out;
    out.path = target.path;
    const QList<NetLog::Station> stations = NetLog::Stations(session.table(), session.roster());
    if (stations.isEmpty()) {
        out.error = kNothingToExport;
        return out;
    }
    QByteArray bytes;
    if (target.format == Format::Csv) {
        bytes = NetLog::Csv(stations);
    } else {
        Ics309::Header h;
        h.incidentName = request.details.incidentName;
        h.netName = request.details.netName;
        h.periodFrom = request.details.periodFrom;
        h.periodTo = request.details.periodTo;
        h.operatorName = request.operatorName;
        h.operatorCall = request.operatorCall;
        h.prepared = request.now.toUTC();
        // Without a net control today, the stations called this desk.
        const QString receiver = request.netControlCall.isEmpty() ? request.operatorCall : request.netControlCall;
        bytes = Ics309::Pdf(h, NetLog::Events(stations, receiver));
        if (bytes.isEmpty()) {
            out.error = QStringLiteral("The log could not be drawn for %1.").arg(target.path);
            return out;
        }
    }
    out.ok = SessionFile::Write(target.path, bytes, &out.error, QStringLiteral("export"));
    return out;
}

Ics309Details OfferIcs309(const NetSession& session, const Ics309Setting& setting, const QString& netName,
                          const QDateTime& now)
{
    QDateTime first, last;
    for (const NetLog::Event& e : NetLog::Events(NetLog::Stations(session.table(), session.roster()), QString()))
        if (e.at.isValid()) {
            if (!first.isValid())
                first = e.at;
            last = e.at;
        }
    return setting.offer(netName, first.isValid() ? first : now, last.isValid() ? last : now);
}

}  // namespace NetExport
