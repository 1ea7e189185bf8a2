#pragma once

#include "share_address.h"

#include <QString>

class PasswordVault;
class SettingsStore;

// The "Share" section's one owner: the broker a net is shared through (host,
// port, TLS and its CA file, user) and the net's id. The broker password
// never goes to the settings file: the keyring keeps it through the vault,
// and without a keyring it is held for the run only.
class ShareSettings {
public:
    ShareSettings(SettingsStore& store, PasswordVault* vault);

    struct Values {
        QString host;
        int port = ShareAddress::kPlainPort;
        bool tls = false;
        QString caFile;
        QString user;
        QString netId;
        bool operator==(const Values&) const = default;
    };
    Values load() const;
    // False when the settings file could not be written.
    bool save(const Values& values);

    // The epoch this seat last shared the net with id netId in: a net brought
    // back after a crash goes on in it, and so learns of a take-over.
    std::optional<qint64> epoch(const QString& netId) const;
    void setEpoch(const QString& netId, qint64 epoch);

    // The address the values make; nothing while no host is set.
    static std::optional<ShareAddress> addressOf(const Values& values);

    // At start: asks the keyring for the password it keeps. Returns at once.
    void openKeyring();
    QString password() const;
    void storePassword(const QString& password);

private:
    SettingsStore& store_;
    PasswordVault* vault_;
};
