#pragma once

#include "core/settings_store.h"
#include "report/report_store.h"

#include <QStringList>

// Slots of "NewMember" as the tests write and read them. In a written list,
// "<missing>" leaves the key out.
inline const QString kMissing = QStringLiteral("<missing>");

inline void putSlots(SettingsStore& store, const QStringList& values)
{
    for (int slot = 0; slot < values.size(); ++slot) {
        if (values.at(slot) != kMissing)
            store.SaveSetting(ReportKeys::kNewMember, QString::number(slot), values.at(slot));
    }
}

// Values of slots 0..count-1; a key that does not exist reads "<missing>".
inline QStringList readSlots(const SettingsStore& store, int count)
{
    QStringList values;
    for (int slot = 0; slot < count; ++slot)
        values.append(store.GetSetting(ReportKeys::kNewMember, QString::number(slot), kMissing));
    return values;
}

inline QStringList storedFigures(const SettingsStore& store)
{
    return {store.GetSetting(ReportKeys::kReport, ReportKeys::kSessions, kMissing),
            store.GetSetting(ReportKeys::kReport, ReportKeys::kCheckins, kMissing),
            store.GetSetting(ReportKeys::kReport, ReportKeys::kTraffic, kMissing)};
}

// Distinct entry texts for filling slots: "K0 NAME TOWN", "K1 NAME TOWN", ...
inline QStringList entriesNamed(int count, const QString& prefix = QStringLiteral("K"))
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list.append(prefix + QString::number(i) + QStringLiteral(" NAME TOWN"));
    return list;
}
