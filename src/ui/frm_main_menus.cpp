// The main window's menu, built from one table, and the names assistive
// technology gives its controls.
#include "frm_main.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <string_view>
#include <vector>

namespace {

// One row per menu or item, in order: a deeper level after a row makes that
// row a submenu. Items name the window's pointer and handler.
struct MenuSpec {
    const char* name;
    const char* caption;
    const char* shortcut;
    int level;
    bool checkable = false;
    QMenu* frmMain::*menu = nullptr;
    QAction* frmMain::*item = nullptr;
    void (frmMain::*handler)() = nullptr;
};

using F = frmMain;
const MenuSpec kMenus[] = {
    {"mnuFile", "&File", "", 0, false, &F::mnuFile},
    {"mnuFileOpen", "&Open...", "Ctrl+O", 1, false, nullptr, &F::mnuFileOpen, &F::mnuFileOpen_Click},
    {"Hyphen1", "-", "", 1, false, nullptr, &F::Hyphen1},
    {"mnuFileSave", "&Save", "Ctrl+S", 1, false, nullptr, &F::mnuFileSave, &F::mnuFileSave_Click},
    {"mnuFileSaveAs", "Sa&ve As...", "Ctrl+V", 1, false, nullptr, &F::mnuFileSaveAs, &F::mnuFileSaveAs_Click},
    {"mnuFileExport", "&Export...", "", 1, false, nullptr, &F::mnuFileExport, &F::mnuFileExport_Click},
    {"Hyphen2", "-", "", 1, false, nullptr, &F::Hyphen2},
    {"mnuFilePrint", "&Print...", "", 1, false, &F::mnuFilePrint},
    {"mnuFilePrintPageSetup", "&Page Setup", "Ctrl+P", 2, false, nullptr, &F::mnuFilePrintPageSetup,
     &F::mnuFilePrintPageSetup_Click},
    {"mnuFilePrintFont", "&Font", "", 2, false, nullptr, &F::mnuFilePrintFont, &F::mnuFilePrintFont_Click},
    {"mnuFilePrintSession", "&Session", "Ctrl+G", 2, false, nullptr, &F::mnuFilePrintSession,
     &F::mnuFilePrintSession_Click},
    {"mnuFileDatabase", "&Database", "", 2, false, &F::mnuFileDatabase},
    {"mnuFilePrintDatabase", "&PrintDatabase", "", 3, false, nullptr, &F::mnuFilePrintDatabase,
     &F::mnuFilePrintDatabase_Click},
    {"mnuFilePrintInstructions", "&Instructions", "Ctrl+I", 2, false, nullptr, &F::mnuFilePrintInstructions,
     &F::mnuFilePrintInstructions_Click},
    {"mnuFilePrintPreamble", "P&reamble", "Ctrl+H", 2, false, nullptr, &F::mnuFilePrintPreamble,
     &F::mnuFilePrintPreamble_Click},
    {"mnuFileDisplayDatabase", "&Display Database", "", 1, false, nullptr, &F::mnuFileDisplayDatabase,
     &F::mnuFileDisplayDatabase_Click},
    {"Hyphen3", "-", "", 1, false, nullptr, &F::Hyphen3},
    {"mnuFileExit", "E&xit", "Ctrl+X", 1, false, nullptr, &F::mnuFileExit, &F::mnuFileExit_Click},
    {"mnuEdit", "&Edit", "", 0, false, &F::mnuEdit},
    {"mnuEditAdd", "&Add", "Ctrl+A", 1, false, nullptr, &F::mnuEditAdd, &F::mnuEditAdd_Click},
    {"mnuEditDelete", "&Delete", "Ctrl+D", 1, false, nullptr, &F::mnuEditDelete, &F::mnuEditDelete_Click},
    {"mnuEditEdit", "&Edit", "Ctrl+E", 1, false, nullptr, &F::mnuEditEdit, &F::mnuEditEdit_Click},
    {"mnuChgCtl", "Change Net Ctl/Mgr", "Ctrl+C", 1, false, nullptr, &F::mnuChgCtl, &F::mnuChgCtl_Click},
    {"mnuChgCall", "Change CallSign", "Ctrl+F", 1, false, nullptr, &F::mnuChgCall, &F::mnuChgCall_Click},
    {"mnuEditCheckOut", "Check &Out", "Ctrl+K", 1, false, nullptr, &F::mnuEditCheckOut, &F::mnuEditCheckOut_Click},
    {"mnuEditTrafficUp", "Count &Traffic", "Ctrl+T", 1, false, nullptr, &F::mnuEditTrafficUp,
     &F::mnuEditTrafficUp_Click},
    {"mnuEditTrafficDown", "Take Back Traffic", "Ctrl+Shift+T", 1, false, nullptr, &F::mnuEditTrafficDown,
     &F::mnuEditTrafficDown_Click},
    {"mnuEditLookUp", "Look &Up Unknown Call", "Ctrl+U", 1, false, nullptr, &F::mnuEditLookUp,
     &F::mnuEditLookUp_Click},
    {"mnuGo", "&Go", "", 0, false, &F::mnuGo},
    {"mnuGoCheckIn", "&Check-in Box", "Esc", 1, false, nullptr, &F::mnuGoCheckIn, &F::mnuGoCheckIn_Click},
    {"mnuGoRoster", "&Roster", "F2", 1, false, nullptr, &F::mnuGoRoster, &F::mnuGoRoster_Click},
    {"mnuGoUnknown", "&Unknown Calls", "F3", 1, false, nullptr, &F::mnuGoUnknown, &F::mnuGoUnknown_Click},
    {"mnuGoSuggest", "&Suggestions", "F4", 1, false, nullptr, &F::mnuGoSuggest, &F::mnuGoSuggest_Click},
    {"mnuGoEditor", "&Member Info", "F6", 1, false, nullptr, &F::mnuGoEditor, &F::mnuGoEditor_Click},
    {"mnuFormat", "F&ormat", "", 0, false, &F::mnuFormat},
    {"mnuFormatControls", "CONTROLS", "", 1, false, &F::mnuFormatControls},
    {"mnuFormatControlsFont", "Fo&nt", "Ctrl+N", 2, false, nullptr, &F::mnuFormatControlsFont,
     &F::mnuFormatControlsFont_Click},
    {"mnuFormatControlsColor", "Font Co&lor", "Ctrl+L", 2, false, nullptr, &F::mnuFormatControlsColor,
     &F::mnuFormatControlsColor_Click},
    {"mnuFormatControlsBackgroundColor", "Backg&round Color", "Ctrl+R", 2, false, nullptr,
     &F::mnuFormatControlsBackgroundColor, &F::mnuFormatControlsBackgroundColor_Click},
    {"mnuFormatForm", "FORM", "", 1, false, &F::mnuFormatForm},
    {"mnuFormatFormFont", "Font", "", 2, false, nullptr, &F::mnuFormatFormFont, &F::mnuFormatFormFont_Click},
    {"mnuFormatFormFontColor", "Font Color", "", 2, false, nullptr, &F::mnuFormatFormFontColor,
     &F::mnuFormatFormFontColor_Click},
    {"mnuFormatFormBackgroundColor", "Background Color", "", 2, false, nullptr, &F::mnuFormatFormBackgroundColor,
     &F::mnuFormatFormBackgroundColor_Click},
    {"mnuFormatFormLineColor", "Line Color", "", 2, false, nullptr, &F::mnuFormatFormLineColor,
     &F::mnuFormatFormLineColor_Click},
    {"mnuFormatFormData", "FormData", "", 1, false, &F::mnuFormatFormData},
    {"mnuFormatFormDataFont", "Font", "", 2, false, nullptr, &F::mnuFormatFormDataFont,
     &F::mnuFormatFormDataFont_Click},
    {"mnuFormatFormDataFontColor", "Font Color", "", 2, false, nullptr, &F::mnuFormatFormDataFontColor,
     &F::mnuFormatFormDataFontColor_Click},
    {"mnuFormatFormDataMemberColor", "Member Color", "", 2, false, nullptr, &F::mnuFormatFormDataMemberColor,
     &F::mnuFormatFormDataMemberColor_Click},
    {"mnuFormatPreamble", "Preamble", "", 1, false, &F::mnuFormatPreamble},
    {"mnuFormatPreambleFont", "Font", "", 2, false, nullptr, &F::mnuFormatPreambleFont,
     &F::mnuFormatPreambleFont_Click},
    {"mnuFormatPreambleFontColor", "Font Color", "", 2, false, nullptr, &F::mnuFormatPreambleFontColor,
     &F::mnuFormatPreambleFontColor_Click},
    {"mnuFormatPreambleSaveChanges", "Save Changes", "Alt+Backspace", 2, false, nullptr,
     &F::mnuFormatPreambleSaveChanges, &F::mnuFormatPreambleSaveChanges_Click},
    {"mnuReports", "&Reports", "", 0, false, &F::mnuReports},
    {"mnuReportsMonthly", "&Monthly Report", "Ctrl+M", 1, false, nullptr, &F::mnuReportsMonthly,
     &F::mnuReportsMonthly_Click},
    {"mnuReportEditor", "&Report Editor", "", 1, false, nullptr, &F::mnuReportEditor, &F::mnuReportEditor_Click},
    {"mnuOptions", "&Options", "", 0, false, &F::mnuOptions},
    {"mnuOptionsDisableEnterKeyDing", "Disable Enter key Ding", "", 1, true, nullptr,
     &F::mnuOptionsDisableEnterKeyDing, &F::mnuOptionsDisableEnterKeyDing_Click},
    {"mnuOptionsDisableAutoInsert", "Disable Auto Call Insert", "", 1, true, nullptr, &F::mnuOptionsDisableAutoInsert,
     &F::mnuOptionsDisableAutoInsert_Click},
    {"mnuOptionsDisableWindowFlash", "Disable Window Flash", "", 1, true, nullptr, &F::mnuOptionsDisableWindowFlash,
     &F::mnuOptionsDisableWindowFlash_Click},
    {"mnuOptionsSpeakStatus", "Speak Status", "", 1, true, nullptr, &F::mnuOptionsSpeakStatus,
     &F::mnuOptionsSpeakStatus_Click},
    {"mnuOptionsChangeQRZLogin", "Change Callbook Login", "", 1, false, nullptr, &F::mnuOptionsChangeQRZLogin,
     &F::mnuOptionsChangeQRZLogin_Click},
    {"Hyphen4", "-", "", 1, false, nullptr, &F::Hyphen4},
    {"mnuOptionsShare", "&Share the Net...", "", 1, false, nullptr, &F::mnuOptionsShare, &F::mnuOptionsShare_Click},
    {"mnuOptionsFollow", "&Follow a Net...", "", 1, false, nullptr, &F::mnuOptionsFollow, &F::mnuOptionsFollow_Click},
    {"mnuOptionsTakeOver", "&Take Over the Net", "", 1, false, nullptr, &F::mnuOptionsTakeOver,
     &F::mnuOptionsTakeOver_Click},
    {"mnuOptionsStopSharing", "Sto&p Sharing", "", 1, false, nullptr, &F::mnuOptionsStopSharing,
     &F::mnuOptionsStopSharing_Click},
    {"mnuHelp", "&Help", "", 0, false, &F::mnuHelp},
    {"mnuAbout", "A&bout", "Ctrl+B", 1, false, nullptr, &F::mnuAbout, &F::mnuAbout_Click},
};

}  // namespace

