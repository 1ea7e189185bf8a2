#pragma once

#include <QString>

class SettingsStore;

// The stored callbook logins and their companions, the one place that knows
// their keys: QRZ user and password (kept with the query prefixes earlier
// releases wrote), the HamQTH user and password, the last QRZ session key, the start-up question's "do not ask
// again", and the service addresses of the "Servers" section.
class CallbookLogin {
public:
    explicit CallbookLogin(SettingsStore& store);

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
    SettingsStore& store_;
};
