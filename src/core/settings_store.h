#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <optional>

// One section of the settings file: its name and its keys with their values,
// names spelt as first written.
struct SettingsSection {
    QString name;
    QList<QPair<QString, QString>> values;
};

// The settings file's text in the INI form QSettings reads: every value
// quoted, so commas, blanks and quotes come back as they went in.
QByteArray ComposeSettingsIni(const QList<SettingsSection>& sections);

// The per-user settings store of application "VELN": section, key, text value.
// Section and key names are case-insensitive: the spelling first written is
// kept in the file and every other spelling finds it. QSettings reads the
// file once; every change is written at once through a temporary file that
// replaces it only when complete, so a full disk never empties it.
class SettingsStore {
public:
    // Opens (and creates, mode 0600) the store file at iniPath. An empty path
    // gives a scratch store that keeps its values in memory only.
    explicit SettingsStore(const QString& iniPath);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    QString GetSetting(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    void SaveSetting(const QString& section, const QString& key, const QString& value);
    void DeleteSetting(const QString& section, const QString& key);

    QString fileName() const { return path_; }
    // False when the last write could not be stored: the file and the store
    // then hold what they held before, and lastError() names the file and
    // the reason.
    bool lastWriteOk() const { return lastWriteOk_; }
    QString lastError() const { return lastError_; }

private:
    SettingsSection* findSection(const QString& section);
    const SettingsSection* findSection(const QString& section) const;
    bool persist(const QList<SettingsSection>& before);

    QString path_;
    QList<SettingsSection> sections_;
    bool lastWriteOk_ = true;
    QString lastError_;
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
