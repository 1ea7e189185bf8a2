#include "settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <charconv>
#include <cmath>

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// QSettings treats '/' and '\' as group separators; names of this program
// never hold them, and a stray one must not open a hidden sub-group.
QString plain(const QString& name)
{
    QString s = name;
    s.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return s;
}

}  // namespace

SettingsStore::SettingsStore(const QString& iniPath)
{
    QDir().mkpath(QFileInfo(iniPath).absolutePath());
    QFile file(iniPath);
    if (!file.exists() && file.open(QIODevice::WriteOnly))
        file.close();
    QFile::setPermissions(iniPath, kOwnerOnly);
    settings_ = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::fileName() const { return settings_->fileName(); }

SettingsStore::Location SettingsStore::locate(const QString& section, const QString& key) const
{
    Location loc{plain(section), plain(key), false};
    const QStringList groups = settings_->childGroups();
    for (const QString& g : groups) {
        if (g.compare(loc.group, Qt::CaseInsensitive) == 0) {
            loc.group = g;
            settings_->beginGroup(g);
            const QStringList keys = settings_->childKeys();
            settings_->endGroup();
            for (const QString& k : keys) {
                if (k.compare(loc.key, Qt::CaseInsensitive) == 0) {
                    loc.key = k;
                    loc.exists = true;
                    break;
                }
            }
            break;
        }
    }
    return loc;
}

QString SettingsStore::GetSetting(const QString& section, const QString& key, const QString& defaultValue) const
{
    const Location loc = locate(section, key);
    if (!loc.exists)
        return defaultValue;
    return settings_->value(loc.group + QLatin1Char('/') + loc.key).toString();
}

void SettingsStore::SaveSetting(const QString& section, const QString& key, const QString& value)
{
    const Location loc = locate(section, key);
    settings_->setValue(loc.group + QLatin1Char('/') + loc.key, value);
    persist();
}

void SettingsStore::DeleteSetting(const QString& section, const QString& key)
{
    const Location loc = locate(section, key);
    if (!loc.exists)
        return;
    settings_->remove(loc.group + QLatin1Char('/') + loc.key);
    persist();
}

void SettingsStore::persist()
{
    // Written at once, so a crash later in the run loses nothing.
    settings_->sync();
    lastWriteOk_ = settings_->status() == QSettings::NoError;
    QFile::setPermissions(settings_->fileName(), kOwnerOnly);
}

namespace SettingValue {

std::optional<bool> toBool(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (ok)
        return v != 0.0;
    return std::nullopt;
}

QString fromBool(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

std::optional<int> toInt(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (!(c.isDigit() && c.unicode() < 128) && !(i == 0 && c == QLatin1Char('-')))
            return std::nullopt;
    }
    bool ok = false;
    const int v = t.toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

namespace {
quint32 swapRedBlue(quint32 v) { return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF); }
}  // namespace

std::optional<quint32> toColour(const QString& text)
{
    const auto v = toInt(text);
    if (!v || *v < 0 || *v > 0xFFFFFF)
        return std::nullopt;
    return swapRedBlue(quint32(*v));
}

QString fromColour(quint32 rgb) { return QString::number(swapRedBlue(rgb & 0xFFFFFF)); }

std::optional<float> toSize(const QString& text)
{
    bool ok = false;
    const float v = text.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString fromSize(float size)
{
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, size);
    return QString::fromLatin1(buf, res.ptr - buf);
}

}  // namespace SettingValue

void CleanUpEarlierReleaseKeys(SettingsStore& store)
{
    const QString section = QStringLiteral("Settings");
    if (!store.GetSetting(section, QStringLiteral("Top")).isEmpty()) {
        for (const char* key : {"Top", "Height", "Left", "Width"})
            store.DeleteSetting(section, QLatin1String(key));
    }
    if (!store.GetSetting(section, QStringLiteral("AutoInsertChecked")).isEmpty()) {
        for (const char* key : {"AutoInsertChecked", "AutoInsertEnabled", "DisableDing", "DisableWindowFlash"})
            store.DeleteSetting(section, QLatin1String(key));
    }
}
