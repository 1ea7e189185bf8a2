#include "single_instance.h"

#include "core/safe_write.h"
#include "platform/prompts.h"
#include "startup_sequence.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
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

// One line each way: the request, and the holder's answer once it raised.
const QByteArray kRaise = QByteArrayLiteral("raise\n");
const QByteArray kRaised = QByteArrayLiteral("raised\n");
}  // namespace

SingleInstance::SingleInstance(const QString& lockFile)
    : path_(lockFile), lock_(std::make_unique<QLockFile>(lockFile))
{
    // The lock is held for the whole run: its age says nothing, only a dead
    // owner makes it stale.
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

// Beside the lock file, so each data root has its own.
static QString socketPath(const QString& lockFile) { return lockFile + QStringLiteral(".socket"); }

bool SingleInstance::listen()
{
    if (server_)
        return server_->isListening();
    if (!lock_->isLocked())
        return false;
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Only the lock holder gets here, so a socket file left is a dead copy's.
    QLocalServer::removeServer(socketPath(path_));
    if (!server_->listen(socketPath(path_)))
        return false;
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
                if (!client->canReadLine()) {
                    if (client->bytesAvailable() > kRaise.size())
                        client->abort();  // not one of ours
                    return;
                }
                if (client->readLine() != kRaise) {
                    client->abort();
                    return;
                }
                if (raise_)
                    raise_();
                client->write(kRaised);
                client->disconnectFromServer();
            });
        }
    });
    return true;
}

bool SingleInstance::askHolderToRaise(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(socketPath(path_));
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return false;
    socket.write(kRaise);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
        return false;
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    handedOver_ = socket.readLine() == kRaised;
    return handedOver_;
}

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
        guard.listen();
        return true;
    case SingleInstance::Outcome::HeldByAnother:
        if (!guard.askHolderToRaise())
            prompts.message(Startup::kSecondCopyRefused, Prompts::Icon::Exclamation);
        return false;
    case SingleInstance::Outcome::Unavailable:
        break;
    }
    prompts.message(guard.error() + QStringLiteral("\r\n") + Startup::kNotStartedUnguarded, Prompts::Icon::Critical);
    return false;
}
