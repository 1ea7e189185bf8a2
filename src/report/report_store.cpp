#include "report_store.h"

#include "core/operator_settings.h"

#include "core/settings_store.h"
#include "core/text_number.h"
#include "platform/prompts.h"

#include <cmath>
#include <limits>

using namespace ReportKeys;

namespace {

constexpr int kCounterMin = std::numeric_limits<qint16>::min();

QString slotKey(int slot) { return QString::number(slot); }

QString readSlot(const SettingsStore& store, int slot) { return store.GetSetting(kNewMember, slotKey(slot)); }

QString counterText(qint64 value) { return QString::number(value); }

const QString kTooLarge = QStringLiteral(
    "The monthly report cannot count past 32767, so this session was not added to it. Please reset the report.");
const QString kFigureOutOfRange =
    QStringLiteral("The report figures must be numbers from -32768 to 32767. Nothing was saved.");

}  // namespace

QString NewMemberEntry::text(const QString& call, const QString& name, const QString& qth)
{
    return call + QLatin1Char(' ') + name + QLatin1Char(' ') + qth;
}

double RoundedLeadingNumber(const QString& text)
{
    const double v = LeadingNumber(text);
    if (std::isnan(v))
        return 0.0;
    if (std::isinf(v))
        return v;
    double r = std::round(v);  // halves away from zero ...
    if (std::fabs(v - std::trunc(v)) == 0.5)
        r = 2.0 * std::round(v / 2.0);  // ... but a half goes to the even neighbour
    return r == 0.0 ? 0.0 : r;
}

bool FitsCounter(double value) { return value >= kCounterMin && value <= kCounterMax; }

qint16 ParseCounter(const QString& text)
{
    const double v = RoundedLeadingNumber(text);
    if (v > kCounterMax)
        return qint16(kCounterMax);
    if (v < kCounterMin)
        return qint16(kCounterMin);
    return qint16(v);
}

NetReport LoadReportCounters(const SettingsStore& store)
{
    NetReport r;
    r.sessions = ParseCounter(store.GetSetting(kReport, kSessions));
    r.checkins = ParseCounter(store.GetSetting(kReport, kCheckins));
    r.traffic = ParseCounter(store.GetSetting(kReport, kTraffic));
    return r;
}

ReportWriteOutcome AddSessionToReport(SettingsStore& store, const NetReport& base, int sessionCheckins,
                                      int sessionTraffic)
{
    const qint64 sessions = qint64(base.sessions) + 1;
    const qint64 checkins = qint64(base.checkins) + sessionCheckins;
    const qint64 traffic = qint64(base.traffic) + sessionTraffic;
    // All three or none: a refused sum must not leave the others half-added.
    if (!FitsCounter(double(sessions)) || !FitsCounter(double(checkins)) || !FitsCounter(double(traffic)))
        return {false, kTooLarge};
    store.SaveSetting(kReport, kSessions, counterText(sessions));
    store.SaveSetting(kReport, kCheckins, counterText(checkins));
    store.SaveSetting(kReport, kTraffic, counterText(traffic));
    return {};
}

int AppendNewMemberEntry(SettingsStore& store, const QString& call, const QString& name, const QString& qth)
{
    int slot = 0;
    while (slot <= kLastScannedSlot && !readSlot(store, slot).isEmpty())
        ++slot;
    store.SaveSetting(kNewMember, slotKey(slot), NewMemberEntry::text(call, name, qth));
    return slot;
}

QStringList ReadNewMemberList(const SettingsStore& store, bool guarded)
{
    QStringList list;
    for (int slot = 0; slot < kShownSlots; ++slot) {
        const QString entry = readSlot(store, slot);
        if (entry.isEmpty()) {
            if (guarded && slot == 0)
                return {};
            continue;
        }
        list.append(entry);
    }
    return list;
}

void ResetMonthlyReport(SettingsStore& store, NetReport& report)
{
    report = {};
    store.SaveSetting(kReport, kSessions, QStringLiteral("0"));
    store.SaveSetting(kReport, kCheckins, QStringLiteral("0"));
    store.SaveSetting(kReport, kTraffic, QStringLiteral("0"));
    for (int slot = 0; slot < kShownSlots; ++slot) {
        if (!readSlot(store, slot).isEmpty())
            store.SaveSetting(kNewMember, slotKey(slot), QString());
    }
    store.SaveSetting(kReport, kResetReport, SettingValue::fromBool(true));
}

