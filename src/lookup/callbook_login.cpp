#include "callbook_login.h"
#include "core/settings_sections.h"

#include "core/settings_store.h"
#include "password_vault.h"

#include <QUrl>

namespace {
const QString& kSettings = SettingsSections::kSettings;
const QString& kServers = SettingsSections::kServers;
const QString kUserKey = QStringLiteral("QRZ ID");
const QString kPasswordKey = QStringLiteral("QRZ PW");
const QString kSessionKey = QStringLiteral("QRZ Key");
const QString kHamQthUserKey = QStringLiteral("HamQTH ID");
const QString kHamQthPasswordKey = QStringLiteral("HamQTH PW");
const QString kDontAskKey = QStringLiteral("chkNoShow");
const QString kUserPrefix = QStringLiteral("username=");
const QString kPasswordPrefix = QStringLiteral("password=");
const QString kInKeyring = QStringLiteral("Keyring");

// The values keep the query prefixes earlier releases stored; a prefix in
// another letter case (a hand-edited file) is taken off too.
QString stripped(QString value, const QString& prefix, const QString& suffix = {})
{
    if (value.startsWith(prefix, Qt::CaseInsensitive))
        value.remove(0, prefix.size());
    if (!suffix.isEmpty() && value.endsWith(suffix))
        value.chop(suffix.size());
    return value;
}
}  // namespace

// One password: its plain value in the settings file (with the prefix earlier
// releases wrote), the mark saying the keyring keeps it, its keyring entry.
struct CallbookLogin::Secret {
    QString fileKey;
    QString prefix;
    QString placeKey;
    QString keyringKey;
};

namespace {
const QString kQrzPlace = QStringLiteral("QRZ PW Place");
const QString kHamQthPlace = QStringLiteral("HamQTH PW Place");

// Puts the password back in the settings file, the keyring's mark off.
void keepInFile(SettingsStore& store, const QString& fileKey, const QString& text, const QString& placeKey)
{
    if (store.GetSetting(kSettings, fileKey) != text)
        store.SaveSetting(kSettings, fileKey, text);
    store.DeleteSetting(kSettings, placeKey);
}
}  // namespace

CallbookLogin::CallbookLogin(SettingsStore& store) : store_(store) {}

const CallbookLogin::Secret& CallbookLogin::qrzSecret()
{
    static const Secret s{kPasswordKey, kPasswordPrefix, kQrzPlace, QStringLiteral("QRZ password")};
    return s;
}

const CallbookLogin::Secret& CallbookLogin::hamQthSecret()
{
    static const Secret s{kHamQthPasswordKey, {}, kHamQthPlace, QStringLiteral("HamQTH password")};
    return s;
}

bool CallbookLogin::inKeyring(const Secret& secret) const
{
    return store_.GetSetting(kSettings, secret.placeKey) == kInKeyring;
}

QString CallbookLogin::passwordOf(const Secret& secret) const
{
    if (vault_) {
        if (const std::optional<QString> held = vault_->password(secret.keyringKey))
            return *held;
    }
    if (inKeyring(secret))
        return {};  // not read yet
    return stripped(store_.GetSetting(kSettings, secret.fileKey), secret.prefix);
}

bool CallbookLogin::passwordStored(const Secret& secret) const
{
    if (vault_) {
        if (const std::optional<QString> held = vault_->password(secret.keyringKey))
            return !held->isEmpty();
    }
    // A locked keyring answers as if it held nothing: the mark still says a
    // login is stored, and lookups say the keyring has not given it.
    if (inKeyring(secret))
        return true;
    return !store_.GetSetting(kSettings, secret.fileKey).isEmpty();
}

bool CallbookLogin::keep(const Secret& secret, const QString& password)
{
    const QString text = secret.prefix + password;
    if (!vault_ || vault_->place() == PasswordVault::Place::SettingsFile) {
        if (vault_)
            vault_->forget(secret.keyringKey);
        keepInFile(store_, secret.fileKey, text, secret.placeKey);
        return store_.lastWriteOk();
    }
    // Held in memory at once; the settings file gets it only when the keyring does not take it.
    SettingsStore* store = &store_;
    vault_->write(secret.keyringKey, password, [store, secret, text](bool kept) {
        if (!kept) {
            keepInFile(*store, secret.fileKey, text, secret.placeKey);
            return;
        }
        store->SaveSetting(kSettings, secret.placeKey, kInKeyring);
        if (store->lastWriteOk())
            store->DeleteSetting(kSettings, secret.fileKey);
    });
    return true;
}

