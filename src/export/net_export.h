#pragma once

#include "ics309_setting.h"

#include <QDateTime>
#include <QString>

class NetSession;

// File, Export: the net written as CSV or as the ICS 309 log (PDF).
namespace NetExport {

// The save dialog's choices; their order gives the filter index.
inline const QString kFilter =
    QStringLiteral("CSV files (*.csv)|*.csv|ICS-309 communications log, PDF (*.pdf)|*.pdf");
enum class Format { Csv = 0, Ics309Pdf = 1 };

struct Target {
    QString path;
    Format format = Format::Csv;
};
// A name ending in ".csv" or ".pdf" decides; any other takes the chosen
// filter's format and extension.
Target TargetFor(const QString& chosen, int filterIndex);

struct Request {
    Ics309Details details;    // the log's boxes 1 to 3
    QString operatorName;     // the operator at this desk: boxes 4 and 6
    QString operatorCall;
    QString netControlCall;   // who the stations check in with; none: the operator
    QDateTime now;
};
struct Outcome {
    bool ok = false;
    QString path;   // what was written
    QString error;  // names the file and the reason
};
// Nothing is written for a net without stations; the error says so.
Outcome Write(const NetSession& session, const Target& target, const Request& request);
bool NothingToExport(const NetSession& session);
inline const QString kNothingToExport =
    QStringLiteral("Nothing was exported: no station is listed in the net.");

// The log's details to offer: those kept last time, else the net's name and
// its first and last times (now when it has none).
Ics309Details OfferIcs309(const NetSession& session, const Ics309Setting& setting, const QString& netName,
                          const QDateTime& now);

}  // namespace NetExport
