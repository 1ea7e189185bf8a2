#include "net_session.h"

#include "session_file.h"
#include "session_times.h"
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

// ---------------------------------------------------------------- check-in

CheckInOutcome NetSession::checkIn(const QString& typed)
{
    EditorFlags flags;
    flags.statusHold = statusHold_;
    CheckInOptions opts;
    opts.disableWindowFlash = options_.disableWindowFlash;
    CheckInOutcome out = ProcessCheckIn(typed, table_, roster_, flags, opts);
    statusHold_ = flags.statusHold;
    if (out.kind == CheckInOutcome::Kind::CheckedIn)
        roster_.setTimes(roster_.lineCount(), {clock_.now().toUTC(), {}});
    return out;
}

void NetSession::trafficClicked(bool rightButton) { roster_.trafficClicked(rightButton, clock_.now()); }

bool NetSession::checkOut(int line) { return roster_.toggleCheckOut(line, clock_.now()); }

std::optional<CheckInOutcome> NetSession::autoCheckIn(const QString& call)
{
    if (options_.disableAutoInsert)
        return std::nullopt;
    return checkIn(call);
}

void NetSession::clearSearchLists()
{
    roster_.clearSearchLists();
    editor_.dropPending();
}

// ---------------------------------------------------------------- member editor

void NetSession::unknownCallClicked(const QString& call, bool callbookReady)
{
    if (callbookReady)
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
    roster_.setSessionChanged(true);
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
    editor_.beginChangeCall(SessionFile::CallOfLine(roster_.lines().at(line - 1)));
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
            roster_.removeUnknown(call);
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
    case EditorMode::ChangeCall:
        out.editor = MemberEditor::SaveChangeCall(call, editor_.text(Box::NewCall), selectedLine, table_, roster_);
        if (out.editor.ok)
            editor_.changeSaved();
        break;
    case EditorMode::Edit:
    case EditorMode::None:
        out.editor = MemberEditor::SaveEdit(call, editor_.text(Box::Name), editor_.text(Box::Qth), table_, roster_);
        if (out.editor.ok)
            editor_.editSaved();
        break;
    }
    return out;
}

QString NetSession::deleteQuestion(int line) const
{
    return line >= 1 && line <= roster_.lineCount() ? MemberEditor::DeleteQuestion(roster_.lines().at(line - 1))
                                                    : QString();
}

Outcome NetSession::deleteLine(int line, bool deleteMember)
{
    const QString call = table_.call(roster_.slotAt(line));
    Outcome out = MemberEditor::DeleteLine(line, deleteMember, table_, roster_);
    if (out.ok && deleteMember)
        ForgetNewMember(settings_, call);
    return out;
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
    for (int k = 1; k <= roster_.lineCount(); ++k) {
        const StationTimes t = roster_.timesAt(k);
        if (t.in.isValid() || t.out.isValid())
            times.append({SessionFile::CallOfLine(roster_.lines().at(k - 1)), t.in, t.out});
    }
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
                oldCalls.insert(SessionFile::CallOfLine(line));
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
    fileName_ = path;
    saveFailed_ = false;
    roster_.setSessionChanged(false);
    return out;
}

NetSession::WriteOutcome NetSession::saveAs(const QString& chosen, const QDate& today)
{
    return writeSession(SessionFile::WithExtension(chosen), today);
}

NetSession::OpenOutcome NetSession::openSession(const QString& path, const QString& netControlCall)
{
    OpenOutcome out;
    const SessionFile::ReadResult read = SessionFile::Read(path);
    if (!read.ok) {
        out.error = read.error;
        return out;
    }
    const SessionFile::Contents& c = read.contents;
    fileName_ = path;
    fileDate_ = c.date;
    roster_.clearLines();
    for (int i = 0; i < c.lines.size(); ++i) {
        const QString& line = c.lines.at(i);
        const QString call = SessionFile::CallOfLine(line);
        if (i == 0 && call != netControlCall) {
            out.altNetControl = true;
            out.altNetControlCaption = SessionFile::NameOfLine(line) + QStringLiteral("  ") + call;
        }
        // A line whose call is no member has no member slot; a member's line
        // marks it checked in, so it is not listed twice.
        roster_.append(line, call.isEmpty() ? 0 : table_.FindCall(call));
    }
    roster_.clearTrafficLog();
    out.notice = takeTimes(path);
    roster_.setCheckins(int(LeadingNumber(c.checkins)));
    roster_.setTrafficCaption(c.traffic);
    roster_.setSessionChanged(false);
    out.ok = true;
    out.date = c.date;
    return out;
}

QString NetSession::takeTimes(const QString& sessionPath)
{
    damagedTimes_.clear();
    const SessionTimes::ReadResult read = SessionTimes::Read(sessionPath);
    QString notice;
    if (!read.damage.isEmpty()) {
        damagedTimes_ = SessionTimes::PathFor(sessionPath);
        notice = QStringLiteral("The times file %1 was not read whole: %2. The times it holds in good order are "
                                "taken; a Save keeps the file aside as %1.damaged instead of overwriting it.")
                     .arg(QDir::toNativeSeparators(damagedTimes_), read.damage);
    }
    const SessionTimes::Contents* contents = &read.contents;
    const QList<SessionTimes::Entry>& entries = contents->stations;
    std::vector<bool> used(size_t(entries.size()), false);
    for (int k = 1; k <= roster_.lineCount(); ++k) {
        const QString call = SessionFile::CallOfLine(roster_.lines().at(k - 1));
        for (qsizetype i = 0; i < entries.size(); ++i)
            if (!used[size_t(i)] && entries.at(i).call == call) {
                used[size_t(i)] = true;
                roster_.setTimes(k, {entries.at(i).in, entries.at(i).out});
                break;
            }
    }
    roster_.setTrafficLog(contents->traffic);
    return notice;
}

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
