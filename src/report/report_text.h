#pragma once

#include "report_month.h"
#include "report_store.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class Prompts;

// The three figures as the report window shows them.
struct ReportFigures {
    QString sessions = QStringLiteral("0");
    QString checkins = QStringLiteral("0");
    QString traffic = QStringLiteral("0");
    static ReportFigures from(const NetReport& report);
};

namespace ReportText {
// Captions of the figure titles; the print-out uses them as they stand.
inline const QString kSessionsTitle = QStringLiteral("SESSIONS CALLED:");
inline const QString kCheckinsTitle = QStringLiteral("TOTAL CHECKINS:");
inline const QString kTrafficTitle = QStringLiteral("TRAFFIC COUNT:");
inline const QString kNewCheckins = QStringLiteral("NEW CHECKINS");
inline const QString kFooter = QStringLiteral("THIS NET REPORT WAS SENT VIA THE TSN V5 PROGRAM");
inline const QString kSubjectLead = QStringLiteral("VELN Net REPORT FOR ");
inline const QString kPrintTitleLead = QStringLiteral("TARVEN SECTION NET REPORT FOR ");
inline const QString kPrintAdditions = QStringLiteral("NEW CHECKINS ADDED THIS MONTH");
constexpr int kPrintColumn = 30;
inline const QString kLineBreak = QStringLiteral("\r\n");
}  // namespace ReportText

QString ReportSubject(const ReportPeriod& period);
// Figures, "NEW CHECKINS", the entries and the footer; CR LF between lines,
// none after the footer.
QString ReportBody(const ReportFigures& figures, const QStringList& entries);
// Subject, an empty line, then the body.
QString ReportClipboardText(const ReportFigures& figures, const QStringList& entries, const ReportPeriod& period);

// One printed line: text starting at a 1-based print column. An empty text
// is an empty line.
struct ReportPrintLine {
    int column = 1;
    QString text;
    bool operator==(const ReportPrintLine&) const = default;
};
QList<ReportPrintLine> ReportPrintLines(const ReportFigures& figures, const QStringList& entries,
                                        const ReportPeriod& period);

// The copy and print questions differ in the case of one letter.
enum class ReportAction { Copy, Print };
QString MonthQuestion(ReportAction action, const QString& month);
// Asks whether the report month is right (Yes/No, Yes the default); on No,
// chooseMonth runs (the month window, which changes the period).
void ConfirmReportMonth(Prompts& prompts, ReportAction action, const ReportPeriod& period,
                        const std::function<void()>& chooseMonth);
