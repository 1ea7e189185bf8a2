#pragma once

#include "platform/keyring.h"

#include <QHash>
#include <QList>
#include <QTimer>

// A keyring in memory. Answering: replies from the event loop, as a
// running keyring does. Failing: no keyring (every call Failed). Silent:
// calls wait until release(), as a locked keyring behind an unanswered
// prompt does.
class FakeKeyring : public Keyring {
public:
    enum class Mode { Answering, Failing, Silent };
    Mode mode = Mode::Answering;
    QHash<QString, QString> secrets;
    int reads = 0;
    int writes = 0;

    void read(const QString& key, Then then) override
    {
        ++reads;
        queue([this, key] {
            if (!secrets.contains(key))
                return Answer{Outcome::NotFound, {}, {}};
            return Answer{Outcome::Done, secrets.value(key), {}};
        }, std::move(then));
    }
    void write(const QString& key, const QString& value, Then then) override
    {
        ++writes;
        queue([this, key, value] {
            secrets.insert(key, value);
            return Answer{Outcome::Done, {}, {}};
        }, std::move(then));
    }
    // Answers the calls held while silent, in the mode set now.
    void release()
    {
        const auto held = std::move(held_);
        held_.clear();
        for (const auto& call : held)
            call();
    }

private:
    void queue(std::function<Answer()> work, Then then)
    {
        auto call = [this, work = std::move(work), then = std::move(then)] {
            if (mode == Mode::Failing)
                then({Outcome::Failed, {}, QStringLiteral("No keyring")});
            else
                then(work());
        };
        if (mode == Mode::Silent)
            held_.append(call);
        else
            QTimer::singleShot(0, call);
    }
    QList<std::function<void()>> held_;
};
