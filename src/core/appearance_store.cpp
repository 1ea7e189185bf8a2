#include "appearance_store.h"
#include "settings_sections.h"

#include "settings_store.h"

namespace {

QString section(AppearanceStore::Group g)
{
    switch (g) {
    case AppearanceStore::Group::Screen: return SettingsSections::kScreen;
    case AppearanceStore::Group::Form: return SettingsSections::kForm;
    case AppearanceStore::Group::FormData: return SettingsSections::kFormData;
    case AppearanceStore::Group::Print: break;
    }
    return SettingsSections::kPrint;
}

QString colourKey(AppearanceStore::Group g, AppearanceStore::Colour c)
{
    switch (c) {
    case AppearanceStore::Colour::Text:
        return g == AppearanceStore::Group::FormData ? QStringLiteral("FontColor") : QStringLiteral("FGColor");
    case AppearanceStore::Colour::Background: return QStringLiteral("BGColor");
    case AppearanceStore::Colour::Line: break;
    }
    return QStringLiteral("LineColor");
}

}  // namespace

AppearanceStore::AppearanceStore(SettingsStore& store) : store_(store) {}

AppearanceStore::Font AppearanceStore::font(Group group) const
{
    const QString s = section(group);
    Font f;
    f.family = store_.GetSetting(s, QStringLiteral("Font"));
    f.bold = SettingValue::toBool(store_.GetSetting(s, QStringLiteral("Bold")));
    f.italic = SettingValue::toBool(store_.GetSetting(s, QStringLiteral("Italic")));
    f.size = SettingValue::toSize(store_.GetSetting(s, QStringLiteral("Size")));
    return f;
}

void AppearanceStore::saveFont(Group group, const QString& family, bool bold, bool italic, double size)
{
    const QString s = section(group);
    store_.SaveSetting(s, QStringLiteral("Font"), family);
    store_.SaveSetting(s, QStringLiteral("Bold"), SettingValue::fromBool(bold));
    store_.SaveSetting(s, QStringLiteral("Italic"), SettingValue::fromBool(italic));
    saveSize(group, size);
}

void AppearanceStore::saveSize(Group group, double size)
{
    store_.SaveSetting(section(group), QStringLiteral("Size"), SettingValue::fromSize(float(size)));
}

std::optional<quint32> AppearanceStore::colour(Group group, Colour which) const
{
    return SettingValue::toColour(store_.GetSetting(section(group), colourKey(group, which)));
}

bool AppearanceStore::hasColour(Group group, Colour which) const
{
    return !store_.GetSetting(section(group), colourKey(group, which)).isEmpty();
}

void AppearanceStore::saveColour(Group group, Colour which, quint32 rgb)
{
    // Written as "FGCOLOR" and "BGCOLOR" from the start; reading ignores case.
    QString key = colourKey(group, which);
    if (key.endsWith(QLatin1String("GColor")))
        key = key.toUpper();
    store_.SaveSetting(section(group), key, SettingValue::fromColour(rgb & 0xFFFFFF));
}

AppearanceStore::PreambleValues AppearanceStore::preambleStored() const
{
    const QString s = QStringLiteral("Preamble");
    auto has = [&](const char* key) { return !store_.GetSetting(s, QLatin1String(key)).isEmpty(); };
    return {has("FontName"), has("Bold"), has("FontItalic"), has("FontSize")};
}
