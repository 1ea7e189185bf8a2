#include "operator_identity.h"

#include "core/operator_settings.h"

OperatorIdentity StoredOperator(const SettingsStore& store)
{
    return {StoredUserName(store), StoredUserCall(store), false};
}

void StoreOperator(SettingsStore& store, const OperatorIdentity& identity)
{
    StoreUser(store, identity.name, identity.call);
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
