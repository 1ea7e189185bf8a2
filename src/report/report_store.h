#pragma once

#include "core/report_types.h"
#include "core/settings_sections.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class SettingsStore;
class Prompts;


// One new member of the month: call, name and QTH joined by single blanks.
struct NewMemberEntry {
    static QString text(const QString& call, const QString& name, const QString& qth);
};

namespace ReportKeys {
inline const QString& kReport = SettingsSections::kReport;
inline const QString& kNewMember = SettingsSections::kNewMember;
inline const QString kSessions = QStringLiteral("Sessions");
inline const QString kCheckins = QStringLiteral("Checkins");
inline const QString kTraffic = QStringLiteral("Traffic");
inline const QString kResetReport = QStringLiteral("ResetReport");
inline const QString kSubject = QStringLiteral("Subject");
// Slots the report shows, edits and resets: "0".."14".
constexpr int kShownSlots = 15;
// The appender looks for a free slot in "0".."50"; when all are taken it
// writes "51".
constexpr int kLastScannedSlot = 50;
}  // namespace ReportKeys

// --- counter texts

// The leading number of a text rounded to an integer, halves to the even
// neighbour; 0 for a text without one. Not limited to 16 bits.
double RoundedLeadingNumber(const QString& text);
// The same, held to the 16-bit range (a value outside it, even one typed by
// hand into the store, stops at the nearest bound instead of wrapping).
qint16 ParseCounter(const QString& text);
bool FitsCounter(double value);

// --- operations on the store

// Reads the three totals ("Report" keys; missing reads as 0).
NetReport LoadReportCounters(const SettingsStore& store);

// What a write of the totals did; when refused, message says why (shown with
// an exclamation icon) and nothing in the store changed.
struct ReportWriteOutcome {
    bool stored = true;
    QString message;
};

// Adds one session and its check-ins and traffic to the totals last loaded
// and stores the sums. A sum outside the 16-bit range is refused.
ReportWriteOutcome AddSessionToReport(SettingsStore& store, const NetReport& base, int sessionCheckins,
                                      int sessionTraffic);

// Writes the entry to the first free slot "0".."50", else to "51".
// Returns the slot written.
int AppendNewMemberEntry(SettingsStore& store, const QString& call, const QString& name, const QString& qth);

// Non-empty entries of slots "0".."14" in slot order. Guarded (what the report
// shows, copies and prints), the list is empty whenever slot "0" is empty.
QStringList ReadNewMemberList(const SettingsStore& store, bool guarded);

// Zeroes the totals (in memory and stored), empties the non-empty slots
// "0".."14" and sets "ResetReport" to "True".
void ResetMonthlyReport(SettingsStore& store, NetReport& report);

// Empties the first of slots "0".."14" that holds exactly entryText and moves
// the later entries of those slots down by one, so no gap is left for the
// guarded list to stop at. Returns the slot emptied, or -1 when none matched.
int DeleteNewMemberEntry(SettingsStore& store, const QString& entryText);

// A member deleted from the database leaves the month's additions: every shown
// entry of that call goes, the later ones move down.
void ForgetNewMember(SettingsStore& store, const QString& call);

// The report editor's save: the three figures as typed, the list's entries
// into slots "0".. in order (empty lines are left out), the slots above them up
// to "14" emptied. A figure whose number does not fit 16 bits refuses the
// whole save.
ReportWriteOutcome SaveEditedReport(SettingsStore& store, const QString& sessions, const QString& checkins,
                                    const QString& traffic, const QStringList& entries, int selectedIndex);

// --- reset reminder at start-up

struct ResetReminder {
    bool flagRead = false;  // the check ran (the operator is today's net control)
    QString flag;           // "ResetReport" as read (after a missing one was set)
    bool remind = false;    // the reminder message is due
};

namespace ResetReminderText {
inline const QString kMessage = QStringLiteral(
    "Your Net Report for last month has not been reset.\r\nPlease reset your report before you save todays report!");
inline const QString kTitle = QStringLiteral("RESET NET REPORT");
}  // namespace ResetReminderText

// Reads the reset flag when netControlName (today's net control, empty when the
// operator is not) is the stored "User Name"; a missing flag becomes "True".
ResetReminder ResetReminderCheck(SettingsStore& store, const QString& netControlName, const QDate& today);
// On the 8th, a flag read as "True" becomes "False". Returns true when written.
bool RearmResetFlag(SettingsStore& store, const ResetReminder& check, const QDate& today);
// Both steps, showing the reminder through prompts when due.
ResetReminder RunResetReminder(SettingsStore& store, Prompts& prompts, const QString& netControlName,
                               const QDate& today);
