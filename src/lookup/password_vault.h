#pragma once

#include "platform/keyring.h"

#include <QHash>
#include <QObject>
#include <chrono>
#include <functional>
#include <optional>

// The callbook passwords the desktop's keyring keeps, held in memory for the
// run. Nothing here waits: a keyring that has not answered in time counts as
// failed and its late answer is dropped, so a locked keyring whose prompt
// nobody answers never holds the program up.
class PasswordVault : public QObject {
    Q_OBJECT
public:
    // Where a password stored now goes: the keyring once it has answered,
    // the settings file once it failed or stayed silent, Unknown before.
    enum class Place { Unknown, Keyring, SettingsFile };

    explicit PasswordVault(Keyring& keyring, std::chrono::milliseconds answerWithin = std::chrono::seconds(10),
                           QObject* parent = nullptr);

    Place place() const { return place_; }
    // The password as last read or written; nothing while unread or on its way.
    std::optional<QString> password(const QString& key) const;
    // Starts a read unless the password is known or a read is on its way.
    void read(const QString& key);
    // Holds the value at once (lookups use it from now on) and writes it;
    // then(true) once the keyring keeps it, then(false) when it did not.
    void write(const QString& key, const QString& value, std::function<void(bool kept)> then);
    // Drops what is held for the key: the settings file has the password now.
    void forget(const QString& key) { entries_.remove(key); }
    // The program ends: every question the keyring has not answered yet
    // counts as failed now, so a password on its way there goes to the
    // settings file instead of being lost.
    void settleWaiting();

private:
    enum class State { Unread, Reading, Known, Missing };
    struct Entry {
        State state = State::Unread;
        QString value;
    };
    // Runs `call` with a callback that answers once: the keyring's answer,
    // or Failed when time runs out first.
    void ask(const std::function<void(Keyring::Then)>& call, Keyring::Then answered);
    void heardFrom(Keyring::Outcome outcome);

    Keyring& keyring_;
    std::chrono::milliseconds answerWithin_;
    Place place_ = Place::Unknown;
    QHash<QString, Entry> entries_;
    QHash<int, Keyring::Then> unsettled_;  // questions without an answer yet
    int nextQuestion_ = 0;
};