void frmMain::buildMenus()
{
    std::vector<QMenu*> parents;  // open menus by level
    for (const MenuSpec& m : kMenus) {
        const QString name = QLatin1String(m.name);
        const QString caption = QString::fromLatin1(m.caption);
        parents.resize(size_t(m.level));
        if (m.menu) {
            QMenu* menu = m.level == 0 ? menuBar()->addMenu(caption) : parents.back()->addMenu(caption);
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name);
            this->*m.menu = menu;
            parents.push_back(menu);
            continue;
        }
        QAction* action = caption == QLatin1String("-") ? parents.back()->addSeparator() : parents.back()->addAction(caption);
        action->setObjectName(name);
        if (*m.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(m.shortcut)));
        action->setCheckable(m.checkable);
        this->*m.item = action;
        if (m.handler)
            connect(action, &QAction::triggered, this, m.handler);
        // A check mark is the option itself: whoever sets it, the session follows.
        if (m.checkable)
            connect(action, &QAction::toggled, this, &frmMain::readOptions);
    }
}

void frmMain::nameControlsForAssistiveTechnology()
{
    // Captions name themselves; these are the controls whose caption is a
    // figure, a picture or nothing, and those a few words help.
    struct Name {
        const char* control;
        const char* name;
        const char* description;
    };
    static const Name kNames[] = {
        {"client", "Net control logger", ""},
        {"Fra1", "Check-in", ""},
        {"TxtChkin", "Call to check in", "Type a call sign and press Enter"},
        {"lblStatus", "Status", ""},
        {"lblIDTime", "Station ID time", "Give your call sign now"},
        {"lst1", "Stations in the net", "Ctrl+E edits, Ctrl+D deletes, Ctrl+F changes the call, Ctrl+K checks out"},
        {"lstNF", "Unknown calls", "Enter adds the call as a member; Ctrl+U looks it up"},
        {"lstSG", "Suggested members", "Enter checks the member in"},
        {"cmdHide", "Clear search results", ""},
        {"lblChkins", "Check-ins", ""},
        {"lblTraffic", "Traffic", "Ctrl+T counts a message, Ctrl+Shift+T takes one back"},
        {"lblMembers", "Members", ""},
        {"lblNetCtl", "", "Net control"},
        {"lblNetMgr", "", "Net manager"},
        {"CmdChange", "Change net manager", ""},
        {"CmdExit", "End the net", "73"},
        {"lblMode", "Member editor mode", ""},
        {"txtCall", "Member call", ""},
        {"txtName", "Member name", ""},
        {"TxtCS", "Member QTH", ""},
        {"TxtNew", "New call", ""},
        {"cmdSave", "Save member", ""},
        {"cmdCancel", "Cancel", ""},
        {"fraInfo", "Documents", ""},
        {"optInstructions", "Show the instructions", ""},
        {"optPreamble", "Show the preamble", ""},
        {"rtfInfo", "Preamble and instructions", "Format, Preamble, Save Changes keeps edits"},
        {"Image1", "Association logo", ""},
        {"Text1", "Callbook reply", ""},
    };
    for (const Name& n : kNames) {
        QWidget* w = n.control == std::string_view("client") ? client_ : findChild<QWidget*>(QLatin1String(n.control));
        if (!w)
            continue;
        if (*n.name)
            w->setAccessibleName(QString::fromLatin1(n.name));
        if (*n.description)
            w->setAccessibleDescription(QString::fromLatin1(n.description));
    }
}