int DeleteNewMemberEntry(SettingsStore& store, const QString& entryText)
{
    QStringList before;
    for (int slot = 0; slot < kShownSlots; ++slot)
        before.append(readSlot(store, slot));
    int matched = -1;
    for (int slot = 0; slot < kShownSlots && matched < 0; ++slot) {
        if (!before.at(slot).isEmpty() && before.at(slot) == entryText)
            matched = slot;
    }
    if (matched < 0)
        return -1;
    QStringList after;
    for (int slot = 0; slot < kShownSlots; ++slot) {
        if (slot != matched && !before.at(slot).isEmpty())
            after.append(before.at(slot));
    }
    for (int slot = 0; slot < kShownSlots; ++slot) {
        const QString value = slot < after.size() ? after.at(slot) : QString();
        if (value != before.at(slot))
            store.SaveSetting(kNewMember, slotKey(slot), value);
    }
    return matched;
}

void ForgetNewMember(SettingsStore& store, const QString& call)
{
    if (call.isEmpty())
        return;
    for (const QString& entry : ReadNewMemberList(store, false))
        if (entry.section(QLatin1Char(' '), 0, 0) == call)
            DeleteNewMemberEntry(store, entry);
}

ReportWriteOutcome SaveEditedReport(SettingsStore& store, const QString& sessions, const QString& checkins,
                                    const QString& traffic, const QStringList& entries, int selectedIndex)
{
    for (const QString* figure : {&sessions, &checkins, &traffic}) {
        if (!FitsCounter(RoundedLeadingNumber(*figure)))
            return {false, kFigureOutOfRange};
    }
    store.SaveSetting(kReport, kSessions, sessions);
    store.SaveSetting(kReport, kCheckins, checkins);
    store.SaveSetting(kReport, kTraffic, traffic);

    // A line emptied in the editor drops out; stopping there would lose the
    // lines after it.
    int written = 0;
    for (const QString& entry : entries) {
        if (entry.isEmpty())
            continue;
        store.SaveSetting(kNewMember, slotKey(written), entry);
        ++written;
    }
    if (selectedIndex > 1 && selectedIndex != written)
        store.DeleteSetting(kNewMember, slotKey(written));
    // Entries left above the written ones would show up again.
    for (int slot = written; slot < kShownSlots; ++slot) {
        if (!readSlot(store, slot).isEmpty())
            store.SaveSetting(kNewMember, slotKey(slot), QString());
    }
    return {};
}

ResetReminder ResetReminderCheck(SettingsStore& store, const QString& netControlName, const QDate& today)
{
    ResetReminder check;
    // An operator who is not net control has no name here; an empty stored
    // name must not count as a match.
    if (!IsNetControlOperator(store, netControlName))
        return check;
    check.flagRead = true;
    check.flag = store.GetSetting(kReport, kResetReport);
    if (check.flag.isEmpty()) {
        check.flag = SettingValue::fromBool(true);
        store.SaveSetting(kReport, kResetReport, check.flag);
    }
    const bool isTrue = check.flag.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    const int day = today.day();
    check.remind = !isTrue && day >= 1 && day <= 7 && ParseCounter(store.GetSetting(kReport, kCheckins)) > 0;
    return check;
}

bool RearmResetFlag(SettingsStore& store, const ResetReminder& check, const QDate& today)
{
    if (!check.flagRead || check.flag.compare(QLatin1String("True"), Qt::CaseInsensitive) != 0 || today.day() != 8)
        return false;
    store.SaveSetting(kReport, kResetReport, SettingValue::fromBool(false));
    return true;
}

ResetReminder RunResetReminder(SettingsStore& store, Prompts& prompts, const QString& netControlName,
                               const QDate& today)
{
    const ResetReminder check = ResetReminderCheck(store, netControlName, today);
    if (check.remind)
        prompts.message(ResetReminderText::kMessage, Prompts::Icon::Exclamation, ResetReminderText::kTitle);
    RearmResetFlag(store, check, today);
    return check;
}
