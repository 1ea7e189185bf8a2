#pragma once

#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;
class Prompts;

// Keeps a second copy of the program from running beside the first, so two
// windows never write the same member file. The lock file's folder (the data
// root) is made first, so even two first starts exclude each other. A lock
// left by a copy that crashed is taken over, even one left empty or cut
// short by a full disk.
// The copy that holds the lock listens on a local socket beside it, so a
// second start asks it to raise its window instead of only being refused.
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

    // What the holder does when a second start asks it to show itself.
    void onRaiseAsked(std::function<void()> raise) { raise_ = std::move(raise); }
    // The holder: starts answering second starts (on the event loop). False
    // when the socket cannot be made; the lock still guards alone.
    bool listen();
    // A second start: asks the holder to raise its window. True once the
    // holder has answered, within timeoutMs.
    bool askHolderToRaise(int timeoutMs = kAnswerMs);
    // The holder answered a request of this copy: it ends quietly.
    bool handedOver() const { return handedOver_; }

    static constexpr int kAnswerMs = 1000;

private:
    QString path_;
    QString error_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
    std::function<void()> raise_;
    bool handedOver_ = false;
};

// Acquires the lock and listens for second starts. When another copy holds
// it, asks that copy to raise its window; only when it does not answer, or
// the lock cannot be made, says so through prompts. False: the caller ends
// the program, quietly (status 0) when handedOver().
bool AcquireSingleInstance(SingleInstance& guard, Prompts& prompts);
