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
    QString incidentName;   // box 1
    QString netName;        // box 3: the radio net's name or a tactical call
    QDateTime periodFrom;   // box 2; when not valid, the log's first and last times
    QDateTime periodTo;
    QString operatorName;   // box 4, and who prepared the log (box 6)
    QString operatorCall;
    QDateTime prepared;     // box 7, UTC
};

// The document's creator, as PDF readers show it.
inline const QString kCreator = QStringLiteral("VELN net-control logger");

// Log rows on one page.
int RowsPerPage();
int PageCount(int events);

// The whole document; empty when it could not be drawn.
QByteArray Pdf(const Header& header, const QList<NetLog::Event>& events);

}  // namespace Ics309
