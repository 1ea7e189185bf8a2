#include "report_text.h"

#include "platform/prompts.h"

using namespace ReportText;

ReportFigures ReportFigures::from(const NetReport& report)
{
    return {QString::number(report.sessions), QString::number(report.checkins), QString::number(report.traffic)};
}

QString ReportSubject(const ReportPeriod& period) { return kSubjectLead + period.month + QLatin1Char(' ') + period.year; }

QString ReportBody(const ReportFigures& figures, const QStringList& entries)
{
    const QChar blank(QLatin1Char(' '));
    QString block;
    for (const QString& entry : entries)
        block += entry + kLineBreak;
    return kSessionsTitle + blank + figures.sessions + kLineBreak   //
           + kCheckinsTitle + blank + figures.checkins + kLineBreak  //
           + kTrafficTitle + blank + figures.traffic + kLineBreak    //
           + kLineBreak                                              //
           + kNewCheckins + kLineBreak                               //
           + kLineBreak                                              //
           + block                                                   //
           + kLineBreak                                              //
           + kFooter;
}

QString ReportClipboardText(const ReportFigures& figures, const QStringList& entries, const ReportPeriod& period)
{
    return ReportSubject(period) + kLineBreak + kLineBreak + ReportBody(figures, entries);
}

QList<ReportPrintLine> ReportPrintLines(const ReportFigures& figures, const QStringList& entries,
                                        const ReportPeriod& period)
{
    const ReportPrintLine empty;
    QList<ReportPrintLine> lines{
        empty,
        empty,
        empty,
        {kPrintColumn, kPrintTitleLead + period.month + QLatin1Char(' ') + period.year},
        empty,
        {1, kSessionsTitle + figures.sessions},
        {1, kCheckinsTitle + figures.checkins},
        {1, kTrafficTitle + figures.traffic},
        empty,
        empty,
        {kPrintColumn, kPrintAdditions},
        empty,
    };
    for (const QString& entry : entries)
        lines.append({kPrintColumn, entry});
    return lines;
}

QString MonthQuestion(ReportAction action, const QString& month)
{
    const QString lead = action == ReportAction::Copy ? QStringLiteral("This Net Report is for the Month of ")
                                                      : QStringLiteral("This Net Report is for the month of ");
    return lead + month + QStringLiteral(" Is this correct?");
}

void ConfirmReportMonth(Prompts& prompts, ReportAction action, const ReportPeriod& period,
                        const std::function<void()>& chooseMonth)
{
    const auto answer = prompts.ask(MonthQuestion(action, period.month), Prompts::Buttons::YesNo,
                                    Prompts::Answer::No, Prompts::Icon::Exclamation, Prompts::kProgramTitle);
    if (answer == Prompts::Answer::No && chooseMonth)
        chooseMonth();
}
