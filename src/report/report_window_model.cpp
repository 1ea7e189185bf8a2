#include "report_window_model.h"

#include "core/settings_store.h"
#include "platform/prompts.h"

ReportWindowModel::ReportWindowModel(SettingsStore& store, NetReport& report, ReportPeriod& period)
    : store_(store), report_(report), period_(period)
{
}

void ReportWindowModel::load(const QDate& today, bool printerAvailable)
{
    printEnabled_ = printerAvailable;
    resetEnabled_ = true;
    copyCaption_ = ReportWindowText::kCopy;
    report_ = LoadReportCounters(store_);
    figures_ = ReportFigures::from(report_);
    // The year comes from today; the month, until one is picked, too.
    if (period_.chosen)
        period_.year = ReportYearFor(today);
    else
        period_ = DefaultReportPeriod(today);
    newMembers_ = ReadNewMemberList(store_, true);
}

QString ReportWindowModel::copyReport(Prompts& prompts, const std::function<void()>& chooseMonth)
{
    ConfirmReportMonth(prompts, ReportAction::Copy, period_, chooseMonth);
    // The entries come from the store each time, not from the list shown.
    const QStringList entries = ReadNewMemberList(store_, true);
    store_.SaveSetting(ReportKeys::kReport, ReportKeys::kSubject, ReportSubject(period_));
    copyCaption_ = ReportWindowText::kCopied;
    return ReportClipboardText(figures_, entries, period_);
}

QList<ReportPrintLine> ReportWindowModel::printReport(Prompts& prompts, const std::function<void()>& chooseMonth)
{
    if (!printEnabled_)
        return {};
    ConfirmReportMonth(prompts, ReportAction::Print, period_, chooseMonth);
    return ReportPrintLines(figures_, ReadNewMemberList(store_, true), period_);
}

bool ReportWindowModel::resetReport(Prompts& prompts)
{
    if (!resetEnabled_)
        return false;
    const auto answer = prompts.ask(ReportWindowText::kResetQuestion, Prompts::Buttons::YesNo, Prompts::Answer::No,
                                    Prompts::Icon::Question, ReportWindowText::kResetTitle);
    if (answer == Prompts::Answer::No)
        return false;
    figures_ = ReportFigures{};
    ResetMonthlyReport(store_, report_);
    newMembers_.clear();
    resetEnabled_ = false;
    return true;
}
