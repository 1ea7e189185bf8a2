#pragma once

class SettingsStore;

// The Options menu's switches.
struct SessionOptions {
    bool disableEnterKeyDing = false;
    bool disableAutoInsert = false;  // no automatic check-in of the net control, suggestions, new members
    bool disableWindowFlash = false;
    bool speakStatus = false;  // each status text read aloud
    bool operator==(const SessionOptions&) const = default;
};

// The "Options" section's one owner. Loading writes "False" for a switch the
// store does not hold yet.
SessionOptions LoadSessionOptions(SettingsStore& store);
void SaveSessionOptions(SettingsStore& store, const SessionOptions& options);
