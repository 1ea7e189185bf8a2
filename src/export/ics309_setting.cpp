#include "ics309_setting.h"

#include "core/settings_store.h"

namespace {
const QString kSection = QStringLiteral("ICS309");
const QString kIncident = QStringLiteral("IncidentName");
const QString kNet = QStringLiteral("NetName");
const QString kFrom = QStringLiteral("PeriodFrom");
const QString kTo = QStringLiteral("PeriodTo");
const QString kTimeForm = QStringLiteral("HH:mm");
}  // namespace

Ics309Details Ics309Setting::offer(const QString& netName, const QDateTime& first, const QDateTime& last) const
{
    Ics309Details d;
    d.incidentName = store_.GetSetting(kSection, kIncident, netName);
    d.netName = store_.GetSetting(kSection, kNet, netName);
    d.periodFrom = first.toUTC();
    d.periodTo = last.toUTC();
    const QTime from = QTime::fromString(store_.GetSetting(kSection, kFrom), kTimeForm);
    const QTime to = QTime::fromString(store_.GetSetting(kSection, kTo), kTimeForm);
    if (from.isValid() && to.isValid()) {
        const QDate day = d.periodFrom.date();
        d.periodFrom = QDateTime(day, from, Qt::UTC);
        // A period that passes midnight ends on the next day.
        d.periodTo = QDateTime(to >= from ? day : day.addDays(1), to, Qt::UTC);
    }
    return d;
}

void Ics309Setting::keep(const Ics309Details& details)
{
    store_.SaveSetting(kSection, kIncident, details.incidentName);
    store_.SaveSetting(kSection, kNet, details.netName);
    store_.SaveSetting(kSection, kFrom, details.periodFrom.toUTC().toString(kTimeForm));
    store_.SaveSetting(kSection, kTo, details.periodTo.toUTC().toString(kTimeForm));
}
