#pragma once

#include <QString>
#include <memory>

class QLockFile;
class Prompts;

// Keeps a second copy of the program from running beside the first, so two
// windows never write the same member file. The lock file's folder (the data
// root) is made first, so even two first starts exclude each other. A lock
// left by a copy that crashed is taken over, even one left empty or cut
// short by a full disk.
class SingleInstance {
public:
    enum class Outcome {
        Acquired,       // this copy runs alone
        HeldByAnother,  // another running copy holds the lock
        Unavailable,    // the lock file cannot be made: do not run unguarded
    };

    explicit SingleInstance(const QString& lockFile);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Outcome acquire();
    // Why the lock is unavailable: names the file and the reason.
    QString error() const { return error_; }

private:
    QString path_;
    QString error_;
    std::unique_ptr<QLockFile> lock_;
};

// Acquires the lock; when another copy holds it or it cannot be made, says so
// through prompts and returns false: the caller ends the program.
bool AcquireSingleInstance(SingleInstance& guard, Prompts& prompts);
