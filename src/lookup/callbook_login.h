#pragma once

#include <QString>

class PasswordVault;
class SettingsStore;

// The stored callbook logins and their companions, the one place that knows
// their keys: QRZ user and password (kept with the query prefixes earlier
// releases wrote), the HamQTH user and password, the last QRZ session key, the start-up question's "do not ask
// again", and the service addresses of the "Servers" section. With a vault
// in use the passwords live in the desktop's keyring, and the settings file
// keeps only a mark saying so; a password the keyring does not take stays in
// the settings file as before.
class CallbookLogin {
public:
    explicit CallbookLogin(SettingsStore& store);

    // The run's keyring; none: passwords stay in the settings file.
    static void useVault(PasswordVault* vault) { vault_ = vault; }
    // The program's one vault, for the other passwords it keeps.
    static PasswordVault* vaultInUse() { return vault_; }
    // At start: reads the passwords the keyring keeps and moves those still
    // in the settings file there. Returns at once.
    void openKeyring();

    enum class Service { Qrz, HamQth };
    // The keyring keeps the service's password but has not given it yet (it
    // is locked or slow): asks again and says true.
    bool passwordWaiting(Service service);

    // The bare values, without their stored prefixes.
    QString user() const;
    QString password() const;
    // "username=" + user + ";password=" + password, both URL-encoded: the
    // login request's query, in the form the stored values were kept.
    QString loginQuery() const;
    // A password is stored: lookups go to the service, not the browser.
    bool isSetUp() const;
    // Stores both; false when the settings file could not be written.
    bool store(const QString& user, const QString& password);
    // Stores the user alone (the dialog keeps it when the password is missing).
    bool storeUser(const QString& user);

    // The HamQTH login, kept as typed.
    QString hamQthUser() const;
    QString hamQthPassword() const;
    bool hamQthIsSetUp() const;
    bool storeHamQth(const QString& user, const QString& password);
    // Where the passwords are kept, in the login dialog's words.
    QString passwordPlace() const;
    // Some callbook has a login: lookups go to the services.
    bool anySetUp() const { return isSetUp() || hamQthIsSetUp(); }

    // "s=" + key + ";" as last stored.
    QString sessionKeyText() const;
    void storeSessionKeyText(const QString& keyText);

    bool dontAskAtStart() const;
    void setDontAskAtStart(bool dontAsk);

    // The settings' addresses, or empty for the defaults.
    QString xmlServerSetting() const;
    QString webServerSetting() const;
    QString hamQthServerSetting() const;

private:
    struct Secret;
    static const Secret& qrzSecret();
    static const Secret& hamQthSecret();
    QString passwordOf(const Secret& secret) const;
    bool passwordStored(const Secret& secret) const;
    bool inKeyring(const Secret& secret) const;
    bool keep(const Secret& secret, const QString& password);

    static inline PasswordVault* vault_ = nullptr;
    SettingsStore& store_;
};
