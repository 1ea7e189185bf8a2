#include "net_manager.h"
#include "core/settings_sections.h"

#include "core/settings_store.h"

namespace {
const QString& kSection = SettingsSections::kSettings;
const QString kNameKey = QStringLiteral("NetMgr");
const QString kCallKey = QStringLiteral("NetMgrCall");
}  // namespace

NetManager EnsureNetManager(SettingsStore& store)
{
    if (store.GetSetting(kSection, kNameKey).isEmpty())
        StoreNetManager(store, {kDefaultNetManagerName, kDefaultNetManagerCall});
    return {store.GetSetting(kSection, kNameKey), store.GetSetting(kSection, kCallKey)};
}

void StoreNetManager(SettingsStore& store, const NetManager& manager)
{
    store.SaveSetting(kSection, kNameKey, manager.name);
    store.SaveSetting(kSection, kCallKey, manager.call);
}

QString IdentityCaption(const QString& name, const QString& call)
{
    if (name.isEmpty() && call.isEmpty())
        return {};
    return name + QStringLiteral("   ") + call;
}
