#include "single_instance.h"

#include "core/safe_write.h"
#include "platform/prompts.h"
#include "startup_sequence.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// A running copy holds an flock on its lock file for the whole run. A file
// nobody holds, written more than a moment ago, is left by a copy that
// ended without removing it: even one cut short by a full disk, whose owner
// Qt cannot read and would otherwise trust for ever.
bool heldByNobody(const QString& path)
{
    const QDateTime written = QFileInfo(path).lastModified();
    if (!written.isValid() || written.secsTo(QDateTime::currentDateTime()) < 2)
        return false;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);  // lets the flock go again
    return free;
}

}  // namespace

SingleInstance::SingleInstance(const QString& lockFile)
    : path_(lockFile), lock_(std::make_unique<QLockFile>(lockFile))
{
    // The lock is held for the whole run: its age says nothing, only a dead
    // owner makes it stale.
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Outcome SingleInstance::acquire()
{
    if (lock_->isLocked())
        return Outcome::Acquired;
    error_.clear();
    QString reason;
    if (!MakeFolder(QFileInfo(path_).absolutePath(), &reason)) {
        error_ = QStringLiteral("The lock file %1 cannot be made: %2").arg(QDir::toNativeSeparators(path_), reason);
        return Outcome::Unavailable;
    }
    if (lock_->tryLock(0))
        return Outcome::Acquired;
    if (lock_->error() == QLockFile::LockFailedError && heldByNobody(path_)) {
        QFile::remove(path_);
        if (lock_->tryLock(0))
            return Outcome::Acquired;
    }
    switch (lock_->error()) {
    case QLockFile::LockFailedError:
        return Outcome::HeldByAnother;
    case QLockFile::PermissionError:
        reason = QStringLiteral("Permission denied");
        break;
    default:
        reason = QStringLiteral("it cannot be written (is the disk full?)");
        break;
    }
    error_ = QStringLiteral("The lock file %1 cannot be made: %2").arg(QDir::toNativeSeparators(path_), reason);
    return Outcome::Unavailable;
}

bool AcquireSingleInstance(SingleInstance& guard, Prompts& prompts)
{
    switch (guard.acquire()) {
    case SingleInstance::Outcome::Acquired:
        return true;
    case SingleInstance::Outcome::HeldByAnother:
        prompts.message(Startup::kSecondCopyRefused, Prompts::Icon::Exclamation);
        return false;
    case SingleInstance::Outcome::Unavailable:
        break;
    }
    prompts.message(guard.error() + QStringLiteral("\r\n") + Startup::kNotStartedUnguarded, Prompts::Icon::Critical);
    return false;
}
