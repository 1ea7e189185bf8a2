#pragma once

#include <QString>
#include <functional>

// The desktop's keyring: secrets by key, kept under the program's name.
// Every call returns at once and answers once, later, from the event loop
// (or never, when the keyring waits on a prompt nobody answers).
class Keyring {
public:
    enum class Outcome {
        Done,      // read: the secret is in value; write: kept
        NotFound,  // the keyring answered and holds no such secret
        Failed,    // no keyring, access refused, or another fault: see error
    };
    struct Answer {
        Outcome outcome = Outcome::Failed;
        QString value;
        QString error;
    };
    using Then = std::function<void(const Answer&)>;

    virtual ~Keyring() = default;
    virtual void read(const QString& key, Then then) = 0;
    virtual void write(const QString& key, const QString& value, Then then) = 0;
};
