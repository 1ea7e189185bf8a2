#pragma once

#include <QString>
#include <memory>

class QLockFile;
class Prompts;

// Keeps a second copy of the program from running beside the first, so two
// windows never write the same member file. A lock left by a copy that
// crashed is taken over.
class SingleInstance {
public:
    enum class Outcome {
        Acquired,       // this copy runs alone
        HeldByAnother,  // another running copy holds the lock
        Unavailable,    // the lock file cannot be made (no data root yet); run unguarded
    };

    explicit SingleInstance(const QString& lockFile);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Outcome acquire();

private:
    std::unique_ptr<QLockFile> lock_;
};

// Acquires the lock; when another copy holds it, says so through prompts and
// returns false: the caller ends the program.
bool AcquireSingleInstance(SingleInstance& guard, Prompts& prompts);
