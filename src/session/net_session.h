#pragma once

#include "checkin.h"
#include "checkin_roster.h"
#include "net_event.h"
#include "session_options.h"
#include "core/member_table.h"
#include "core/report_types.h"
#include "lookup/callbook.h"
#include "members/editor_state.h"
#include "members/member_editor.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class CallbookManager;
class Clock;
class SettingsStore;
struct ReportWriteOutcome;

// The net's whole state for one run, without the window: the member table,
// the roster with its counters and search lists, the member editor, the
// session file and the document on show. Each operation takes its inputs and
// returns what the window shows; every change of the net also leaves as one
// NetEvent, in order, to each follower (the window, the journal). Followers
// get const views only: the state changes through operations alone.
class NetSession {
public:
    NetSession(SettingsStore& settings, const Clock& clock);

    const MemberTable& table() const { return table_; }
    const CheckinRoster& roster() const { return roster_; }
    const MemberEditor::EditorMachine& editor() const { return editor_; }
    const SessionOptions& options() const { return options_; }
    void setOptions(const SessionOptions& options) { options_ = options; }

    // --- the stream of net events
    using Follower = std::function<void(const NetEvent&)>;
    // Followers hear every event after the net has taken it, in the order
    // they were added.
    void follow(Follower follower) { followers_.push_back(std::move(follower)); }
    // A net brought back from its events: the state they lead to, the
    // followers told nothing (they draw the whole net afterwards).
    void restore(const QList<NetEvent>& events);
    // A change made at another seat of a shared net: taken and told to the
    // followers (the journal, the window) as if made here.
    void mirror(const NetEvent& event) { commit(event); }

    // Loads the member table; false (with table().lastError()) when it could
    // not be read.
    bool loadMemberTable(const QString& path) { return table_.LoadMemberTable(path); }

    // --- the net's people, as the window's labels show them
    void setNetManager(const QString& name, const QString& call);
    void setNetControl(const QString& name, const QString& call);
    // "NONE" when nobody is net control today.
    void setNetControlCaption(const QString& caption) { netControlCaption_ = caption; }
    QString netManagerCaption() const { return netManagerCaption_; }
    QString netControlCaption() const { return netControlCaption_; }
    // The opened session's first station is not today's net control.
    bool altNetControl() const { return altNetControl_; }
    // The closing of the window keeps the look and settings only when both
    // the net manager and the net control are known.
    bool closeKeepsSettings() const { return !netManagerCaption_.isEmpty() && !netControlCaption_.isEmpty(); }

    // --- check-in
    // The start of a new net: its first event, then the net control's own
    // check-in (unless automatic check-ins are off), which leaves nothing
    // unsaved yet.
    std::optional<CheckInOutcome> startNet();
    // A call typed into the check-in box.
    CheckInOutcome checkIn(const QString& typed);
    // A check-in the program makes itself (a clicked suggestion): nothing
    // while automatic check-ins are off.
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
    void setEditorText(MemberEditor::Box box, const QString& text) { editor_.setText(box, text); }
    // A key typed into a box of the frame.
    void editorTyped(MemberEditor::Box box, const QString& text) { editor_.typed(box, text); }
    void enterEditorBox(MemberEditor::Box box) { editor_.enterBox(box); }
    // The refusal of an implausible call, for the status line.
    QString leaveEditorBox(MemberEditor::Box box) { return editor_.leaveBox(box); }
    // Some callbook has a login stored: a right click on an unknown call
    // looks it up.
    void setCallbooks(const CallbookManager* callbooks) { callbooks_ = callbooks; }
    bool callbookReady() const;
    // A click on an unknown call: with a callbook login the right button
    // will look it up; without, the frame opens in Add mode for the call.
    void unknownCallClicked(const QString& call);
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

    // The normal end of the net ("73", Exit, the close box): its last event.
    void endNet();

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
    NetEvent event(NetEvent::Kind kind) const;
    // The one way the net changes: applied, then told to every follower.
    void commit(const NetEvent& event);
    void commit(const QList<NetEvent>& events);
    void take(const NetEvent& event);
    CheckInOutcome checkIn(const QString& typed, bool marksUnsaved);

    SettingsStore& settings_;
    const Clock& clock_;
    MemberTable table_;
    CheckinRoster roster_;
    MemberEditor::EditorMachine editor_;
    SessionOptions options_;
    const CallbookManager* callbooks_ = nullptr;
    std::vector<Follower> followers_;
    bool statusHold_ = false;
    QString fileName_;
    QString fileDate_;
    // The times file opened that was not read whole: it is moved aside, never
    // overwritten, by the next save beside it.
    QString damagedTimes_;
    bool saveFailed_ = false;
    QString netManagerCaption_;
    QString netControlCaption_;
    QString netControlName_;
    QString netControlCall_;
    bool altNetControl_ = false;
    Document shownDocument_ = Document::Instructions;
};

// The member editor's terms for a callbook answer: the first word of the
// first name, the city and the two-letter state, upper case.
MemberEditor::LookupAnswer EditorAnswerFor(const QString& call, const CallbookResult& result);
