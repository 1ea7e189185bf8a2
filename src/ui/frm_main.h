#pragma once

#include "core/appearance_store.h"
#include "core/program_state.h"
#include "main_layout.h"
#include "session/journal.h"
#include "session/net_session.h"

#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;
class QTimer;
class SettingsStore;
class FrmNetCtl;
class FrmReport;
class frmReportEditor;
class frmAbout;
class CallbookManager;
class ShareSeat;
struct OperatorIdentity;
struct Platform;

// The operator's working window for the whole net. It holds no data of the
// net: every handler calls the NetSession and draws what it returns.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    static inline const QString kDesignCaption = QStringLiteral("VELNOR Association  Net Version 1 B1 ");

    frmMain(Platform& platform, ProgramState& state, SettingsStore& settings, QWidget* parent = nullptr);
    ~frmMain() override;

    NetSession& session() { return session_; }
    const MemberTable& memberTable() const { return session_.table(); }
    const CheckinRoster& roster() const { return session_.roster(); }
    // The journal of the running net; null when it could not be written.
    const Journal* journal() const { return journal_.get(); }
    // The journal's lines of this turn on the disk (the event loop does it
    // by itself before it waits).
    void syncJournal();
    int PrinterCount() const { return printerCount_; }
    MemberEditor::EditorMode editorMode() const { return session_.editor().mode(); }
    QColor LineColor() const { return lineColor_; }
    // The separator lines in the window's coordinates (pixels).
    QList<QLineF> separatorLines() const;
    // Geometry (twips) and font size each control had at design time.
    const std::vector<MainLayout::ControlGeometry>& designGeometry() const { return geometry_; }

    // --- check-in and roster
    void txtChkin_KeyDown(int keyCode, Qt::KeyboardModifiers shift = Qt::NoModifier);
    bool TxtChkin_KeyPress(QChar key);  // false: the key is dropped
    void TxtChkin_GotFocus();
    void lst1_Click();
    void lst1_MouseDown(Qt::MouseButton button, const QPoint& globalPos);
    void lstSG_Click(QListWidgetItem* item);
    void lblTraffic_MouseDown(Qt::MouseButton button);
    void cmdHide_Click();
    void CmdExit_MouseDown();
    void CmdExit_Click();
    void lstNF_Click(QListWidgetItem* item);
    // Right button on an unknown call: starts the callbook lookup, whose
    // answer fills the member editor when it comes, or shows the call's page
    // in the browser when no login is stored.
    void lstNF_MouseDown(Qt::MouseButton button, QListWidgetItem* item);
    void QRZ_Login();
    // A callbook's answer; dropped when the editor no longer waits for call.
    void callbookAnswered(const QString& call, const CallbookResult& result);
    void Form_Click();
    void Form_GotFocus();
    void fraAdd_Click();

    // --- timers
    void IDTimer_Timer();
    void Timer1_Timer();
    void Timer2_Timer();
    void Check_Timer1_Status();
    void Change_Caret();

    // --- layout
    void CaptureControlGeometry();
    void RescaleControls();
    void ApplyMainLayout();
    void Form_Resize();

    // --- session files and the end of a session
    QString sessionFileName() const { return session_.fileName(); }
    bool SaveFailed() const { return session_.saveFailed(); }
    // Reports an unexpected error, offers the report addition, and ends the
    // program unless the operator cancels.
    void ErrorHandler(const QString& description);
    // How the program ends (tests replace it); ended() tells it did.
    void setEndProgram(std::function<void()> end) { endProgram_ = std::move(end); }
    bool ended() const { return ended_; }

    // Shows a status text: CR LF before it; visible unless the ID alert blinks.
    // spoken: what assistive technology and Speak Status say, when it is
    // more than the caption.
    void showStatus(const QString& text, const QString& spoken = {});

    // Controls, named as the rest of the program knows them.
    QPlainTextEdit* Text1 = nullptr;
    QFrame* fraInfo = nullptr;
    QRadioButton* optInstructions = nullptr;
    QRadioButton* optPreamble = nullptr;
    QTextEdit* rtfInfo = nullptr;
    QFrame* Fra1 = nullptr;
    QLineEdit* TxtChkin = nullptr;
    QLabel* lblIDTime = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* Label3 = nullptr;
    QTimer* IDTimer = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QGroupBox* FraSearch = nullptr;
    QPushButton* cmdHide = nullptr;
    QListWidget* lstSG = nullptr;
    QListWidget* lstNF = nullptr;
    QLabel* lblSG = nullptr;
    QLabel* LblNF1 = nullptr;
    QGroupBox* fraFormData = nullptr;
    QPushButton* CmdChange = nullptr;
    QLabel* lblTraffic = nullptr;
    QLabel* lblChkins = nullptr;
    QLabel* lblNetCtl = nullptr;
    QLabel* lblNetMgr = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* lblMembers = nullptr;
    QGroupBox* FraStations = nullptr;
    QListWidget* lst1 = nullptr;
    QGroupBox* fraAdd = nullptr;
    QLineEdit* TxtCS = nullptr;
    QLineEdit* TxtNew = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdSave = nullptr;
    QLineEdit* txtCall = nullptr;
    QLineEdit* txtName = nullptr;
    QLabel* lblName = nullptr;
    QLabel* lblCS = nullptr;
    QLabel* LblNew = nullptr;
    QLabel* lblMode = nullptr;
    QLabel* lblCall = nullptr;
    QPushButton* CmdExit = nullptr;
    QLabel* Image1 = nullptr;

    // Menus.
    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* Hyphen1 = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuFileExport = nullptr;
    QAction* Hyphen2 = nullptr;
    QMenu* mnuFilePrint = nullptr;
    QAction* mnuFilePrintPageSetup = nullptr;
    QAction* mnuFilePrintFont = nullptr;
    QAction* mnuFilePrintSession = nullptr;
    QMenu* mnuFileDatabase = nullptr;
    QAction* mnuFilePrintDatabase = nullptr;
    QAction* mnuFilePrintInstructions = nullptr;
    QAction* mnuFilePrintPreamble = nullptr;
    QAction* mnuFileDisplayDatabase = nullptr;
    QAction* Hyphen3 = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEditAdd = nullptr;
    QAction* mnuEditDelete = nullptr;
    QAction* mnuEditEdit = nullptr;
    QAction* mnuChgCtl = nullptr;
    QAction* mnuChgCall = nullptr;
    QAction* mnuEditCheckOut = nullptr;
    QAction* mnuEditTrafficUp = nullptr;
    QAction* mnuEditTrafficDown = nullptr;
    QAction* mnuEditLookUp = nullptr;
    QMenu* mnuGo = nullptr;
    QAction* mnuGoCheckIn = nullptr;
    QAction* mnuGoRoster = nullptr;
    QAction* mnuGoUnknown = nullptr;
    QAction* mnuGoSuggest = nullptr;
    QAction* mnuGoEditor = nullptr;
    QMenu* mnuFormat = nullptr;
    QMenu* mnuFormatControls = nullptr;
    QAction* mnuFormatControlsFont = nullptr;
    QAction* mnuFormatControlsColor = nullptr;
    QAction* mnuFormatControlsBackgroundColor = nullptr;
    QMenu* mnuFormatForm = nullptr;
    QAction* mnuFormatFormFont = nullptr;
    QAction* mnuFormatFormFontColor = nullptr;
    QAction* mnuFormatFormBackgroundColor = nullptr;
    QAction* mnuFormatFormLineColor = nullptr;
    QMenu* mnuFormatFormData = nullptr;
    QAction* mnuFormatFormDataFont = nullptr;
    QAction* mnuFormatFormDataFontColor = nullptr;
    QAction* mnuFormatFormDataMemberColor = nullptr;
    QMenu* mnuFormatPreamble = nullptr;
    QAction* mnuFormatPreambleFont = nullptr;
    QAction* mnuFormatPreambleFontColor = nullptr;
    QAction* mnuFormatPreambleSaveChanges = nullptr;
    QMenu* mnuReports = nullptr;
    QAction* mnuReportsMonthly = nullptr;
    QAction* mnuReportEditor = nullptr;
    QMenu* mnuOptions = nullptr;
    QAction* mnuOptionsDisableEnterKeyDing = nullptr;
    QAction* mnuOptionsDisableAutoInsert = nullptr;
    QAction* mnuOptionsDisableWindowFlash = nullptr;
    QAction* mnuOptionsSpeakStatus = nullptr;
    QAction* mnuOptionsChangeQRZLogin = nullptr;
    QAction* Hyphen4 = nullptr;
    QAction* mnuOptionsShare = nullptr;
    QAction* mnuOptionsFollow = nullptr;
    QAction* mnuOptionsTakeOver = nullptr;
    QAction* mnuOptionsStopSharing = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuAbout = nullptr;

    // --- menu handlers
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    // CSV or the ICS-309 log as PDF, as the dialog's filter chose.
    void mnuFileExport_Click();
    void mnuFilePrintPageSetup_Click();
    void mnuFilePrintFont_Click();
    void mnuFilePrintSession_Click();
    void mnuFilePrintDatabase_Click();
    void mnuFilePrintInstructions_Click();
    void mnuFilePrintPreamble_Click();
    void mnuFileDisplayDatabase_Click();
    void mnuFileExit_Click();
    void mnuEditAdd_Click();
    void mnuEditDelete_Click();
    void mnuEditEdit_Click();
    void mnuChgCtl_Click();
    void mnuChgCall_Click();
    // The selected station goes (its line turns grey) or comes back.
    void mnuEditCheckOut_Click();
    void mnuEditTrafficUp_Click();
    void mnuEditTrafficDown_Click();
    void mnuEditLookUp_Click();
    void mnuGoCheckIn_Click();
    void mnuGoRoster_Click();
    void mnuGoUnknown_Click();
    void mnuGoSuggest_Click();
    void mnuGoEditor_Click();
    void mnuFormatControlsFont_Click();
    void mnuFormatControlsColor_Click();
    void mnuFormatControlsBackgroundColor_Click();
    void mnuFormatFormFont_Click();
    void mnuFormatFormFontColor_Click();
    void mnuFormatFormBackgroundColor_Click();
    void mnuFormatFormLineColor_Click();
    void mnuFormatFormDataFont_Click();
    void mnuFormatFormDataFontColor_Click();
    void mnuFormatFormDataMemberColor_Click();
    void mnuFormatPreambleFont_Click();
    void mnuFormatPreambleFontColor_Click();
    void mnuFormatPreambleSaveChanges_Click();
    void mnuReportsMonthly_Click();
    void mnuReportEditor_Click();
    void mnuOptionsDisableEnterKeyDing_Click();
    void mnuOptionsDisableAutoInsert_Click();
    void mnuOptionsDisableWindowFlash_Click();
    void mnuOptionsSpeakStatus_Click();
    void mnuOptionsChangeQRZLogin_Click();
    void mnuOptionsShare_Click();
    void mnuOptionsFollow_Click();
    void mnuOptionsTakeOver_Click();
    void mnuOptionsStopSharing_Click();
    void mnuAbout_Click();
    // The net shared from this seat, followed from another, or neither.
    const ShareSeat* shareSeat() const { return shareSeat_; }
    QLabel* lblShare = nullptr;
    void CmdChange_Click();
    // The net manager chosen in the net-manager dialog.
    void showNetManager(const QString& name, const QString& call);
    // "NONE" when nobody is net control today.
    void showNetControlCaption(const QString& caption);
    void cmdSave_Click();
    void cmdCancel_Click();
    // The member editor's boxes.
    void txtCall_GotFocus();
    void txtCall_KeyDown(int keyCode);
    void txtCall_LostFocus();
    void txtName_GotFocus();
    void txtName_KeyDown(int keyCode);
    void txtName_LostFocus();
    void TxtCS_GotFocus();
    void TxtCS_KeyDown(int keyCode);
    void TxtCS_LostFocus();
    void TxtNew_GotFocus();
    void TxtNew_KeyDown(int keyCode);
    void TxtNew_LostFocus();
    void optInstructions_Click();
    void optPreamble_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void Form_Load();
    void Form_Paint(QWidget* client);
    void drawOptions();
    void readOptions();
    void saveOptions();
    void applyOutcome(const CheckInOutcome& outcome);
    // Draws one event of the net: the window follows the net through them.
    void drawEvent(const NetEvent& event);
    void drawSearchLists();
    void drawMembers();
    // The journal: a net left by a run that did not end is brought back
    // (true) or kept as a session file; then the journal goes on or starts.
    bool openJournal();
    void journalWritten(const NetEvent& event);
    void warnJournal();
    // For the crash test: what the window shows, rewritten whole after each
    // event when VELN_SHOWN_FILE names a file.
    void drawRoster();
    // Line k's colour (grey once checked out) and its times as tooltip.
    void drawRosterLine(int line);
    void drawCounters();
    void drawEditor();
    void playCue(SoundCue cue);
    bool showWriteOutcome(const NetSession::WriteOutcome& outcome);
    // Asks to save a changed roster; false when the operator stays.
    bool offerToSaveSession();
    void addSessionToReport();
    void saveAppearance(bool withFormData);
    void saveAppearanceTo(AppearanceStore& look, bool withFormData);
    void applyStoredAppearance();
    void applyAppearance(const AppearanceStore& look);
    // A caption whose colours were set too alike is drawn black or white.
    void keepTextReadable();
    QString documentPath(bool preamble) const;
    void installDocumentTemplates();
    void showDocument(bool preamble);
    bool saveShownDocument();
    void loadPrinterFont();
    void savePrinterFont();
    void Form_Unload();
    // The questions every way out asks; false when the operator stays.
    bool askEndQuestions();
    void endProgram();
    void applyEditorOutcome(const MemberEditor::Outcome& outcome);
    void setStatusCaption(const QString& text, const QString& spoken = {});
    void clearStatus();
    void resetModeLabel();
    int selectedLine() const;
    bool editorBoxEvent(QLineEdit* box, QEvent* event);
    void leaveEditorBox(QLineEdit* box);
    void lookUpUnknown(QListWidgetItem* item);
    // Gives every control a name a person would say, for screen readers.
    void nameControlsForAssistiveTechnology();
    // Tells assistive technology that a figure or the status changed.
    void announce(QWidget* w, const QString& what, const QString& value);
    void editorBoxEdited(QLineEdit* box, const QString& text);
    MemberEditor::Box editorBoxOf(const QLineEdit* box) const;
    void SetCapsLock(bool on);
    void SetNumLock(bool on);
    bool firstRun() const;
    // A settings write that failed is told once a run.
    void checkSettingsWritten();
    // The callbook cache's word, when it has one: kept aside, or not written.
    void sayCacheNotice();
    void rememberFirstRun();

    Platform& platform_;
    ProgramState& state_;
    SettingsStore& settings_;
    AppearanceStore appearance_;
    NetSession session_;
    std::unique_ptr<Journal> journal_;
    bool journalWarned_ = false;
    bool journalSyncDue_ = false;
    QWidget* client_ = nullptr;
    std::vector<QWidget*> controls_;  // the window's controls in creation order
    std::vector<MainLayout::ControlGeometry> geometry_;
    QSizeF designClient_;
    QColor lineColor_ = Qt::black;
    int printerCount_ = 0;
    bool flashToggle_ = false;
    int flashTicks_ = 0;
    int listFontSize_ = 0;
    QPointer<FrmNetCtl> netCtlDialog_;
    QPointer<FrmReport> reportWindow_;
    QPointer<frmReportEditor> reportEditor_;
    QPointer<frmAbout> about_;
    std::unique_ptr<CallbookManager> callbooks_;  // QRZ, HamQTH and their cache
    ShareSeat* shareSeat_ = nullptr;
    bool netRestored_ = false;  // this run goes on with a net left by a crash
    // What a followed net leaves resting, and whether each was enabled.
    std::vector<std::pair<QPointer<QObject>, bool>> restingWhileFollowed_;
    // Sharing asked for on the command line, started once the net is up.
    void startSharingAsked();
    void askShare(bool follow);
    OperatorIdentity sharingIdentity() const;
    // A followed net is shown, not changed, here: the controls that change
    // it rest until this seat takes over.
    void showShareRole();
    // A roster line may be edited and deleted now (not while a net is followed).
    void enableLineEditing();
    std::function<void()> endProgram_;
    bool ended_ = false;
    bool exitAsked_ = false;  // "73" has asked its questions
    bool settingsWarned_ = false;
};
