#pragma once

#include <QString>

class SettingsStore;

// The operator's stored name and call, the one owner of their keys.
QString StoredUserName(const SettingsStore& store);
QString StoredUserCall(const SettingsStore& store);
void StoreUser(SettingsStore& store, const QString& name, const QString& call);

// Today's net control is the operator at this desk: the stored name matches.
// An empty name never matches.
bool IsNetControlOperator(const SettingsStore& store, const QString& netControlName);
