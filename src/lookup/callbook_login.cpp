#include "callbook_login.h"

#include "core/settings_store.h"

#include <QUrl>

namespace {
const QString kSettings = QStringLiteral("Settings");
const QString kServers = QStringLiteral("Servers");
const QString kUserKey = QStringLiteral("QRZ ID");
const QString kPasswordKey = QStringLiteral("QRZ PW");
const QString kSessionKey = QStringLiteral("QRZ Key");
const QString kHamQthUserKey = QStringLiteral("HamQTH ID");
const QString kHamQthPasswordKey = QStringLiteral("HamQTH PW");
const QString kDontAskKey = QStringLiteral("chkNoShow");
const QString kUserPrefix = QStringLiteral("username=");
const QString kPasswordPrefix = QStringLiteral("password=");

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

CallbookLogin::CallbookLogin(SettingsStore& store) : store_(store) {}

QString CallbookLogin::user() const
{
    return stripped(store_.GetSetting(kSettings, kUserKey), kUserPrefix, QStringLiteral(";"));
}

QString CallbookLogin::password() const { return stripped(store_.GetSetting(kSettings, kPasswordKey), kPasswordPrefix); }

QString CallbookLogin::loginQuery() const
{
    const auto encoded = [](const QString& value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); };
    return kUserPrefix + encoded(user()) + QLatin1Char(';') + kPasswordPrefix + encoded(password());
}

bool CallbookLogin::isSetUp() const { return !store_.GetSetting(kSettings, kPasswordKey).isEmpty(); }

bool CallbookLogin::storeUser(const QString& user)
{
    store_.SaveSetting(kSettings, kUserKey, kUserPrefix + user + QLatin1Char(';'));
    return store_.lastWriteOk();
}

bool CallbookLogin::store(const QString& user, const QString& password)
{
    store_.SaveSetting(kSettings, kUserKey, kUserPrefix + user + QLatin1Char(';'));
    store_.SaveSetting(kSettings, kPasswordKey, kPasswordPrefix + password);
    return store_.lastWriteOk();
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

QString CallbookLogin::hamQthPassword() const { return store_.GetSetting(kSettings, kHamQthPasswordKey); }

bool CallbookLogin::hamQthIsSetUp() const { return !hamQthUser().isEmpty() && !hamQthPassword().isEmpty(); }

bool CallbookLogin::storeHamQth(const QString& user, const QString& password)
{
    store_.SaveSetting(kSettings, kHamQthUserKey, user);
    store_.SaveSetting(kSettings, kHamQthPasswordKey, password);
    return store_.lastWriteOk();
}

QString CallbookLogin::passwordPlace() const
{
    return QStringLiteral("Passwords are kept in the settings file, readable by you alone.");
}
