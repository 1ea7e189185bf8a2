#pragma once

#include <QString>
#include <optional>

class SettingsStore;

// The stored look, the one place that knows its sections and keys: fonts and
// colours of the lists and boxes ("Screen"), the window and its captions
// ("Form"), the figures ("FormData"), the printer font ("Print"), and which
// preamble font values were ever stored ("Preamble").
class AppearanceStore {
public:
    enum class Group { Screen, Form, FormData, Print };
    enum class Colour { Text, Background, Line };

    struct Font {
        QString family;  // empty: none stored
        std::optional<bool> bold;
        std::optional<bool> italic;
        std::optional<float> size;
    };

    explicit AppearanceStore(SettingsStore& store);

    Font font(Group group) const;
    void saveFont(Group group, const QString& family, bool bold, bool italic, double size);
    // Only the size, as the Format menu's list font keeps it.
    void saveSize(Group group, double size);

    // 0x00RRGGBB; nothing when none is stored or the value is damaged.
    std::optional<quint32> colour(Group group, Colour which) const;
    bool hasColour(Group group, Colour which) const;
    void saveColour(Group group, Colour which, quint32 rgb);

    struct PreambleValues {
        bool fontName = false;
        bool bold = false;
        bool italic = false;
        bool size = false;
    };
    PreambleValues preambleStored() const;

private:
    SettingsStore& store_;
};
