#include "password_vault.h"

#include <QPointer>
#include <QTimer>
#include <memory>

PasswordVault::PasswordVault(Keyring& keyring, std::chrono::milliseconds answerWithin, QObject* parent)
    : QObject(parent), keyring_(keyring), answerWithin_(answerWithin)
{
}

std::optional<QString> PasswordVault::password(const QString& key) const
{
    const auto it = entries_.constFind(key);
    if (it == entries_.cend() || it->state != State::Known)
        return std::nullopt;
    return it->value;
}

void PasswordVault::ask(const std::function<void(Keyring::Then)>& call, Keyring::Then answered)
{
    auto settled = std::make_shared<bool>(false);
    const QPointer<PasswordVault> self(this);
    const int question = nextQuestion_++;
    auto once = [self, settled, question, answered = std::move(answered)](const Keyring::Answer& answer) {
        if (*settled || !self)
            return;
        *settled = true;
        self->unsettled_.remove(question);
        answered(answer);
    };
    unsettled_.insert(question, once);
    QTimer::singleShot(answerWithin_, this, [once] {
        once({Keyring::Outcome::Failed, {}, QStringLiteral("The keyring did not answer in time")});
    });
    call(once);
}

void PasswordVault::heardFrom(Keyring::Outcome outcome)
{
    place_ = outcome == Keyring::Outcome::Failed ? Place::SettingsFile : Place::Keyring;
}

void PasswordVault::read(const QString& key)
{
    Entry& entry = entries_[key];
    if (entry.state == State::Known || entry.state == State::Reading)
        return;
    entry.state = State::Reading;
    ask([this, key](Keyring::Then then) { keyring_.read(key, std::move(then)); },
        [this, key](const Keyring::Answer& answer) {
            Entry& e = entries_[key];
            if (e.state == State::Reading) {  // a write meanwhile has the newer value
                e.state = answer.outcome == Keyring::Outcome::Done       ? State::Known
                          : answer.outcome == Keyring::Outcome::NotFound ? State::Missing
                                                                         : State::Unread;
                e.value = answer.value;
            }
            heardFrom(answer.outcome);
        });
}

void PasswordVault::write(const QString& key, const QString& value, std::function<void(bool kept)> then)
{
    entries_[key] = Entry{State::Known, value};
    ask([this, key, value](Keyring::Then done) { keyring_.write(key, value, std::move(done)); },
        [this, then = std::move(then)](const Keyring::Answer& answer) {
            heardFrom(answer.outcome);
            if (then)
                then(answer.outcome == Keyring::Outcome::Done);
        });
}

void PasswordVault::settleWaiting()
{
    const QList<Keyring::Then> waiting = unsettled_.values();
    for (const Keyring::Then& then : waiting)
        then({Keyring::Outcome::Failed, {}, QStringLiteral("The program ended before the keyring answered")});
}
