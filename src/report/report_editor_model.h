#pragma once

#include "report_store.h"

#include <QString>
#include <QStringList>

class SettingsStore;

namespace ReportEditorText {
inline const QString kCaption = QStringLiteral("Report Editor");
inline const QString kAddMembers = QStringLiteral("ADD NEW MEMBERS");  // before the first use
inline const QString kAddMember = QStringLiteral("ADD NEW MEMBER");
inline const QString kEditMember = QStringLiteral("EDIT NEW MEMBER");
}  // namespace ReportEditorText

// The report editor without its window: the figures and new-member lines
// being edited and the state of every control. One method per user action;
// the window calls it and then mirrors the getters. Only DELETE (one entry,
// at once) and SAVE CHANGES write the store; EXIT discards.
class ReportEditorModel {
public:
    // report: the program-wide totals, brought in line with what a save
    // stores (the session added at exit starts from them).
    ReportEditorModel(SettingsStore& store, NetReport& report);

    // Reads the figures (as their leading numbers) and every non-empty slot
    // "0".."14", even when slot "0" is empty.
    void load();

    // Typing into the boxes (the boxes' change events). A text equal to the
    // current one is no change.
    void setSessionsText(const QString& text);  // txtSessions
    void setCheckinsText(const QString& text);  // txtCheckins
    void setTrafficText(const QString& text);   // txtTraffic
    void setAddText(const QString& text);       // txtAdd
    // A click on the list; -1 (or any index out of range) selects nothing.
    void selectLine(int index);  // lstNewMember

    // The buttons. Each does nothing while its button is disabled (or hidden).
    void add();          // ADD: appends a blank and the typed text; empty text adds nothing
    void edit();         // EDIT: the selected line into the entry box, edit mode
    void move();         // ">": the entry box replaces the selected line
    bool deleteLine();   // DELETE: true when a stored entry matched and the line went
    ReportWriteOutcome save();  // SAVE CHANGES; a refusal carries a message to show
    void exit();         // EXIT: nothing is written

    // --- what the window shows
    const QString& sessionsText() const { return sessions_; }
    const QString& checkinsText() const { return checkins_; }
    const QString& trafficText() const { return traffic_; }
    const QStringList& lines() const { return lines_; }
    int selectedIndex() const { return selected_; }
    const QString& addText() const { return addText_; }
    const QString& entryTitle() const { return entryTitle_; }  // Label1
    bool addEnabled() const { return addEnabled_; }            // cmdAdd
    bool moveVisible() const { return moveVisible_; }          // cmdMove
    bool editEnabled() const { return editEnabled_; }          // cmdEdit
    bool deleteEnabled() const { return deleteEnabled_; }      // cmdDelete
    bool saveEnabled() const { return saveEnabled_; }          // CmdSave
    bool editMode() const { return editMode_; }

private:
    void changeAddText(const QString& text);

    SettingsStore& store_;
    NetReport& report_;
    QString sessions_ = QStringLiteral("0");
    QString checkins_ = QStringLiteral("0");
    QString traffic_ = QStringLiteral("0");
    QStringList lines_;
    int selected_ = -1;
    QString addText_;
    QString entryTitle_ = ReportEditorText::kAddMembers;
    bool addEnabled_ = false;
    bool moveVisible_ = false;
    bool editEnabled_ = false;
    bool deleteEnabled_ = false;
    bool saveEnabled_ = false;
    bool editMode_ = false;
};
