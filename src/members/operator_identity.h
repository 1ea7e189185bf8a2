#pragma once

#include <QString>

class SettingsStore;

// Who operates the program in this run, and whether they run today's net.
struct OperatorIdentity {
    QString name;
    QString call;
    bool netControl = false;

    friend bool operator==(const OperatorIdentity&, const OperatorIdentity&) = default;
};

// The stored name and call, as they are, to pre-fill the identity dialog;
// netControl is always false, because that answer is asked for every run.
OperatorIdentity StoredOperator(const SettingsStore& store);

// Writes the name, then the call, as they are (empty texts too).
void StoreOperator(SettingsStore& store, const OperatorIdentity& identity);

// Today's net control after the identity question: nobody unless the operator
// said yes. On a first run (nothing stored) the entries are stored and name
// the net control; later the stored name (upper case) and stored call do.
struct NetControl {
    QString name;
    QString call;
};
NetControl SettleIdentity(SettingsStore& store, const OperatorIdentity& stored, const OperatorIdentity& answered);
