#pragma once

#include <QString>
#include <QTemporaryDir>
#include <functional>

// A folder where writes fail for want of room. As root: a 64 KiB tmpfs,
// filled up by fill(). Otherwise the writes run in a child process under a
// file-size limit, which fails every write past sizeLimit bytes of a file the
// way a full disk does. Where neither works, usable() is false and why() says so.
class FullDisk {
public:
    static constexpr qint64 kSizeLimit = 1024;

    FullDisk();
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool usable() const { return mode_ != Mode::None; }
    QString why() const { return why_; }
    QString folder() const { return folder_; }

    // Takes the last free byte of the tmpfs; the files already there stay.
    void fill();
    // Runs work with the disk full and gives back what it returned. With a
    // file-size limit, work runs in a child process: only its answer and what
    // it left on disk come back.
    QString attempt(const std::function<QString()>& work, qint64 sizeLimit = kSizeLimit);

private:
    enum class Mode { None, Tmpfs, SizeLimit };
    Mode mode_ = Mode::None;
    QTemporaryDir dir_;
    QString folder_;
    QString why_;
};

// QSKIPs the calling test when no full disk can be had here.
#define REQUIRE_FULL_DISK(disk) \
    do { \
        if (!(disk).usable()) \
            QSKIP(qPrintable((disk).why())); \
    } while (false)
