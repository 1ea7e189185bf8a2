#include "operator_settings.h"
#include "settings_sections.h"

#include "settings_store.h"

namespace {
const QString& kSection = SettingsSections::kSettings;
const QString kNameKey = QStringLiteral("User Name");
const QString kCallKey = QStringLiteral("User Call");
}  // namespace

QString StoredUserName(const SettingsStore& store) { return store.GetSetting(kSection, kNameKey); }

QString StoredUserCall(const SettingsStore& store) { return store.GetSetting(kSection, kCallKey); }

void StoreUser(SettingsStore& store, const QString& name, const QString& call)
{
    store.SaveSetting(kSection, kNameKey, name);
    store.SaveSetting(kSection, kCallKey, call);
}

bool IsNetControlOperator(const SettingsStore& store, const QString& netControlName)
{
    return !netControlName.isEmpty() && netControlName == StoredUserName(store);
}
