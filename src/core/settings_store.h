#pragma once

#include <QString>
#include <memory>
#include <optional>

class QSettings;

// The per-user settings store of application "VELN": section, key, text value.
// Section and key names are case-insensitive: the spelling first written is
// kept in the file and every other spelling finds it.
class SettingsStore {
public:
    // Opens (and creates, mode 0600) the store file at iniPath.
    explicit SettingsStore(const QString& iniPath);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    QString GetSetting(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    void SaveSetting(const QString& section, const QString& key, const QString& value);
    void DeleteSetting(const QString& section, const QString& key);

    QString fileName() const;
    // False when the last write could not be stored.
    bool lastWriteOk() const { return lastWriteOk_; }

private:
    struct Location {
        QString group;
        QString key;
        bool exists = false;
    };
    Location locate(const QString& section, const QString& key) const;
    void persist();

    std::unique_ptr<QSettings> settings_;
    bool lastWriteOk_ = true;
};

// Value forms of the store.
namespace SettingValue {
// "True"/"False" in any case; a number is true when it is not 0. Anything else
// (the empty text included) gives nothing.
std::optional<bool> toBool(const QString& text);
QString fromBool(bool value);  // "True" / "False"
// Decimal digits with an optional leading "-".
std::optional<int> toInt(const QString& text);
// Stored as the decimal text of 0x00BBGGRR (red in the low byte); handed
// over as 0x00RRGGBB, the order QColor(QRgb) takes.
std::optional<quint32> toColour(const QString& text);
QString fromColour(quint32 rgb);
// Shortest decimal text of a single-precision number ("9.75", "12").
std::optional<float> toSize(const QString& text);
QString fromSize(float size);
}  // namespace SettingValue

// Removes the "Settings" keys written by earlier releases.
void CleanUpEarlierReleaseKeys(SettingsStore& store);
