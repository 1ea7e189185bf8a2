#pragma once

#include "report_month.h"
#include "report_store.h"
#include "report_text.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class Prompts;
class SettingsStore;

namespace ReportWindowText {
inline const QString kCaption = QStringLiteral("TSPN MONTHLY REPORT");
inline const QString kCopy = QStringLiteral("COPY REPORT TO CLIPBOARD");
inline const QString kCopied = QStringLiteral("REPORT COPIED");
inline const QString kResetQuestion = QStringLiteral("ARE YOU SURE!");
inline const QString kResetTitle = QStringLiteral("DELETE MONTHLY REPORT");
}  // namespace ReportWindowText

// What the monthly report window shows and does, without the window: it reads
// the store when loaded and keeps what it shows until a reset zeroes it.
// The window mirrors the getters after each call.
class ReportWindowModel {
public:
    // report and period are the program-wide totals and report month/year.
    ReportWindowModel(SettingsStore& store, NetReport& report, ReportPeriod& period);

    // Loading: totals reloaded, the year set from today, the guarded list read.
    void load(const QDate& today, bool printerAvailable);

    const ReportFigures& figures() const { return figures_; }  // lblSC, lblTchkin, lblTC
    const QStringList& newMembers() const { return newMembers_; }  // LstNewMem
    const QString& copyCaption() const { return copyCaption_; }  // cmdCopy
    bool printEnabled() const { return printEnabled_; }  // cmdPrint
    bool resetEnabled() const { return resetEnabled_; }  // cmdReset

    // COPY: asks for the month (chooseMonth shows the month window on No),
    // stores the subject and returns the text for the clipboard.
    QString copyReport(Prompts& prompts, const std::function<void()>& chooseMonth);
    // PRINT: asks likewise and returns the lines to print; without a printer
    // nothing is asked and nothing returned.
    QList<ReportPrintLine> printReport(Prompts& prompts, const std::function<void()>& chooseMonth);
    // RESET: asks; on any answer but No zeroes the report. True when reset.
    bool resetReport(Prompts& prompts);

private:
    SettingsStore& store_;
    NetReport& report_;
    ReportPeriod& period_;
    ReportFigures figures_;
    QStringList newMembers_;
    QString copyCaption_ = ReportWindowText::kCopy;
    bool printEnabled_ = true;
    bool resetEnabled_ = true;
};
