#pragma once

#include <QString>
#include <QtGlobal>

// The running monthly totals, held as the 16-bit numbers the store allows.
struct NetReport {
    qint16 sessions = 0;
    qint16 checkins = 0;
    qint16 traffic = 0;
    bool operator==(const NetReport&) const = default;
};

// The month and year the report is made for.
struct ReportPeriod {
    QString month;
    QString year;
    bool chosen = false;  // the operator picked the month in this run
    bool operator==(const ReportPeriod&) const = default;
};
