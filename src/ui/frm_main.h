#pragma once

#include "core/member_table.h"
#include "core/program_state.h"
#include "session/checkin.h"
#include "session/checkin_roster.h"

#include <QMainWindow>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;
class SettingsStore;
struct Platform;

// The operator's working window for the whole net.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain(Platform& platform, ProgramState& state, SettingsStore& settings, QWidget* parent = nullptr);
    ~frmMain() override;

    // Option switches (kept in the Options menu).
    struct Options {
        bool disableEnterKeyDing = false;
        bool disableAutoInsert = false;
        bool disableWindowFlash = false;
    };
    Options& options() { return options_; }

    MemberTable& memberTable() { return table_; }
    CheckinRoster& roster() { return roster_; }
    EditorFlags& editorFlags() { return flags_; }

    // The check-in operation; runs for Enter (13), or any key while a member
    // is being added.
    void txtChkin_KeyDown(int keyCode, Qt::KeyboardModifiers shift = Qt::NoModifier);
    void TxtChkin_GotFocus();
    void lstSG_Click(QListWidgetItem* item);
    void lblTraffic_MouseDown(Qt::MouseButton button);
    void cmdHide_Click();
    void Timer2_Timer();
    void Check_Timer1_Status();
    void Change_Caret();

    // Shows a status text: CR LF before it; visible unless the ID alert blinks.
    void showStatus(const QString& text);

    // Controls, named as the rest of the program knows them.
    QLabel* Image1 = nullptr;
    QGroupBox* fraAdd = nullptr;
    QWidget* Fra1 = nullptr;
    QLineEdit* TxtChkin = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* Label3 = nullptr;
    QGroupBox* fraFormData = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* lblChkins = nullptr;
    QLabel* lblTraffic = nullptr;
    QLabel* lblMembers = nullptr;
    QGroupBox* FraStations = nullptr;
    QListWidget* lst1 = nullptr;
    QGroupBox* FraSearch = nullptr;
    QPushButton* cmdHide = nullptr;
    QListWidget* lstSG = nullptr;
    QListWidget* lstNF = nullptr;
    QLabel* lblSG = nullptr;
    QLabel* LblNF1 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void Form_Load();
    void applyLayout();
    void applyOutcome(const CheckInOutcome& outcome);
    void showMembersCount();
    void playCue(SoundCue cue);

    Platform& platform_;
    ProgramState& state_;
    SettingsStore& settings_;
    MemberTable table_;
    CheckinRoster roster_;
    EditorFlags flags_;
    Options options_;
    bool flashToggle_ = false;
    int flashTicks_ = 0;
    int listFontSize_ = 0;
};
