#pragma once

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
    QString netName;          // from the window caption
    QString netControlName;   // today's net control: the radio operator
    QString netControlCall;
    QDateTime now;
};
struct Outcome {
    bool ok = false;
    QString path;   // what was written
    QString error;  // names the file and the reason
};
Outcome Write(const NetSession& session, const Target& target, const Request& request);

}  // namespace NetExport
