#include "safe_write.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {
constexpr qsizetype kHeadBytes = 64;

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// Qt loses the reason of a write that stopped short (a disk that filled up
// mid-write, a file-size limit): the system's own error number still has it.
QString reasonOf(const QFileDevice& file, int savedErrno)
{
    const QString said = file.errorString();
    if (!said.isEmpty() && said != QFile().errorString())
        return said;
    if (savedErrno != 0)
        return QString::fromLocal8Bit(std::strerror(savedErrno));
    return QStringLiteral("the write stopped short (is the disk full?)");
}
}  // namespace

SafeWriter::SafeWriter(const QString& path) : path_(path), file_(path) {}

void SafeWriter::fail(const QString& reason)
{
    if (failed())
        return;
    reason_ = reason.isEmpty() ? QStringLiteral("the write failed") : reason;
    error_ = QStringLiteral("Cannot write %1: %2").arg(shown(path_), reason_);
    if (file_.isOpen())
        file_.cancelWriting();
}

bool SafeWriter::open()
{
    if (!file_.open(QIODevice::WriteOnly)) {
        fail(file_.errorString());
        return false;
    }
    return true;
}

bool SafeWriter::usable()
{
    if (failed() || done_)
        return false;
    if (!file_.isOpen()) {
        fail(QStringLiteral("the file is not open"));
        return false;
    }
    return true;
}

bool SafeWriter::write(const QByteArray& bytes)
{
    if (!usable())
        return false;
    errno = 0;
    if (file_.write(bytes) != bytes.size()) {
        fail(reasonOf(file_, errno));
        return false;
    }
    if (head_.size() < kHeadBytes)
        head_ += bytes.left(kHeadBytes - head_.size());
    size_ += bytes.size();
    return true;
}

bool SafeWriter::commit()
{
    if (!usable())
        return false;
    // The check commit() leaves out: a full disk shows only here.
    errno = 0;
    if (!file_.flush() || file_.error() != QFileDevice::NoError) {
        fail(reasonOf(file_, errno));
        return false;
    }
    done_ = true;
    if (!file_.commit()) {
        reason_ = file_.errorString();
        error_ = QStringLiteral("Cannot write %1: %2").arg(shown(path_), reason_);
        return false;
    }
    return true;
}

void SafeWriter::cancel()
{
    if (file_.isOpen())
        file_.cancelWriting();
    done_ = true;
}

bool SafeWrite(const QString& path, const QByteArray& bytes, QString* error)
{
    SafeWriter writer(path);
    const bool ok = writer.open() && writer.write(bytes) && writer.commit();
    if (!ok && error)
        *error = writer.error();
    return ok;
}

bool MakeFolder(const QString& path, QString* reason)
{
    if (QFileInfo(path).isDir())
        return true;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(path).toStdString()), ec);
    if (!ec && QFileInfo(path).isDir())
        return true;
    if (reason)
        *reason = ec ? QString::fromLocal8Bit(ec.message()) : QStringLiteral("a file of that name is in the way");
    return false;
}

namespace {
// A name matching a pattern, then "." and the six letters or digits of a
// temporary file; six lower-case letters are a word someone chose ("backup").
bool isLeftoverOf(const QString& fileName, const QStringList& namePatterns)
{
    static const QRegularExpression tail(QStringLiteral("\\.([A-Za-z0-9]{6})$"));
    static const QRegularExpression word(QStringLiteral("^[a-z]{6}$"));
    const QRegularExpressionMatch m = tail.match(fileName);
    if (!m.hasMatch() || word.match(m.captured(1)).hasMatch())
        return false;
    const QString base = fileName.chopped(7);
    for (const QString& pattern : namePatterns)
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern)).match(base).hasMatch())
            return true;
    return false;
}

bool isPlainFile(const QFileInfo& info) { return info.isFile() && !info.isSymLink(); }
}  // namespace

QStringList RemoveWriteLeftovers(const QString& folder, const QStringList& namePatterns)
{
    QStringList removed;
    const QFileInfo where(folder);
    if (!where.isDir() || where.isSymLink())
        return removed;
    const QDir dir(folder);
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks)) {
        if (isPlainFile(info) && isLeftoverOf(info.fileName(), namePatterns) && QFile::remove(info.filePath()))
            removed.append(info.fileName());
    }
    return removed;
}

void RemoveOwnFiles(const QString& folder, const QStringList& names)
{
    const QFileInfo where(folder);
    if (!where.isDir() || where.isSymLink())
        return;
    const QDir dir(folder);
    for (const QString& name : names) {
        const QFileInfo info(dir.filePath(name));
        if (isPlainFile(info))
            QFile::remove(info.filePath());
    }
    RemoveWriteLeftovers(folder, names);
    dir.rmdir(dir.absolutePath());  // only when empty
}
