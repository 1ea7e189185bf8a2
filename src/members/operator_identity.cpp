#include "operator_identity.h"

#include "core/settings_store.h"

namespace {
const QString kSection = QStringLiteral("Settings");
const QString kNameKey = QStringLiteral("User Name");
const QString kCallKey = QStringLiteral("User Call");
}  // namespace

OperatorIdentity StoredOperator(const SettingsStore& store)
{
    return {store.GetSetting(kSection, kNameKey), store.GetSetting(kSection, kCallKey), false};
}

void StoreOperator(SettingsStore& store, const OperatorIdentity& identity)
{
    store.SaveSetting(kSection, kNameKey, identity.name);
    store.SaveSetting(kSection, kCallKey, identity.call);
}

NetControl SettleIdentity(SettingsStore& store, const OperatorIdentity& stored, const OperatorIdentity& answered)
{
    const bool firstRun = stored.name.isEmpty();
    if (firstRun)
        StoreOperator(store, answered);
    if (!answered.netControl)
        return {};
    if (firstRun)
        return {answered.name, answered.call};
    return {stored.name.toUpper(), stored.call};
}
