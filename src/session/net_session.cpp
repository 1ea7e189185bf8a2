#include "net_session.h"

#include "member_changes.h"
#include "session_file.h"
#include "session_times.h"
#include "lookup/callbook_login.h"
#include "lookup/callbook_manager.h"
#include "members/net_manager.h"
#include "platform/clock.h"
#include "core/settings_store.h"
#include "core/text_number.h"
#include "report/report_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <vector>

using MemberEditor::Box;
using MemberEditor::EditorMode;
using MemberEditor::LookupAnswer;
using MemberEditor::Outcome;
using MemberEditor::Refusal;

NetSession::NetSession(SettingsStore& settings, const Clock& clock) : settings_(settings), clock_(clock) {}

// ---------------------------------------------------------------- the stream of net events

NetEvent NetSession::event(NetEvent::Kind kind) const
{
    NetEvent e;
    e.kind = kind;
    e.at = clock_.now().toUTC();
    e.unsaved = roster_.sessionChanged();
    return e;
}

void NetSession::take(const NetEvent& e)
{
    roster_.apply(e);
    if (e.kind == NetEvent::Kind::SessionSaved) {
        fileName_ = e.text;
    } else if (e.kind == NetEvent::Kind::SessionOpened) {
        fileName_ = e.text;
        fileDate_ = e.date;
        // A net whose first station is not today's net control was run by
        // another station.
        const StationRecord& first = roster_.station(1);
        altNetControl_ = roster_.lineCount() > 0 && first.call.trimmed() != netControlCall_;
        netControlCaption_ = altNetControl_ ? first.name + QStringLiteral("  ") + first.call.trimmed()
                                            : IdentityCaption(netControlName_, netControlCall_);
    }
}

void NetSession::commit(const NetEvent& e)
{
    take(e);
    for (const Follower& f : followers_)
        f(e);
}

void NetSession::commit(const QList<NetEvent>& events)
{
    for (const NetEvent& e : events)
        commit(e);
}

void NetSession::restore(const QList<NetEvent>& events)
{
    for (const NetEvent& e : events)
        take(e);
}

// ---------------------------------------------------------------- the net's people

void NetSession::setNetManager(const QString& name, const QString& call)
{
    netManagerCaption_ = IdentityCaption(name, call);
}

void NetSession::setNetControl(const QString& name, const QString& call)
{
    netControlName_ = name;
    netControlCall_ = call;
    netControlCaption_ = IdentityCaption(name, call);
}

// ---------------------------------------------------------------- check-in

std::optional<CheckInOutcome> NetSession::startNet()
{
    commit(event(NetEvent::Kind::NetStarted));
    if (options_.disableAutoInsert || netControlCaption_.isEmpty())
        return std::nullopt;
    // A roster of the net control alone is nothing to save yet. A call is at
    // most six characters, as the label's last six always held it.
    return checkIn(netControlCall_.trimmed().right(6), false);
}

CheckInOutcome NetSession::checkIn(const QString& typed) { return checkIn(typed, true); }

CheckInOutcome NetSession::checkIn(const QString& typed, bool marksUnsaved)
{
    EditorFlags flags;
    flags.statusHold = statusHold_;
    CheckInOptions opts;
    opts.disableWindowFlash = options_.disableWindowFlash;
    CheckInOutcome out = ProcessCheckIn(typed, table_, roster_, flags, opts, clock_.now());
    statusHold_ = flags.statusHold;
    for (NetEvent& e : out.events)
        e.unsaved = e.unsaved && (marksUnsaved || e.kind != NetEvent::Kind::CheckedIn);
    commit(out.events);
    return out;
}

void NetSession::trafficClicked(bool rightButton)
{
    NetEvent e = event(rightButton ? NetEvent::Kind::TrafficDown : NetEvent::Kind::TrafficUp);
    e.count = roster_.trafficAfterClick(rightButton);
    // Any change of a counter is something to save.
    e.unsaved = e.unsaved || e.count != roster_.traffic();
    commit(e);
}

bool NetSession::checkOut(int line)
{
    if (line < 1 || line > roster_.lineCount())
        return false;
    NetEvent e = event(roster_.station(line).checkedOut() ? NetEvent::Kind::CheckedBack : NetEvent::Kind::CheckedOut);
    e.line = line;
    e.unsaved = true;
    commit(e);
    return true;
}

