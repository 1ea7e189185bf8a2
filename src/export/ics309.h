#pragma once

#include "net_log.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// The net's events on the ICS 309 communications log, drawn as PDF on
// US Letter paper with the form's numbered boxes on every page.
namespace Ics309 {

struct Header {
    QString incidentName;   // box 1: the net's name
    QString stationId;      // box 3: the net control station's call
    QString operatorName;   // box 4, and who prepared the log
    QString operatorCall;
    QDateTime prepared;     // UTC
};

// Log rows on one page.
int RowsPerPage();
int PageCount(int events);

// The whole document; empty when it could not be drawn.
QByteArray Pdf(const Header& header, const QList<NetLog::Event>& events);

}  // namespace Ics309
