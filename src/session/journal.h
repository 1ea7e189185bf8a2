#pragma once

#include "net_event.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <memory>

class QFile;
class Clock;
class SettingsStore;

// The running net on disk: every net event as one JSON line, handed to the
// system before the operation that made it returns (a killed program loses
// nothing) and synced to the disk by sync(), which the window calls once per
// turn of its event loop (a power cut loses nothing the operator saw). A normal end writes "session-ended" and closes it;
// a journal found without that end at the next start holds a net to bring
// back.
class Journal {
public:
    static inline const QString kFileName = QStringLiteral("journal.jsonl");

    explicit Journal(const QString& path);
    ~Journal();
    QString path() const { return path_; }

    // What the last run left behind.
    struct Found {
        enum class State { None, Closed, Open, Unreadable };
        State state = State::None;
        QList<NetEvent> events;  // every complete line (Open and Closed)
        qint64 completeBytes = 0;  // the bytes of those lines; a torn last line lies beyond
        QString error;           // Unreadable: why
    };
    static Found Parse(const QByteArray& bytes);
    static Found Read(const QString& path);

    // A new, empty journal in place of what was there.
    bool start();
    // Goes on after the last complete line of a journal brought back; a torn
    // last line is cut off.
    bool resume(qint64 completeBytes);
    // One line, flushed to the system. False (see error()) when it could not
    // be written; the journal then stops, and the net goes on without it.
    bool append(const NetEvent& event);
    // The lines appended since the last sync, on the disk; one sync serves a
    // burst of events. False (see error()) when the disk refused them.
    bool sync();
    // The normal end: nothing more is written.
    void close();
    bool isOpen() const;
    QString error() const { return error_; }

    // Moves an unreadable journal out of the way; the new name, or empty
    // when it could not be moved.
    static QString KeepAside(const QString& path, const QDateTime& now);

private:
    QString path_;
    std::unique_ptr<QFile> file_;
    QString error_;
    bool unsynced_ = false;
};

// Bringing back a net from its journal.
namespace NetRecovery {

struct Summary {
    QDateTime started;   // the first event's time (UTC)
    QDateTime last;      // the last complete operation's time (UTC)
    int stations = 0;    // lines on the roster
    int checkins = 0;
    int traffic = 0;
};
Summary Summarise(const QList<NetEvent>& events);

// The "RESTORE NET" question: the net's date, its times and counts, in local time.
QString Question(const Summary& summary);

// Sessions/YYMMDD-recovered.txt for the net's date; "-recovered-2" and on
// when that name is taken.
QString RecoveredPath(const QString& sessionsFolder, const QDate& date);

// The journal's net written as a session file with its times beside it.
struct Written {
    bool ok = false;
    QString path;
    QString error;
};
Written WriteRecovered(const QList<NetEvent>& events, const QString& sessionsFolder, SettingsStore& settings,
                       const Clock& clock);

}  // namespace NetRecovery
