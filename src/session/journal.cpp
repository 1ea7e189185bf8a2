#include "journal.h"

#include "net_session.h"
#include "session_file.h"
#include "platform/clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#endif

namespace {

bool syncToDisk(QFile& file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_UNIX
#if defined(_POSIX_SYNCHRONIZED_IO) && _POSIX_SYNCHRONIZED_IO > 0 && !defined(Q_OS_DARWIN)
    return ::fdatasync(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
#elif defined(Q_OS_WIN)
    return ::_commit(file.handle()) == 0;
#else
    return true;
#endif
}

}  // namespace

Journal::Journal(const QString& path) : path_(path) {}

Journal::~Journal() { sync(); }

Journal::Found Journal::Parse(const QByteArray& bytes)
{
    Found found;
    qsizetype at = 0;
    int lineNumber = 0;
    while (at < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            break;  // a torn last line: the write that made it never finished
        ++lineNumber;
        QJsonParseError parseError;
        const QJsonDocument doc = QJsonDocument::fromJson(bytes.mid(at, end - at), &parseError);
        const auto event = doc.isObject() ? NetEvent::fromJson(doc.object()) : std::nullopt;
        if (!event) {
            found.state = Found::State::Unreadable;
            found.events.clear();
            found.error = QStringLiteral("line %1 is no net event").arg(lineNumber);
            return found;
        }
        found.events.append(*event);
        at = end + 1;
        found.completeBytes = at;
    }
    if (found.events.isEmpty())
        found.state = Found::State::None;
    else if (found.events.last().kind == NetEvent::Kind::SessionEnded)
        found.state = Found::State::Closed;
    else
        found.state = Found::State::Open;
    return found;
}

Journal::Found Journal::Read(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        Found found;
        found.state = Found::State::Unreadable;
        found.error = file.errorString();
        return found;
    }
    return Parse(file.readAll());
}

bool Journal::start()
{
    QDir().mkpath(QFileInfo(path_).absolutePath());
    file_ = std::make_unique<QFile>(path_);
    if (!file_->open(QIODevice::WriteOnly | QIODevice::Truncate) || !syncToDisk(*file_)) {
        error_ = QStringLiteral("The net's journal %1 could not be written: %2").arg(path_, file_->errorString());
        file_.reset();
        return false;
    }
    return true;
}

bool Journal::resume(qint64 completeBytes)
{
    file_ = std::make_unique<QFile>(path_);
    if (!file_->open(QIODevice::ReadWrite) || !file_->resize(completeBytes) || !file_->seek(completeBytes)
        || !syncToDisk(*file_)) {
        error_ = QStringLiteral("The net's journal %1 could not be written: %2").arg(path_, file_->errorString());
        file_.reset();
        return false;
    }
    return true;
}

bool Journal::append(const NetEvent& event)
{
    if (!file_)
        return false;
    const QByteArray line = QJsonDocument(event.toJson()).toJson(QJsonDocument::Compact) + '\n';
    if (file_->write(line) != line.size() || !file_->flush()) {
        error_ = QStringLiteral("The net's journal %1 could not be written: %2").arg(path_, file_->errorString());
        // Nothing more is written after a half line: what stands stays readable.
        file_.reset();
        return false;
    }
    unsynced_ = true;
    return true;
}

bool Journal::sync()
{
    if (!file_ || !unsynced_)
        return file_ != nullptr;
    unsynced_ = false;
    if (!syncToDisk(*file_)) {
        error_ = QStringLiteral("The net's journal %1 could not be written: %2").arg(path_, file_->errorString());
        file_.reset();
        return false;
    }
    return true;
}

void Journal::close()
{
    sync();
    file_.reset();
}

bool Journal::isOpen() const { return file_ != nullptr; }

QString Journal::KeepAside(const QString& path, const QDateTime& now)
{
    const QString aside = path + QStringLiteral(".unreadable-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QFile::remove(aside);
    return QFile::rename(path, aside) ? aside : QString();
}

// ---------------------------------------------------------------- bringing a net back

namespace NetRecovery {

Summary Summarise(const QList<NetEvent>& events)
{
    Summary s;
    CheckinRoster roster;
    for (const NetEvent& e : events)
        roster.apply(e);
    if (!events.isEmpty()) {
        s.started = events.first().at;
        s.last = events.last().at;
    }
    s.stations = roster.lineCount();
    s.checkins = roster.checkins();
    s.traffic = roster.traffic();
    return s;
}

QString Question(const Summary& s)
{
    const QLocale locale = QLocale::system();
    const QDateTime started = s.started.toLocalTime();
    const QDateTime last = s.last.toLocalTime();
    return QStringLiteral("The net of %1, started at %2, did not end normally.\n\n"
                          "When it stopped at %3 it had %4 check-ins, %5 stations listed and a traffic count of %6.\n\n"
                          "Do you want to bring that net back?")
        .arg(locale.toString(started.date(), QLocale::ShortFormat), locale.toString(started.time(), QLocale::ShortFormat),
             locale.toString(last.time(), QLocale::ShortFormat))
        .arg(s.checkins)
        .arg(s.stations)
        .arg(s.traffic);
}

QString RecoveredPath(const QString& sessionsFolder, const QDate& date)
{
    const QString base = sessionsFolder + SessionFile::DefaultFileName(date) + QStringLiteral("-recovered");
    QString path = base + QStringLiteral(".txt");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + QStringLiteral("-%1.txt").arg(n);
    return path;
}

Written WriteRecovered(const QList<NetEvent>& events, const QString& sessionsFolder, SettingsStore& settings,
                       const Clock& clock)
{
    Written w;
    NetSession net(settings, clock);
    net.restore(events);
    const QDate date = events.isEmpty() ? clock.today() : events.first().at.toLocalTime().date();
    QDir().mkpath(sessionsFolder);
    w.path = RecoveredPath(sessionsFolder, date);
    const NetSession::WriteOutcome out = net.writeSession(w.path, date);
    w.ok = out.ok;
    w.error = out.error;
    return w;
}

}  // namespace NetRecovery
