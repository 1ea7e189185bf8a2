#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <QStringList>

// Writes a file through a temporary one that replaces it only when every byte
// is known to have reached the disk. QSaveFile buffers small writes and its
// commit() does not notice a flush that fails for lack of room, so the buffer
// is flushed and checked here first; after any failure the old file stays.
class SafeWriter {
public:
    explicit SafeWriter(const QString& path);
    SafeWriter(const SafeWriter&) = delete;
    SafeWriter& operator=(const SafeWriter&) = delete;

    // Starts the temporary file; the folder must exist.
    bool open();
    // False once anything failed; later writes do nothing.
    bool write(const QByteArray& bytes);
    // Replaces the file; never after a failure.
    bool commit();
    // Drops the temporary file; the old file stays as it was.
    void cancel();

    bool failed() const { return !error_.isEmpty(); }
    qint64 size() const { return size_; }
    // The first bytes written, for a look at what arrived.
    QByteArray head() const { return head_; }
    QString path() const { return path_; }
    // "Cannot write <file>: <reason>"; empty while all went well.
    QString error() const { return error_; }
    QString reason() const { return reason_; }

private:
    void fail(const QString& reason);
    // Not failed, not committed, and open; an unopened file fails here.
    bool usable();

    QString path_;
    QSaveFile file_;
    QByteArray head_;
    qint64 size_ = 0;
    bool done_ = false;
    QString reason_;
    QString error_;
};

// The whole of bytes as the file at path; error names the file and the reason.
bool SafeWrite(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Makes a folder and its parents; reason says why not (never "Unknown error").
bool MakeFolder(const QString& path, QString* reason = nullptr);

// Removes what a write cut short by a kill or a crash left in folder: the
// temporary files of the checked writer ("<name>.XXXXXX") whose name matches
// one of the wildcard patterns. Only regular files, never through a link.
// Returns the names removed.
QStringList RemoveWriteLeftovers(const QString& folder, const QStringList& namePatterns);

// Removes from folder the regular files of the given names (and their
// writer's leftovers), then the folder when it is empty. A folder that is a
// link, or a name that is a link, is left alone: nothing outside is touched.
void RemoveOwnFiles(const QString& folder, const QStringList& names);