void CallbookLogin::openKeyring()
{
    if (!vault_)
        return;
    bool asked = false;
    for (const Secret* secret : {&qrzSecret(), &hamQthSecret()}) {
        if (inKeyring(*secret)) {
            vault_->read(secret->keyringKey);
            asked = true;
            continue;
        }
        const QString plain = stripped(store_.GetSetting(kSettings, secret->fileKey), secret->prefix);
        if (!plain.isEmpty()) {
            keep(*secret, plain);
            asked = true;
        }
    }
    // Nothing stored yet: learn whether a keyring answers, for the login window's words.
    if (!asked)
        vault_->read(qrzSecret().keyringKey);
}

bool CallbookLogin::passwordWaiting(Service service)
{
    const Secret& secret = service == Service::Qrz ? qrzSecret() : hamQthSecret();
    if (!inKeyring(secret) || (vault_ && vault_->password(secret.keyringKey)))
        return false;
    if (vault_)
        vault_->read(secret.keyringKey);
    return true;
}

QString CallbookLogin::user() const
{
    return stripped(store_.GetSetting(kSettings, kUserKey), kUserPrefix, QStringLiteral(";"));
}

QString CallbookLogin::password() const { return passwordOf(qrzSecret()); }

QString CallbookLogin::loginQuery() const
{
    const auto encoded = [](const QString& value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); };
    return kUserPrefix + encoded(user()) + QLatin1Char(';') + kPasswordPrefix + encoded(password());
}

bool CallbookLogin::isSetUp() const { return passwordStored(qrzSecret()); }

bool CallbookLogin::storeUser(const QString& user)
{
    store_.SaveSetting(kSettings, kUserKey, kUserPrefix + user + QLatin1Char(';'));
    return store_.lastWriteOk();
}

bool CallbookLogin::store(const QString& user, const QString& password)
{
    store_.SaveSetting(kSettings, kUserKey, kUserPrefix + user + QLatin1Char(';'));
    const bool userKept = store_.lastWriteOk();
    return keep(qrzSecret(), password) && userKept;
}

QString CallbookLogin::sessionKeyText() const { return store_.GetSetting(kSettings, kSessionKey); }

void CallbookLogin::storeSessionKeyText(const QString& keyText) { store_.SaveSetting(kSettings, kSessionKey, keyText); }

bool CallbookLogin::dontAskAtStart() const { return store_.GetSetting(kSettings, kDontAskKey) == QLatin1String("1"); }

void CallbookLogin::setDontAskAtStart(bool dontAsk)
{
    store_.SaveSetting(kSettings, kDontAskKey, dontAsk ? QStringLiteral("1") : QStringLiteral("0"));
}

QString CallbookLogin::xmlServerSetting() const { return store_.GetSetting(kServers, QStringLiteral("QrzXml")); }

QString CallbookLogin::webServerSetting() const { return store_.GetSetting(kServers, QStringLiteral("QrzWeb")); }

QString CallbookLogin::hamQthServerSetting() const { return store_.GetSetting(kServers, QStringLiteral("HamQth")); }

QString CallbookLogin::hamQthUser() const { return store_.GetSetting(kSettings, kHamQthUserKey); }

QString CallbookLogin::hamQthPassword() const { return passwordOf(hamQthSecret()); }

bool CallbookLogin::hamQthIsSetUp() const { return !hamQthUser().isEmpty() && passwordStored(hamQthSecret()); }

bool CallbookLogin::storeHamQth(const QString& user, const QString& password)
{
    store_.SaveSetting(kSettings, kHamQthUserKey, user);
    const bool userKept = store_.lastWriteOk();
    return keep(hamQthSecret(), password) && userKept;
}

QString CallbookLogin::passwordPlace() const
{
    switch (vault_ ? vault_->place() : PasswordVault::Place::SettingsFile) {
    case PasswordVault::Place::Keyring:
        return QStringLiteral("Passwords are kept in the desktop's keyring.");
    case PasswordVault::Place::Unknown:
        return QStringLiteral("Passwords go to the desktop's keyring once it answers, else to the settings file.");
    case PasswordVault::Place::SettingsFile:
        break;
    }
    return vault_ ? QStringLiteral("No keyring answered: passwords are kept in the settings file, readable by you alone.")
                  : QStringLiteral("Passwords are kept in the settings file, readable by you alone.");
}
