#pragma once

#include "checkin.h"
#include "checkin_roster.h"
#include "session_options.h"
#include "core/member_table.h"
#include "core/report_types.h"
#include "lookup/callbook.h"
#include "members/editor_state.h"
#include "members/member_editor.h"

#include <QDate>
#include <QString>
#include <optional>

class Clock;
class SettingsStore;
struct ReportWriteOutcome;

// The net's whole state for one run, without the window: the member table,
// the roster with its counters and search lists, the member editor, the
// session file and the document on show. Each operation takes its inputs and
// returns what the window shows; frmMain mirrors the getters. The clock
// stamps check-ins, check-outs and traffic.
class NetSession {
public:
    NetSession(SettingsStore& settings, const Clock& clock);

    MemberTable& table() { return table_; }
    const MemberTable& table() const { return table_; }
    CheckinRoster& roster() { return roster_; }
    const CheckinRoster& roster() const { return roster_; }
    const MemberEditor::EditorMachine& editor() const { return editor_; }
    MemberEditor::EditorMachine& editor() { return editor_; }
    SessionOptions& options() { return options_; }
    const SessionOptions& options() const { return options_; }

    // --- check-in
    // A call typed into the check-in box.
    CheckInOutcome checkIn(const QString& typed);
    // A check-in the program makes itself (the net control at start, a
    // clicked suggestion): nothing while automatic check-ins are off.
    std::optional<CheckInOutcome> autoCheckIn(const QString& call);
    void trafficClicked(bool rightButton);
    // Check Out on roster line k (1-based): the station is marked gone now,
    // or back when it was gone. False when there is no line k.
    bool checkOut(int line);
    // CLEAR: both search lists empty; an armed lookup ends, and an Add
    // under way no longer checks its member in.
    void clearSearchLists();

    // --- member editor
    void beginAdd() { editor_.beginAdd(); }
    // A click on an unknown call: with a callbook login the right button
    // will look it up; without, the frame opens in Add mode for the call.
    void unknownCallClicked(const QString& call, bool callbookReady);
    // False when line (1-based) is not a roster line.
    bool beginEdit(int line);
    // A refusal when no line is selected.
    MemberEditor::Outcome beginChangeCall(int line);
    void beginLookup(const QString& call) { editor_.beginLookup(call); }
    // The callbook's answer for call. False when the frame no longer waits
    // for it (the answer is dropped). status: what failed, when it failed.
    bool lookupAnswered(const QString& call, const CallbookResult& result, QString* status);
    void cancelEditor() { editor_.cancel(); }

    struct SaveOutcome {
        MemberEditor::Outcome editor;
        // The saved member handed to the check-in afterwards.
        std::optional<CheckInOutcome> checkIn;
    };
    // Save with the frame's current texts; selectedLine is the roster line the
    // change of call was started from.
    SaveOutcome saveEditor(int selectedLine);

    QString deleteQuestion(int line) const;
    MemberEditor::Outcome deleteLine(int line, bool deleteMember);

    // --- session files
    QString fileName() const { return fileName_; }
    // The date line of the opened session file; empty before an Open.
    QString fileDate() const { return fileDate_; }
    bool changed() const { return roster_.sessionChanged(); }
    bool saveFailed() const { return saveFailed_; }

    // The session file's bytes as a save on today writes them.
    QByteArray sessionBytes(const QDate& today) const;

    struct WriteOutcome {
        bool ok = false;
        QString error;   // names the file and the reason, and what was written all the same
        QString notice;  // a saved session's word: a damaged times file kept aside
    };
    // Writes the stations' times beside path, then the session to path, so
    // an interruption never leaves a session whose times are gone; on
    // success path becomes the session file. A times file that was not read
    // whole is moved aside first. A failure keeps the roster and its unsaved
    // mark.
    WriteOutcome writeSession(const QString& path, const QDate& today);
    // Save As to the chosen name, with ".txt" when it has none.
    WriteOutcome saveAs(const QString& chosen, const QDate& today);

    struct OpenOutcome {
        bool ok = false;
        QString error;  // the file is no session or could not be read: nothing changed
        QString date;   // line 3 of the file
        // The first line's station is not today's net control.
        bool altNetControl = false;
        QString altNetControlCaption;  // name, two blanks, call
        QString notice;  // the times file was not read whole: which and why
    };
    // Reads the times beside the file too; without them, or with damaged
    // ones, the stations have no times.
    OpenOutcome openSession(const QString& path, const QString& netControlCall);

    // --- the monthly report
    // Adds this session's check-ins and traffic to the totals; a stored
    // addition reloads them into report.
    ReportWriteOutcome addToReport(NetReport& report, int& sessionsThisRun);

    // --- documents
    enum class Document { Instructions, Preamble };
    Document shownDocument() const { return shownDocument_; }
    void setShownDocument(Document document) { shownDocument_ = document; }
    static QString documentFileName(Document document);

private:
    // Gives the stations of the roster the times of the companion file, the
    // first unused entry of a line's call each.
    // Says why, when the times file was not read whole.
    QString takeTimes(const QString& sessionPath);

    SettingsStore& settings_;
    const Clock& clock_;
    MemberTable table_;
    CheckinRoster roster_;
    MemberEditor::EditorMachine editor_;
    SessionOptions options_;
    bool statusHold_ = false;
    QString fileName_;
    QString fileDate_;
    // The times file opened that was not read whole: it is moved aside, never
    // overwritten, by the next save beside it.
    QString damagedTimes_;
    bool saveFailed_ = false;
    Document shownDocument_ = Document::Instructions;
};

// The member editor's terms for a callbook answer: the first word of the
// first name, the city and the two-letter state, upper case.
MemberEditor::LookupAnswer EditorAnswerFor(const QString& call, const CallbookResult& result);
