#pragma once

#include <QString>

class SettingsStore;

// The person responsible for the net, kept in the settings store.
struct NetManager {
    QString name;
    QString call;

    friend bool operator==(const NetManager&, const NetManager&) = default;
};

// Written at start-up when no manager is stored yet.
inline const QString kDefaultNetManagerName = QStringLiteral("HAL MERRIN");
inline const QString kDefaultNetManagerCall = QStringLiteral("W0VEL");

// The start-up step: an empty stored name counts as no manager, so the
// built-in one is written; then the stored manager is read back.
NetManager EnsureNetManager(SettingsStore& store);

// Writes the name, then the call.
void StoreNetManager(SettingsStore& store, const NetManager& manager);

// "NAME   CALL" as the net-info labels show a person; empty when both are.
QString IdentityCaption(const QString& name, const QString& call);
