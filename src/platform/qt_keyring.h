#pragma once

#include "platform/keyring.h"

// The keyring through QtKeychain: the Secret Service (GNOME Keyring,
// KeePassXC) or KWallet, whichever the desktop runs. Never falls back to a
// file of its own: the caller decides where a secret goes when this fails.
class QtKeyring : public Keyring {
public:
    explicit QtKeyring(QString service = QStringLiteral("VELN")) : service_(std::move(service)) {}
    void read(const QString& key, Then then) override;
    void write(const QString& key, const QString& value, Then then) override;

private:
    QString service_;
};
