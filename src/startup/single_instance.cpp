#include "single_instance.h"

#include "platform/prompts.h"
#include "startup_sequence.h"

#include <QLockFile>

SingleInstance::SingleInstance(const QString& lockFile) : lock_(std::make_unique<QLockFile>(lockFile))
{
    // The lock is held for the whole run: its age says nothing, only a dead
    // owner makes it stale.
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Outcome SingleInstance::acquire()
{
    if (lock_->isLocked() || lock_->tryLock(0))
        return Outcome::Acquired;
    return lock_->error() == QLockFile::LockFailedError ? Outcome::HeldByAnother : Outcome::Unavailable;
}

bool AcquireSingleInstance(SingleInstance& guard, Prompts& prompts)
{
    if (guard.acquire() != SingleInstance::Outcome::HeldByAnother)
        return true;
    prompts.message(Startup::kSecondCopyRefused, Prompts::Icon::Exclamation);
    return false;
}