std::optional<CheckInOutcome> NetSession::autoCheckIn(const QString& call)
{
    if (options_.disableAutoInsert)
        return std::nullopt;
    return checkIn(call);
}

void NetSession::clearSearchLists()
{
    commit(event(NetEvent::Kind::SearchListsCleared));
    editor_.dropPending();
}

// ---------------------------------------------------------------- member editor

bool NetSession::callbookReady() const
{
    return callbooks_ ? callbooks_->isSetUp() : CallbookLogin(settings_).anySetUp();
}

void NetSession::unknownCallClicked(const QString& call)
{
    if (callbookReady())
        editor_.armLookup();
    else
        editor_.beginAddFor(call);
}

bool NetSession::beginEdit(int line)
{
    if (line < 1 || line > roster_.lineCount())
        return false;
    // A line without a member (read from a session file) fills nothing.
    editor_.beginEdit(table_.record(roster_.slotAt(line)));
    if (!roster_.sessionChanged()) {
        NetEvent e = event(NetEvent::Kind::Unsaved);
        e.unsaved = true;
        commit(e);
    }
    return true;
}

Outcome NetSession::beginChangeCall(int line)
{
    Outcome o;
    if (line < 1 || line > roster_.lineCount()) {
        o.refusal = Refusal::NotFound;
        o.show = MemberEditor::StatusShow::Show;
        o.status = QStringLiteral("You must select a call to change");
        o.ding = true;
        return o;
    }
    editor_.beginChangeCall(roster_.station(line).call);
    o.ok = true;
    return o;
}

MemberEditor::LookupAnswer EditorAnswerFor(const QString& call, const CallbookResult& result)
{
    LookupAnswer a;
    switch (result.error) {
    case CallbookError::None:
        a.kind = LookupAnswer::Kind::Found;
        a.call = result.info.call.isEmpty() ? call : result.info.call.trimmed().toUpper();
        a.name = CallbookNameText(result.info);
        a.qth = CallbookCityStateText(result.info, QString());  // the Add left the QTH box empty
        break;
    case CallbookError::NotFound:
        a.kind = LookupAnswer::Kind::NotFound;
        break;
    case CallbookError::LoginRefused:
        a.kind = LookupAnswer::Kind::Failed;
        a.status = result.source + QStringLiteral(" LOGIN REFUSED");
        break;
    case CallbookError::Unreachable:
        a.kind = LookupAnswer::Kind::Failed;
        a.status = result.source + QStringLiteral(" NOT REACHABLE");
        break;
    case CallbookError::BadReply:
        a.kind = LookupAnswer::Kind::Failed;
        a.status = result.source + QStringLiteral(" REPLY NOT UNDERSTOOD");
        break;
    case CallbookError::KeyringLocked:
        a.kind = LookupAnswer::Kind::Failed;
        a.status = result.source + QStringLiteral(" KEYRING LOCKED");
        break;
    }
    return a;
}

bool NetSession::lookupAnswered(const QString& call, const CallbookResult& result, QString* status)
{
    const LookupAnswer answer = EditorAnswerFor(call, result);
    if (!editor_.lookupAnswered(call, answer))
        return false;
    if (status)
        *status = answer.status;
    return true;
}

