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

Outcome Write(const NetSession& session, const Target& target, const Request& request)
{
    Outcome out;
    out.path = target.path;
    const QList<NetLog::Station> stations = NetLog::Stations(session.table(), session.roster());
    QByteArray bytes;
    if (target.format == Format::Csv) {
        bytes = NetLog::Csv(stations);
    } else {
        Ics309::Header h;
        h.incidentName = request.netName;
        h.stationId = request.netControlCall;
        h.operatorName = request.netControlName;
        h.operatorCall = request.netControlCall;
        h.prepared = request.now.toUTC();
        bytes = Ics309::Pdf(h, NetLog::Events(stations, session.roster().trafficLog(), session.roster().traffic(),
                                              request.netControlCall));
        if (bytes.isEmpty()) {
            out.error = QStringLiteral("The log could not be drawn for %1.").arg(target.path);
            return out;
        }
    }
    out.ok = SessionFile::Write(target.path, bytes, &out.error, QStringLiteral("export"));
    return out;
}

}  // namespace NetExport
