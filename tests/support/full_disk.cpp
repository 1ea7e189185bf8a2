#include "full_disk.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

FullDisk::FullDisk()
{
    if (!dir_.isValid()) {
        why_ = QStringLiteral("no temporary folder for the full-disk test");
        return;
    }
    folder_ = dir_.path() + QStringLiteral("/disk");
    QDir().mkpath(folder_);
    if (geteuid() == 0 && mount("tmpfs", QFile::encodeName(folder_).constData(), "tmpfs", 0, "size=64k") == 0) {
        mode_ = Mode::Tmpfs;
        return;
    }
    const QString mountError = QString::fromLocal8Bit(strerror(errno));
#ifdef RLIMIT_FSIZE
    mode_ = Mode::SizeLimit;
#else
    why_ = QStringLiteral("full-disk test skipped: no tmpfs (%1) and no file-size limit here").arg(mountError);
#endif
}

FullDisk::~FullDisk()
{
    if (mode_ == Mode::Tmpfs)
        umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
}

void FullDisk::fill()
{
    if (mode_ != Mode::Tmpfs)
        return;
    QFile filler(folder_ + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(512, 'f');
    while (filler.write(block) == block.size()) {
    }
}

QString FullDisk::attempt(const std::function<QString()>& work, qint64 sizeLimit)
{
    if (mode_ != Mode::SizeLimit)
        return work();

    int fds[2];
    if (pipe(fds) != 0)
        return QStringLiteral("(no pipe to the child)");
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails with EFBIG instead
        const rlimit limit{rlim_t(sizeLimit), rlim_t(sizeLimit)};
        setrlimit(RLIMIT_FSIZE, &limit);
        const QByteArray answer = work().toUtf8();
        qsizetype done = 0;
        while (done < answer.size()) {
            const ssize_t n = write(fds[1], answer.constData() + done, size_t(answer.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
        _exit(0);
    }
    close(fds[1]);
    QByteArray answer;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
        answer.append(buffer, n);
    close(fds[0]);
    if (child > 0)
        waitpid(child, nullptr, 0);
    else
        return QStringLiteral("(no child process)");
    return QString::fromUtf8(answer);
}