NetSession::SaveOutcome NetSession::saveEditor(int selectedLine)
{
    // An entry the callbook knew nothing of waits for the operator's typing.
    if (!editor_.form().saveEnabled)
        return {};
    // What leaving the boxes does, also when Alt+S saved without leaving one.
    editor_.settleBoxes();
    for (Box b : {Box::Call, Box::Name, Box::Qth, Box::NewCall})
        editor_.setText(b, editor_.text(b).toUpper());
    const QString call = editor_.text(Box::Call);
    SaveOutcome out;
    switch (editor_.mode()) {
    case EditorMode::Add: {
        out.editor = MemberEditor::SaveNewMember(
            call, editor_.text(Box::Name), editor_.text(Box::Qth), table_,
            [this](const QString& c, const QString& n, const QString& q) { AppendNewMemberEntry(settings_, c, n, q); });
        if (out.editor.ok) {
            statusHold_ = true;
            NetEvent e = event(NetEvent::Kind::MemberAdded);
            e.station = {table_.call(out.editor.slot), table_.name(out.editor.slot), table_.qth(out.editor.slot),
                         out.editor.slot, {}, {}};
            commit(e);
        }
        // A member saved, or one the table already holds, is checked in; a
        // refusal (full table, implausible call, failed write) stays on show.
        const bool member = out.editor.ok || out.editor.refusal == Refusal::CallExists;
        const bool insert = member && editor_.checksInOnSave() && !options_.disableAutoInsert;
        editor_.addSaved(!insert);
        if (insert)
            out.checkIn = checkIn(call);
        break;
    }
    case EditorMode::ChangeCall: {
        const MemberChanges::Result r =
            MemberChanges::SaveChangeCall(call, editor_.text(Box::NewCall), selectedLine, table_, roster_, clock_.now());
        out.editor = r.outcome;
        commit(r.events);
        if (out.editor.ok)
            editor_.changeSaved();
        break;
    }
    case EditorMode::Edit:
    case EditorMode::None: {
        const MemberChanges::Result r =
            MemberChanges::SaveEdit(call, editor_.text(Box::Name), editor_.text(Box::Qth), table_, roster_, clock_.now());
        out.editor = r.outcome;
        commit(r.events);
        if (out.editor.ok)
            editor_.editSaved();
        break;
    }
    }
    return out;
}

QString NetSession::deleteQuestion(int line) const
{
    return line >= 1 && line <= roster_.lineCount() ? MemberChanges::DeleteQuestion(roster_.station(line)) : QString();
}

Outcome NetSession::deleteLine(int line, bool deleteMember)
{
    const QString call = table_.call(roster_.slotAt(line));
    const MemberChanges::Result r = MemberChanges::DeleteLine(line, deleteMember, table_, roster_, clock_.now());
    commit(r.events);
    if (r.outcome.ok && deleteMember)
        ForgetNewMember(settings_, call);
    return r.outcome;
}

// ---------------------------------------------------------------- session files

QByteArray NetSession::sessionBytes(const QDate& today) const
{
    return SessionFile::Compose(roster_.checkinsCaption(), roster_.trafficCaption(), SessionFile::DateText(today),
                                roster_.lines());
}

NetSession::WriteOutcome NetSession::writeSession(const QString& path, const QDate& today)
{
    WriteOutcome out;
    QList<SessionTimes::Entry> times;
    for (const StationRecord& s : roster_.stations())
        if (s.in.isValid() || s.out.isValid())
            times.append({s.call, s.in, s.out});
    const QString timesPath = SessionTimes::PathFor(path);
    if (!damagedTimes_.isEmpty() && damagedTimes_ == timesPath && QFileInfo::exists(timesPath)) {
        QString why;
        const QString aside = SessionTimes::KeepAside(timesPath, &why);
        if (aside.isEmpty()) {
            out.error = QStringLiteral("The session was not saved: the damaged times file %1 could not be kept aside "
                                       "(%2), and it is not overwritten. Nothing was written.")
                            .arg(QDir::toNativeSeparators(timesPath), why);
            saveFailed_ = true;
            return out;
        }
        out.notice = QStringLiteral("The damaged times file was kept as %1.").arg(QDir::toNativeSeparators(aside));
    }
    damagedTimes_.clear();
    // The times of the session being replaced stay until it is replaced too:
    // its stations this roster no longer lists keep their entries (the
    // reader passes over them), so a kill between the two writes never
    // leaves the old session without its times.
    if (QFileInfo::exists(path)) {
        const SessionFile::ReadResult old = SessionFile::Read(path);
        const SessionTimes::ReadResult oldTimes = SessionTimes::Read(path);
        if (old.ok && oldTimes.damage.isEmpty()) {
            QSet<QString> listed;
            for (const SessionTimes::Entry& e : times)
                listed.insert(e.call);
            QSet<QString> oldCalls;
            for (const QString& line : old.contents.lines)
                oldCalls.insert(SessionFile::StationOfLine(line).call);
            for (const SessionTimes::Entry& e : oldTimes.contents.stations)
                if (oldCalls.contains(e.call) && !listed.contains(e.call))
                    times.append(e);
        }
    }
    // The times go first and are written even when there are none, so no
    // stale ones stay beside a session saved again; an interruption between
    // the two leaves the old session beside times that hold all of its own.
    QString error;
    if (!SessionFile::Write(timesPath, SessionTimes::Compose(times, roster_.trafficLog()), &error, "times")) {
        out.error = error + QStringLiteral("\n\nNothing was written: %1 is as it was.").arg(QDir::toNativeSeparators(path));
        saveFailed_ = true;
        return out;
    }
    if (!SessionFile::Write(path, sessionBytes(today), &error)) {
        out.error = error + QStringLiteral("\n\nOnly the stations' times were written, to %1; the session file is as it "
                                           "was.")
                                .arg(QDir::toNativeSeparators(timesPath));
        saveFailed_ = true;
        return out;
    }
    out.ok = true;
    saveFailed_ = false;
    NetEvent e = event(NetEvent::Kind::SessionSaved);
    e.text = path;
    e.unsaved = false;
    commit(e);
    return out;
}

