#pragma once

#include "core/report_types.h"

#include <QDate>
#include <QString>
#include <array>

// The month and year the report is for, program-wide for the run: the month
// is empty until the operator picks one; the year follows today's date.

// The four-character year of a date, as the report year is set from today.
QString ReportYearFor(const QDate& today);

// One button of the month window.
struct MonthChoice {
    const char* objectName;  // cmdJan .. cmdDec
    const char* caption;     // with "&" before the accelerator letter
    const char* month;       // the report month it sets
};

namespace MonthWindowText {
inline const QString kCaption = QStringLiteral("REPORT MONTH");
inline const QString kLabel = QStringLiteral("Select Correct Month for Report");
}  // namespace MonthWindowText

// January first.
const std::array<MonthChoice, 12>& MonthChoices();

// The pick of month number 1..12: sets the month; December also lowers the
// year by one (as a 16-bit number). Other numbers change nothing.
// The month a report made today is for until the operator picks another:
// this month, with this year.
ReportPeriod DefaultReportPeriod(const QDate& today);
void ChooseReportMonth(ReportPeriod& period, int monthNumber);
