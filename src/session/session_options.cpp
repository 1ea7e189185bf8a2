#include "session_options.h"

#include "core/settings_store.h"

namespace {
const QString kOptions = QStringLiteral("Options");

struct Switch {
    const char* key;
    bool SessionOptions::*value;
};
const Switch kSwitches[] = {
    {"Disable_AI", &SessionOptions::disableAutoInsert},
    {"Disable_EnterKeyDing", &SessionOptions::disableEnterKeyDing},
    {"Disable_WindowFlash", &SessionOptions::disableWindowFlash},
    {"Speak_Status", &SessionOptions::speakStatus},
};
}  // namespace

SessionOptions LoadSessionOptions(SettingsStore& store)
{
    SessionOptions options;
    for (const Switch& s : kSwitches) {
        const QString value = store.GetSetting(kOptions, QLatin1String(s.key));
        if (!value.isEmpty())
            options.*s.value = SettingValue::toBool(value).value_or(false);
        else
            store.SaveSetting(kOptions, QLatin1String(s.key), SettingValue::fromBool(false));
    }
    return options;
}

void SaveSessionOptions(SettingsStore& store, const SessionOptions& options)
{
    for (const Switch& s : kSwitches)
        store.SaveSetting(kOptions, QLatin1String(s.key), SettingValue::fromBool(options.*s.value));
}