NetSession::WriteOutcome NetSession::saveAs(const QString& chosen, const QDate& today)
{
    return writeSession(SessionFile::WithExtension(chosen), today);
}

namespace {

// Gives the stations the times of the companion file, the first unused
// entry of a station's call each; the traffic log too. Says why, when the
// times file was not read whole: its good lines are taken all the same.
QString readTimes(const QString& sessionPath, QList<StationRecord>& stations, QList<TrafficEvent>& traffic,
                  QString& damagedTimes)
{
    damagedTimes.clear();
    const SessionTimes::ReadResult read = SessionTimes::Read(sessionPath);
    QString notice;
    if (!read.damage.isEmpty()) {
        damagedTimes = SessionTimes::PathFor(sessionPath);
        notice = QStringLiteral("The times file %1 was not read whole: %2. The times it holds in good order are "
                                "taken; a Save keeps the file aside as %1.damaged instead of overwriting it.")
                     .arg(QDir::toNativeSeparators(damagedTimes), read.damage);
    }
    const QList<SessionTimes::Entry>& entries = read.contents.stations;
    std::vector<bool> used(size_t(entries.size()), false);
    for (StationRecord& s : stations)
        for (qsizetype i = 0; i < entries.size(); ++i)
            if (!used[size_t(i)] && entries.at(i).call == s.call) {
                used[size_t(i)] = true;
                s.in = entries.at(i).in.toUTC();
                s.out = entries.at(i).out.toUTC();
                break;
            }
    traffic = read.contents.traffic;
    return notice;
}

}  // namespace

NetSession::OpenOutcome NetSession::openSession(const QString& path, const QString& netControlCall)
{
    OpenOutcome out;
    const SessionFile::ReadResult read = SessionFile::Read(path);
    if (!read.ok) {
        out.error = read.error;
        return out;
    }
    const SessionFile::Contents& c = read.contents;
    NetEvent e = event(NetEvent::Kind::SessionOpened);
    e.text = path;
    e.date = c.date;
    e.unsaved = false;
    for (const QString& line : c.lines) {
        StationRecord s = SessionFile::StationOfLine(line);
        // A line whose call is no member has no member slot.
        s.slot = s.call.trimmed().isEmpty() ? 0 : table_.FindCall(s.call.trimmed());
        e.stations.append(s);
    }
    netControlCall_ = netControlCall;
    out.notice = readTimes(path, e.stations, e.trafficLog, damagedTimes_);
    e.checkins = int(LeadingNumber(c.checkins));
    e.count = int(LeadingNumber(c.traffic));
    e.captions = {c.checkins, c.traffic};
    commit(e);
    out.ok = true;
    out.date = c.date;
    out.altNetControl = altNetControl_;
    out.altNetControlCaption = altNetControl_ ? netControlCaption_ : QString();
    return out;
}

void NetSession::endNet() { commit(event(NetEvent::Kind::SessionEnded)); }

// ---------------------------------------------------------------- report and documents

ReportWriteOutcome NetSession::addToReport(NetReport& report, int& sessionsThisRun)
{
    ++sessionsThisRun;
    const ReportWriteOutcome outcome = AddSessionToReport(settings_, report, roster_.checkins(), roster_.traffic());
    if (outcome.stored)
        report = LoadReportCounters(settings_);
    return outcome;
}

QString NetSession::documentFileName(Document document)
{
    return document == Document::Preamble ? QStringLiteral("VelnPreamble.rtf") : QStringLiteral("VelnInst.rtf");
}
