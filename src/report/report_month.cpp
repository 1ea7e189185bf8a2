#include "report_month.h"

#include "report_store.h"

#include <limits>

QString ReportYearFor(const QDate& today) { return QStringLiteral("%1").arg(today.year(), 4, 10, QLatin1Char('0')); }

const std::array<MonthChoice, 12>& MonthChoices()
{
    static const std::array<MonthChoice, 12> choices{{
        {"cmdJan", "&JANUARY", "JANUARY"},
        {"cmdFeb", "&FEBRUARY", "FEBRUARY"},
        {"cmdMar", "&MARCH", "MARCH"},
        {"cmdApr", "&APRIL", "APRIL"},
        {"cmdMay", "MAY", "MAY"},
        {"cmdJun", "&JUNE", "JUNE"},
        {"cmdJul", "&JULY", "JULY"},
        {"cmdAug", "&AUGUST", "AUGUST"},
        {"cmdSep", "&SEPTEMBER", "SEPTEMBER"},
        {"cmdOct", "&OCTOBER", "OCTOBER"},
        {"cmdNov", "&NOVEMBER", "NOVEMBER"},
        {"cmdDec", "&DECEMBER", "DECEMBER"},
    }};
    return choices;
}

ReportPeriod DefaultReportPeriod(const QDate& today)
{
    ReportPeriod period;
    period.year = ReportYearFor(today);
    if (today.isValid())
        period.month = QString::fromLatin1(MonthChoices()[size_t(today.month() - 1)].month);
    return period;
}

void ChooseReportMonth(ReportPeriod& period, int monthNumber)
{
    if (monthNumber < 1 || monthNumber > 12)
        return;
    period.month = QString::fromLatin1(MonthChoices()[monthNumber - 1].month);
    period.chosen = true;
    if (monthNumber == 12) {
        // A December report is made in January, a year on.
        const int year = ParseCounter(period.year);
        period.year = QString::number(year > std::numeric_limits<qint16>::min() ? year - 1 : year);
    }
}
