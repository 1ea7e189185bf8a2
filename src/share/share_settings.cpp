#include "share_settings.h"

#include "core/settings_sections.h"
#include "core/settings_store.h"
#include "lookup/password_vault.h"

namespace {
const QString& kShare = SettingsSections::kShare;
const QString kHost = QStringLiteral("Host");
const QString kPort = QStringLiteral("Port");
const QString kTls = QStringLiteral("TLS");
const QString kCaFile = QStringLiteral("CA File");
const QString kUser = QStringLiteral("User");
const QString kNetId = QStringLiteral("Net ID");
const QString kEpoch = QStringLiteral("Epoch");
const QString kPasswordPlace = QStringLiteral("PW Place");
const QString kInKeyring = QStringLiteral("Keyring");
const QString kKeyringKey = QStringLiteral("Share password");
}  // namespace

ShareSettings::ShareSettings(SettingsStore& store, PasswordVault* vault) : store_(store), vault_(vault) {}

ShareSettings::Values ShareSettings::load() const
{
    Values v;
    v.host = store_.GetSetting(kShare, kHost).trimmed();
    v.tls = SettingValue::toBool(store_.GetSetting(kShare, kTls)).value_or(false);
    const std::optional<int> port = SettingValue::toInt(store_.GetSetting(kShare, kPort));
    v.port = port && *port >= 1 && *port <= 65535 ? *port : (v.tls ? ShareAddress::kTlsPort : ShareAddress::kPlainPort);
    v.caFile = store_.GetSetting(kShare, kCaFile);
    v.user = store_.GetSetting(kShare, kUser);
    const QString id = store_.GetSetting(kShare, kNetId);
    v.netId = id.isEmpty() ? QString() : NetIdOf(id);
    return v;
}

bool ShareSettings::save(const Values& values)
{
    bool ok = true;
    const auto put = [&](const QString& key, const QString& value) {
        store_.SaveSetting(kShare, key, value);
        ok = ok && store_.lastWriteOk();
    };
    put(kHost, values.host.trimmed());
    put(kPort, QString::number(values.port));
    put(kTls, SettingValue::fromBool(values.tls));
    put(kCaFile, values.caFile);
    put(kUser, values.user);
    put(kNetId, values.netId.isEmpty() ? QString() : NetIdOf(values.netId));
    return ok;
}

std::optional<qint64> ShareSettings::epoch(const QString& netId) const
{
    // "net-id epoch": an epoch speaks for its own net only.
    const QStringList parts = store_.GetSetting(kShare, kEpoch).split(QLatin1Char(' '));
    bool ok = false;
    const qint64 e = parts.size() == 2 && parts[0] == netId ? parts[1].toLongLong(&ok) : 0;
    return ok && e > 0 ? std::optional<qint64>(e) : std::nullopt;
}

void ShareSettings::setEpoch(const QString& netId, qint64 epoch)
{
    store_.SaveSetting(kShare, kEpoch, netId + QLatin1Char(' ') + QString::number(epoch));
}

std::optional<ShareAddress> ShareSettings::addressOf(const Values& values)
{
    if (values.host.trimmed().isEmpty())
        return std::nullopt;
    ShareAddress a;
    a.host = values.host.trimmed();
    a.port = values.port;
    a.tls = values.tls;
    a.user = values.user;
    a.netId = values.netId.isEmpty() ? QStringLiteral("net") : NetIdOf(values.netId);
    return a;
}

void ShareSettings::openKeyring()
{
    if (vault_ && store_.GetSetting(kShare, kPasswordPlace) == kInKeyring)
        vault_->read(kKeyringKey);
}

QString ShareSettings::password() const
{
    if (!vault_)
        return {};
    return vault_->password(kKeyringKey).value_or(QString());
}

void ShareSettings::storePassword(const QString& password)
{
    if (!vault_)
        return;
    SettingsStore* store = &store_;
    // Held in memory at once; only the mark that the keyring keeps it is written.
    vault_->write(kKeyringKey, password, [store](bool kept) {
        if (kept)
            store->SaveSetting(kShare, kPasswordPlace, kInKeyring);
        else
            store->DeleteSetting(kShare, kPasswordPlace);
    });
}
