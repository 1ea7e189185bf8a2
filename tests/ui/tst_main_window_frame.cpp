#include "core/settings_store.h"
#include "fakes.h"
#include "member_files.h"
#include "test_home.h"
#include "test_main.h"
#include "platform/desktop_identity.h"
#include "ui/fit_widgets.h"
#include "ui/frm_about.h"
#include "ui/frm_main.h"
#include "ui/ui_style.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <memory>

// The window's frame: menus, start-up, layout, ID alerts and options.
class TstMainWindowFrame : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void menuTree();
    void initialMenuStates_data();
    void initialMenuStates();
    void controlTable_data();
    void controlTable();
    void captionCarriesTheDate();
    void menuIconOnEveryWindow();
    void locksOnlyWhenDifferent_data();
    void locksOnlyWhenDifferent();
    void optionsOnFirstAndLaterRuns();
    void optionTogglesPersist();
    void failedSettingsWriteToldOnce();
    void optionsReadAtUse();
    void cleanUpOnlyAfterFirstRun();
    void layoutFollowsFractions_data();
    void layoutFollowsFractions();
    void separatorLinesAtFractions();
    void rescaleKeepsDesignAtDesignSize();
    void maximizedFontRules();
    void idAlertOnFakedClock();
    void idAlertOnlyForTheNetControl();
    void idLabelGrowsOnlyOn1280x960();
    void rosterClickEnablesEditing();
    void rightClickOpensEditMenu();
    void exitButtonTurnsGreenOnPress();
    void menuShortcutsWinOverTextBoxes();
    void renderAtScreenSizes_data();
    void renderAtScreenSizes();

private:
    std::unique_ptr<frmMain> open(bool show = true)
    {
        auto w = std::make_unique<frmMain>(fakes_->platform, state_, *settings_);
        if (show) {
            w->show();
            if (!QTest::qWaitForWindowExposed(w.get()))
                qWarning("window not exposed");
        }
        return w;
    }
    void laterRun() { settings_->SaveSetting("First", "Firstime", "FALSE"); }

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<FakePlatform> fakes_;
    std::unique_ptr<SettingsStore> settings_;
    ProgramState state_;
};

void TstMainWindowFrame::init()
{
    home_ = std::make_unique<TestHome>();
    fakes_ = std::make_unique<FakePlatform>();
    state_ = ProgramState();
    state_.paths = Paths::forCurrentUser();
    state_.screenWidth = 1920;
    state_.screenHeight = 1080;
    settings_ = std::make_unique<SettingsStore>(state_.paths.settingsFile);
    writeMemberFile(home_->memberFile(), {{"W1AW", "HIRAM", "NEWINGTON CT"}, {"K9XYZ", "JO", "PEORIA IL"}});
}

void TstMainWindowFrame::cleanup()
{
    settings_.reset();
    fakes_.reset();
    home_.reset();
}

namespace {

// level, caption, shortcut, checkable; "-" is a separator, ">" opens a submenu
struct Expected {
    int level;
    QString name;
    QString caption;
    QString shortcut;
};

void walk(QMenu* menu, int level, QList<Expected>& out)
{
    for (QAction* a : menu->actions()) {
        out.append({level, a->objectName(), a->isSeparator() ? QString("-") : a->text(),
                    a->shortcut().toString(QKeySequence::PortableText)});
        if (a->menu())
            walk(a->menu(), level + 1, out);
    }
}

}  // namespace

void TstMainWindowFrame::menuTree()
{
    auto w = open(false);
    const QList<Expected> expected = {
        {0, "mnuFile", "&File", ""},
        {1, "mnuFileOpen", "&Open...", "Ctrl+O"},
        {1, "Hyphen1", "-", ""},
        {1, "mnuFileSave", "&Save", "Ctrl+S"},
        {1, "mnuFileSaveAs", "Sa&ve As...", "Ctrl+V"},
        {1, "mnuFileExport", "&Export...", ""},
        {1, "Hyphen2", "-", ""},
        {1, "mnuFilePrint", "&Print...", ""},
        {2, "mnuFilePrintPageSetup", "&Page Setup", "Ctrl+P"},
        {2, "mnuFilePrintFont", "&Font", ""},
        {2, "mnuFilePrintSession", "&Session", "Ctrl+G"},
        {2, "mnuFileDatabase", "&Database", ""},
        {3, "mnuFilePrintDatabase", "&PrintDatabase", ""},
        {2, "mnuFilePrintInstructions", "&Instructions", "Ctrl+I"},
        {2, "mnuFilePrintPreamble", "P&reamble", "Ctrl+H"},
        {1, "mnuFileDisplayDatabase", "&Display Database", ""},
        {1, "Hyphen3", "-", ""},
        {1, "mnuFileExit", "E&xit", "Ctrl+X"},
        {0, "mnuEdit", "&Edit", ""},
        {1, "mnuEditAdd", "&Add", "Ctrl+A"},
        {1, "mnuEditDelete", "&Delete", "Ctrl+D"},
        {1, "mnuEditEdit", "&Edit", "Ctrl+E"},
        {1, "mnuChgCtl", "Change Net Ctl/Mgr", "Ctrl+C"},
        {1, "mnuChgCall", "Change CallSign", "Ctrl+F"},
        {1, "mnuEditCheckOut", "Check &Out", "Ctrl+K"},
        {1, "mnuEditTrafficUp", "Count &Traffic", "Ctrl+T"},
        {1, "mnuEditTrafficDown", "Take Back Traffic", "Ctrl+Shift+T"},
        {1, "mnuEditLookUp", "Look &Up Unknown Call", "Ctrl+U"},
        {0, "mnuGo", "&Go", ""},
        {1, "mnuGoCheckIn", "&Check-in Box", "Esc"},
        {1, "mnuGoRoster", "&Roster", "F2"},
        {1, "mnuGoUnknown", "&Unknown Calls", "F3"},
        {1, "mnuGoSuggest", "&Suggestions", "F4"},
        {1, "mnuGoEditor", "&Member Info", "F6"},
        {0, "mnuFormat", "F&ormat", ""},
        {1, "mnuFormatControls", "CONTROLS", ""},
        {2, "mnuFormatControlsFont", "Fo&nt", "Ctrl+N"},
        {2, "mnuFormatControlsColor", "Font Co&lor", "Ctrl+L"},
        {2, "mnuFormatControlsBackgroundColor", "Backg&round Color", "Ctrl+R"},
        {1, "mnuFormatForm", "FORM", ""},
        {2, "mnuFormatFormFont", "Font", ""},
        {2, "mnuFormatFormFontColor", "Font Color", ""},
        {2, "mnuFormatFormBackgroundColor", "Background Color", ""},
        {2, "mnuFormatFormLineColor", "Line Color", ""},
        {1, "mnuFormatFormData", "FormData", ""},
        {2, "mnuFormatFormDataFont", "Font", ""},
        {2, "mnuFormatFormDataFontColor", "Font Color", ""},
        {2, "mnuFormatFormDataMemberColor", "Member Color", ""},
        {1, "mnuFormatPreamble", "Preamble", ""},
        {2, "mnuFormatPreambleFont", "Font", ""},
        {2, "mnuFormatPreambleFontColor", "Font Color", ""},
        {2, "mnuFormatPreambleSaveChanges", "Save Changes", "Alt+Backspace"},
        {0, "mnuReports", "&Reports", ""},
        {1, "mnuReportsMonthly", "&Monthly Report", "Ctrl+M"},
        {1, "mnuReportEditor", "&Report Editor", ""},
        {0, "mnuOptions", "&Options", ""},
        {1, "mnuOptionsDisableEnterKeyDing", "Disable Enter key Ding", ""},
        {1, "mnuOptionsDisableAutoInsert", "Disable Auto Call Insert", ""},
        {1, "mnuOptionsDisableWindowFlash", "Disable Window Flash", ""},
        {1, "mnuOptionsSpeakStatus", "Speak Status", ""},
        {1, "mnuOptionsChangeQRZLogin", "Change Callbook Login", ""},
        {1, "Hyphen4", "-", ""},
        {1, "mnuOptionsShare", "&Share the Net...", ""},
        {1, "mnuOptionsFollow", "&Follow a Net...", ""},
        {1, "mnuOptionsTakeOver", "&Take Over the Net", ""},
        {1, "mnuOptionsStopSharing", "Sto&p Sharing", ""},
        {0, "mnuHelp", "&Help", ""},
        {1, "mnuAbout", "A&bout", "Ctrl+B"},
    };
    QList<Expected> actual;
    for (QAction* top : w->menuBar()->actions()) {
        actual.append({0, top->objectName(), top->text(), top->shortcut().toString(QKeySequence::PortableText)});
        walk(top->menu(), 1, actual);
    }
    QCOMPARE(actual.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const QString where = expected[i].name;
        QVERIFY2(actual[i].level == expected[i].level, qPrintable(where));
        QCOMPARE(actual[i].name, expected[i].name);
        QCOMPARE(actual[i].caption, expected[i].caption);
        QCOMPARE(actual[i].shortcut, expected[i].shortcut);
    }
    // Only the option switches carry check marks.
    for (QAction* a : w->menuBar()->findChildren<QAction*>())
        QCOMPARE(a->isCheckable(),
                 a->objectName().startsWith("mnuOptionsDisable") || a->objectName() == "mnuOptionsSpeakStatus");
}

void TstMainWindowFrame::initialMenuStates_data()
{
    QTest::addColumn<bool>("later");
    QTest::addColumn<int>("printers");
    QTest::addColumn<bool>("printEnabled");
    QTest::newRow("first run, no printer") << false << 0 << true;
    QTest::newRow("later run, no printer") << true << 0 << false;
    QTest::newRow("later run, printer") << true << 2 << true;
}

void TstMainWindowFrame::initialMenuStates()
{
    QFETCH(bool, later);
    QFETCH(int, printers);
    QFETCH(bool, printEnabled);
    if (later)
        laterRun();
    fakes_->printers.installed = printers;
    auto w = open(false);
    QCOMPARE(w->PrinterCount(), printers);
    QVERIFY(!w->mnuEditEdit->isEnabled());
    QVERIFY(!w->mnuEditDelete->isEnabled());
    QVERIFY(w->mnuEditAdd->isEnabled());
    QCOMPARE(w->mnuFilePrint->isEnabled(), printEnabled);
    QVERIFY(!w->mnuOptionsChangeQRZLogin->isChecked());
}

void TstMainWindowFrame::controlTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("size");
    QTest::addColumn<bool>("bold");
    auto row = [](const char* n, const char* c, const char* cap, bool vis, const char* fam, double size, bool bold) {
        QTest::newRow(n) << QString(n) << QString(c) << QString(cap) << vis << QString(fam) << size << bold;
    };
    row("optInstructions", "fraInfo", " INSTRUCTIONS", true, "MS Sans Serif", 9.6, true);
    row("optPreamble", "fraInfo", " PREAMBLE", true, "MS Sans Serif", 9.6, true);
    row("rtfInfo", "fraInfo", "", true, "Times New Roman", 12, true);
    row("TxtChkin", "Fra1", "", true, "Arial", 28.8, true);
    row("lblIDTime", "Fra1", "ID TIME", false, "Arial", 36, true);
    row("lblStatus", "Fra1", "", false, "Arial", 18, true);
    row("Label3", "Fra1", "CALL", true, "Arial", 12, true);
    row("FraSearch", "client", "SEARCH RESULTS", true, "Arial", 13.8, false);
    row("cmdHide", "FraSearch", "CLEAR", true, "Arial", 10.8, true);
    row("lstSG", "FraSearch", "", true, "Arial", 12, false);
    row("lstNF", "FraSearch", "", true, "Arial", 12, false);
    row("lblSG", "FraSearch", "SUGGEST", true, "Arial", 12, true);
    row("LblNF1", "FraSearch", "UNKNOWN", true, "Arial", 12, true);
    row("fraFormData", "client", "NET INFO", true, "Arial", 13.8, true);
    row("CmdChange", "fraFormData", "CHANGE", true, "Arial", 12, true);
    row("lblTraffic", "fraFormData", "0", true, "Arial", 24, true);
    row("lblChkins", "fraFormData", "0", true, "Arial", 24, true);
    row("lblNetCtl", "fraFormData", "", true, "Arial", 13.8, true);
    row("lblNetMgr", "fraFormData", "", true, "Arial", 13.8, true);
    row("Label2", "fraFormData", "NET MANAGER", true, "Arial", 12, true);
    row("Label4", "fraFormData", "NET CONTROL", true, "Arial", 12, true);
    row("Label6", "fraFormData", "CHECK INS", true, "Arial", 12, true);
    row("Label1", "fraFormData", "TRAFFIC", true, "Arial", 12, true);
    row("Label5", "fraFormData", "  MEMBERS", true, "Arial", 12, true);
    row("lblMembers", "fraFormData", "2", true, "Arial", 24, true);
    row("FraStations", "client", "STATIONS IN THE NET", true, "Arial", 13.8, true);
    row("lst1", "FraStations", "", true, "Arial", 10.8, false);
    row("fraAdd", "client", "MEMBER INFO", true, "MS Sans Serif", 9.6, true);
    row("TxtCS", "fraAdd", "", true, "Arial", 10.8, false);
    row("TxtNew", "fraAdd", "", false, "Arial", 10.8, false);
    row("txtCall", "fraAdd", "", true, "Arial", 10.8, false);
    row("txtName", "fraAdd", "", true, "Arial", 10.8, false);
    row("lblName", "fraAdd", "NAME", true, "Arial", 9, true);
    row("lblCS", "fraAdd", "QTH", true, "Arial", 9, true);
    row("LblNew", "fraAdd", "NEW CALL", false, "Arial", 9, true);
    row("lblMode", "fraAdd", "", true, "Arial", 12, true);
    row("lblCall", "fraAdd", "CALL", true, "Arial", 10.8, true);
    row("CmdExit", "client", "73", true, "Arial", 24, true);
    row("Image1", "client", "", true, "", 0, false);
    row("Text1", "client", "Text1", false, "", 0, false);
}

void TstMainWindowFrame::controlTable()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QString, caption);
    QFETCH(bool, visible);
    QFETCH(QString, family);
    QFETCH(double, size);
    QFETCH(bool, bold);
    laterRun();  // a later start with nothing stored shows the controls as built
    auto w = open();
    QWidget* c = w->findChild<QWidget*>(name);
    QVERIFY(c);
    QCOMPARE(c->parentWidget()->objectName(), container);
    QString text;
    if (auto* l = qobject_cast<QLabel*>(c))
        text = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(c))
        text = b->text();
    else if (auto* g = qobject_cast<QGroupBox*>(c))
        text = g->title();
    else if (auto* e = qobject_cast<QLineEdit*>(c))
        text = e->text();
    if (name == "Text1")
        text = "Text1";
    QCOMPARE(text, caption);
    QCOMPARE(c->isVisible(), visible);
    if (!family.isEmpty()) {
        QCOMPARE(c->font().family(), family);
        QCOMPARE(c->font().bold(), bold);
        // The design size, as captured before any rescaling.
        double design = 0;
        for (const auto& g : w->designGeometry())
            if (g.control == c)
                design = g.fontSize;
        QCOMPARE(design, size);
    }
}

void TstMainWindowFrame::captionCarriesTheDate()
{
    fakes_->clock.current = QDateTime(QDate(2026, 3, 4), QTime(19, 0));
    auto w = open(false);
    QCOMPARE(w->windowTitle(), "VELNOR Association  Net Version 1 B1   "
                                   + QLocale::system().toString(QDate(2026, 3, 4), QLocale::ShortFormat));
}

// As main() starts the program: the menu entry's id and icon, application-wide.
void TstMainWindowFrame::menuIconOnEveryWindow()
{
    InstallDesktopIdentity();
    QCOMPARE(QGuiApplication::desktopFileName(), QString("com.pellamsoftware.veln"));
    const QIcon icon = QApplication::windowIcon();
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    QVERIFY(icon.availableSizes().contains(QSize(256, 256)));
    auto w = open(false);
    w->mnuAbout->trigger();
    auto* about = w->findChild<frmAbout*>();
    QVERIFY(about);
    // No window puts an icon of its own in the way.
    QCOMPARE(w->windowIcon().cacheKey(), icon.cacheKey());
    QCOMPARE(about->windowIcon().cacheKey(), icon.cacheKey());
}

void TstMainWindowFrame::locksOnlyWhenDifferent_data()
{
    QTest::addColumn<bool>("caps");
    QTest::addColumn<bool>("num");
    QTest::addColumn<int>("changes");
    QTest::newRow("caps off, num on") << false << true << 2;
    QTest::newRow("already right") << true << false << 0;
    QTest::newRow("caps only") << false << false << 1;
}

void TstMainWindowFrame::locksOnlyWhenDifferent()
{
    QFETCH(bool, caps);
    QFETCH(bool, num);
    QFETCH(int, changes);
    fakes_->keyboard.caps = caps;
    fakes_->keyboard.num = num;
    auto w = open(false);
    QCOMPARE(fakes_->keyboard.changes.size(), changes);
    QVERIFY(fakes_->keyboard.caps);
    QVERIFY(!fakes_->keyboard.num);
}

void TstMainWindowFrame::optionsOnFirstAndLaterRuns()
{
    {
        auto w = open(false);
        QVERIFY(!w->mnuOptionsDisableAutoInsert->isChecked());
        QCOMPARE(settings_->GetSetting("Options", "Disable_AI"), QString());  // nothing read or written
    }
    laterRun();
    settings_->SaveSetting("Options", "Disable_WindowFlash", "true");
    auto w = open(false);
    QVERIFY(w->mnuOptionsDisableWindowFlash->isChecked());
    QVERIFY(!w->mnuOptionsDisableAutoInsert->isChecked());
    QCOMPARE(settings_->GetSetting("Options", "Disable_AI"), QString("False"));
    QCOMPARE(settings_->GetSetting("Options", "Disable_EnterKeyDing"), QString("False"));
    QCOMPARE(settings_->GetSetting("Options", "Disable_WindowFlash"), QString("true"));
}

void TstMainWindowFrame::optionTogglesPersist()
{
    laterRun();
    {
        auto w = open(false);
        w->mnuOptionsDisableAutoInsert->trigger();
        QCOMPARE(settings_->GetSetting("Options", "Disable_AI"), QString("True"));
        w->mnuOptionsDisableEnterKeyDing->trigger();
        w->mnuOptionsDisableEnterKeyDing->trigger();  // twice: back where it was
        QCOMPARE(settings_->GetSetting("Options", "Disable_EnterKeyDing"), QString("False"));
        w->mnuOptionsDisableWindowFlash->trigger();
    }
    auto w = open(false);
    QVERIFY(w->mnuOptionsDisableAutoInsert->isChecked());
    QVERIFY(!w->mnuOptionsDisableEnterKeyDing->isChecked());
    QVERIFY(w->mnuOptionsDisableWindowFlash->isChecked());
}

void TstMainWindowFrame::failedSettingsWriteToldOnce()
{
    // A settings folder that cannot be made: every write fails.
    writeBytes(home_->path() + "/blocked", "a file, not a folder");
    settings_ = std::make_unique<SettingsStore>(home_->path() + "/blocked/VELN.ini");
    auto w = open(false);
    const int before = int(fakes_->prompts.shown.size());
    w->mnuOptionsDisableWindowFlash->trigger();
    w->mnuOptionsDisableAutoInsert->trigger();
    QCOMPARE(int(fakes_->prompts.shown.size()), before + 1);
    const auto& told = fakes_->prompts.shown.last();
    QVERIFY(told.text.startsWith("Your settings could not be stored."));
    QVERIFY2(told.text.contains("blocked"), qPrintable(told.text));  // names the file
    QVERIFY(w->mnuOptionsDisableWindowFlash->isChecked());  // the option holds for this run
}

void TstMainWindowFrame::optionsReadAtUse()
{
    state_.netControlName = "JO";
    state_.netControlCall = "K9XYZ";
    laterRun();
    settings_->SaveSetting("Options", "Disable_AI", "True");
    auto w = open();
    QCOMPARE(w->lst1->count(), 0);  // no automatic check-in at start

    // Flash: read at the moment of the unknown call.
    w->mnuOptionsDisableWindowFlash->trigger();
    w->TxtChkin->setText("W9ZZZ");
    w->txtChkin_KeyDown(13);
    QVERIFY(!w->Timer2->isActive());
    w->mnuOptionsDisableWindowFlash->trigger();
    w->TxtChkin->setText("W8ZZZ");
    w->txtChkin_KeyDown(13);
    QVERIFY(w->Timer2->isActive());

    // Enter still checks in with the ding disabled; the key itself is dropped.
    w->mnuOptionsDisableEnterKeyDing->trigger();
    QVERIFY(!w->TxtChkin_KeyPress(QChar(13)));
    QVERIFY(w->TxtChkin_KeyPress(QChar('A')));
    w->TxtChkin->setFocus();
    QTest::keyClicks(w->TxtChkin, "w1aw");
    QTest::keyClick(w->TxtChkin, Qt::Key_Return);
    QCOMPARE(w->lst1->count(), 1);
}

void TstMainWindowFrame::cleanUpOnlyAfterFirstRun()
{
    settings_->SaveSetting("Settings", "Top", "10");
    settings_->SaveSetting("Settings", "Width", "10");
    { auto w = open(false); }
    QCOMPARE(settings_->GetSetting("Settings", "Top"), QString("10"));
    laterRun();
    { auto w = open(false); }
    QCOMPARE(settings_->GetSetting("Settings", "Top"), QString());
    QCOMPARE(settings_->GetSetting("Settings", "Width"), QString());
}

void TstMainWindowFrame::layoutFollowsFractions_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("1920x1040") << QSize(1920, 1040);
    QTest::newRow("1024x700") << QSize(1024, 700);
}

void TstMainWindowFrame::layoutFollowsFractions()
{
    QFETCH(QSize, client);
    auto w = open();
    w->centralWidget()->resize(client);
    w->ApplyMainLayout();
    const double W = client.width() * 15.0, H = client.height() * 15.0;
    auto px = [](double twips) { return int(std::lround(twips / 15.0)); };
    struct Check {
        const char* name;
        double left, top, width, height;  // twips, relative to the container
    };
    const double fraH = 0.16 * H, fraW = 0.68 * W;   // fraFormData
    const double f1H = 0.19 * H, f1W = 0.26 * W;     // Fra1
    const double stH = 0.757 * H, stW = 0.31 * W;    // FraStations
    const double srH = 0.215 * H, srW = 0.26 * W;    // FraSearch
    const Check checks[] = {
        {"Image1", 0.0104 * W, 0.0206 * H, 0.17 * W, 0.165 * H},
        {"fraFormData", 0.19 * W, 0.0206 * H, fraW, fraH},
        {"Label6", 0.03 * fraW, 0.25 * fraH, 0.095 * fraW, 0.15 * fraH},
        {"lblChkins", 0.046 * fraW, 0.45 * fraH, 0.06 * fraW, 0.4 * fraH},
        {"lblTraffic", 0.18 * fraW, 0.45 * fraH, 0.06 * fraW, 0.4 * fraH},
        {"lblMembers", 0.3 * fraW, 0.45 * fraH, 0.085 * fraW, 0.4 * fraH},
        {"CmdChange", 0.89 * fraW, 0.45 * fraH, 0.09 * fraW, 0.3 * fraH},
        {"CmdExit", 0.9 * W, 0.06 * H, 0.065 * W, 0.08 * H},
        {"Fra1", 0.0157 * W, 0.21 * H, f1W, f1H},
        {"TxtChkin", 0.19 * f1W, 0.092 * f1H, 0.75 * f1W, 0.2876 * f1H},
        {"lblIDTime", 0.19 * f1W, 0.47 * f1H, 0.75 * f1W, 0.4 * f1H},
        {"fraAdd", 0.0157 * W, 0.43 * H, 0.26 * W, 0.28 * H},
        {"FraSearch", 0.0157 * W, 0.75 * H, srW, srH},
        {"cmdHide", 0.35 * srW, 0.45 * srH, 0.27 * srW, 0.2 * srH},
        {"lstNF", 0.03 * srW, 0.3 * srH, 0.3 * srW, 0.65 * srH},
        {"lstSG", 0.65 * srW, 0.3 * srH, 0.3 * srW, 0.65 * srH},
        {"FraStations", 0.295 * W, 0.21 * H, stW, stH},
        {"lst1", 0.021 * stW, 0.046 * stH, 0.954 * stW, 0.93 * stH},
        {"fraInfo", 0.625 * W, 0.21 * H, 0.359 * W, 0.75 * H},
        {"rtfInfo", 0.021 * stW, 0.046 * stH + 100, 0.35 * W, 0.92 * 0.75 * H},
    };
    for (const Check& c : checks) {
        QWidget* wgt = w->findChild<QWidget*>(c.name);
        QVERIFY2(wgt, c.name);
        const QRect g = wgt->geometry();
        const QRect want(px(c.left), px(c.top), px(c.width), px(c.height));
        // One pixel of rounding either way.
        auto near = [&](int got, int wanted) { return std::abs(got - wanted) <= 1; };
        QVERIFY2(std::abs(g.x() - want.x()) <= 1 && std::abs(g.y() - want.y()) <= 1 && near(g.width(), want.width())
                     && near(g.height(), want.height()),
                 qPrintable(QString("%1: got %2,%3 %4x%5 want %6,%7 %8x%9")
                                .arg(c.name)
                                .arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height())
                                .arg(want.x()).arg(want.y()).arg(want.width()).arg(want.height())));
    }
    // The status line sits at the frame's own left inside the frame, w - 500 wide.
    QCOMPARE(w->lblStatus->x(), px(0.0157 * W));
    QVERIFY(std::abs(w->lblStatus->width() - px(f1W - 500)) <= 1);
}

void TstMainWindowFrame::separatorLinesAtFractions()
{
    auto w = open();
    w->centralWidget()->resize(1600, 1000);
    w->ApplyMainLayout();
    const QList<QLineF> lines = w->separatorLines();
    QCOMPARE(lines.size(), 9);  // four sides of the box and five lines
    QCOMPARE(lines[0], QLineF(8, 8, 1600 - 8, 8));
    QCOMPARE(lines[4], QLineF(1600 / 1.625, 160, 1600 / 1.625, 1000 - 8));
    QCOMPARE(lines[5], QLineF(8, 1000 / 5.0, 1600 - 8, 1000 / 5.0));
    QCOMPARE(lines[6], QLineF(1600 / 3.5, 160, 1600 / 3.5, 1000 - 8));
    QCOMPARE(lines[7], QLineF(8, 1000 / 2.39, 1600 / 3.5, 1000 / 2.39));
    QCOMPARE(lines[8], QLineF(8, 1000 / 1.37, 1600 / 3.5, 1000 / 1.37));
    // Drawn in the line colour (black until appearance settings exist).
    const QImage shot = w->centralWidget()->grab().toImage();
    QCOMPARE(QColor(shot.pixel(465, 200)), QColor(Qt::black));
    QCOMPARE(QColor(shot.pixel(int(1600 / 3.5), 600)), QColor(Qt::black));
    QCOMPARE(QColor(shot.pixel(465, 230)), Ui::kAppWorkspace);  // between the lines
}

void TstMainWindowFrame::rescaleKeepsDesignAtDesignSize()
{
    auto w = open();
    w->centralWidget()->resize(1160, 714);
    w->RescaleControls();
    for (const auto& g : w->designGeometry()) {
        if (g.fontSize > 0)
            QVERIFY2(std::abs(g.control->font().pointSizeF() - g.fontSize) < 0.05, qPrintable(g.control->objectName()));
    }
    // Controls the layout pass leaves alone keep their design place.
    const auto& geo = w->designGeometry();
    for (const auto& g : geo)
        if (g.control == w->optPreamble)
            QCOMPARE(w->optPreamble->x(), int(std::lround(g.left / 15)));
    // Half the height halves the fonts while not maximized.
    w->centralWidget()->resize(1160, 357);
    w->RescaleControls();
    QVERIFY(std::abs(w->TxtChkin->font().pointSizeF() - 14.4) < 0.05);
}

void TstMainWindowFrame::maximizedFontRules()
{
    laterRun();
    settings_->SaveSetting("Screen", "Size", "0");
    settings_->SaveSetting("Form", "Size", "20");
    settings_->SaveSetting("FormData", "Size", "11.25");
    auto w = open(false);
    w->showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QTRY_VERIFY(w->isMaximized());
    w->Form_Resize();
    QCOMPARE(w->lst1->font().pointSize(), 10);
    QCOMPARE(w->txtName->font().pointSize(), 10);
    QCOMPARE(w->FraSearch->font().pointSizeF(), 18.0);
    QCOMPARE(w->FraStations->font().pointSizeF(), 18.0);
    QCOMPARE(w->fraFormData->font().pointSizeF(), 18.0);
    QCOMPARE(w->fraAdd->font().pointSizeF(), 20.0);
    QCOMPARE(w->Label1->font().pointSizeF(), 20.0);
    QCOMPARE(w->lblNetMgr->font().pointSizeF(), 11.25);
}

void TstMainWindowFrame::idAlertOnFakedClock()
{
    settings_->SaveSetting("Settings", "User Name", "JO");
    state_.netControlName = "JO";
    state_.netControlCall = "K9XYZ";
    auto w = open();
    QVERIFY(w->IDTimer->isActive());
    QCOMPARE(w->IDTimer->interval(), 1000);
    w->IDTimer->stop();  // ticks by hand
    const QString idSound = state_.paths.documentsFolder + "IDTime.wav";
    auto tick = [&](int h, int m, int s) {
        fakes_->clock.current = QDateTime(QDate(2026, 12, 8), QTime(h, m, s));
        w->IDTimer_Timer();
    };
    w->showStatus("SOMETHING");
    tick(19, 38, 59);
    QVERIFY(!w->Timer1->isActive());
    QVERIFY(!fakes_->sound.played.contains(idSound));
    tick(19, 39, 0);
    QVERIFY(w->Timer1->isActive());
    QCOMPARE(w->Timer1->interval(), 200);
    QCOMPARE(fakes_->sound.played.count(idSound), 1);
    QVERIFY(!w->lblStatus->isVisible());
    // Blinking: each tick flips the label.
    const bool before = w->lblIDTime->isVisible();
    w->Timer1_Timer();
    QCOMPARE(w->lblIDTime->isVisible(), !before);
    // A status shown while blinking stays hidden.
    w->showStatus("DUPLICATE");
    QVERIFY(!w->lblStatus->isVisible());
    tick(19, 39, 14);
    QVERIFY(w->Timer1->isActive());
    tick(19, 39, 15);
    QVERIFY(!w->Timer1->isActive());
    QVERIFY(!w->lblIDTime->isVisible());
    QVERIFY(w->lblStatus->isVisible());
    // A missed end key: stopped by the first tick past second 15.
    tick(19, 49, 0);
    QVERIFY(w->Timer1->isActive());
    tick(19, 49, 16);
    QVERIFY(!w->Timer1->isActive());
    QVERIFY(w->lblStatus->isVisible());
    tick(22, 39, 0);
    QVERIFY(!w->Timer1->isActive());
}

void TstMainWindowFrame::idAlertOnlyForTheNetControl()
{
    settings_->SaveSetting("Settings", "User Name", "PAT");
    state_.netControlName = "JO";
    state_.netControlCall = "K9XYZ";
    auto w = open(false);
    QVERIFY(!w->IDTimer->isActive());
}

void TstMainWindowFrame::idLabelGrowsOnlyOn1280x960()
{
    for (const QSize screen : {QSize(1280, 960), QSize(1280, 1024)}) {
        state_.screenWidth = screen.width();
        state_.screenHeight = screen.height();
        auto w = open(false);
        fakes_->clock.current = QDateTime(QDate(2026, 12, 8), QTime(19, 59, 0));
        w->IDTimer_Timer();
        QCOMPARE(w->lblIDTime->font().pointSizeF(), screen.height() == 960 ? 28.0 : 36.0);
    }
}

void TstMainWindowFrame::rosterClickEnablesEditing()
{
    state_.netControlName = "JO";
    state_.netControlCall = "K9XYZ";
    auto w = open();
    QCOMPARE(w->lst1->count(), 1);
    QVERIFY(!w->mnuEditEdit->isEnabled());
    QTest::mouseClick(w->lst1->viewport(), Qt::LeftButton, {}, w->lst1->visualItemRect(w->lst1->item(0)).center());
    QVERIFY(w->mnuEditEdit->isEnabled());
    QVERIFY(w->mnuEditDelete->isEnabled());
}

void TstMainWindowFrame::rightClickOpensEditMenu()
{
    auto w = open();
    bool addEnabled = true, chgEnabled = true, shown = false;
    QTimer::singleShot(50, this, [&] {
        shown = w->mnuEdit->isVisible();
        addEnabled = w->mnuEditAdd->isEnabled();
        chgEnabled = w->mnuChgCtl->isEnabled();
        w->mnuEdit->close();
    });
    QTest::mouseClick(w->lst1->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(shown);
    QVERIFY(!addEnabled);
    QVERIFY(!chgEnabled);
    QVERIFY(w->mnuChgCtl->isEnabled());  // enabled again once the menu closed
    QVERIFY(!w->mnuEditAdd->isEnabled());
    QTest::mouseClick(w->lst1->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(w->mnuEditAdd->isEnabled());
}

void TstMainWindowFrame::exitButtonTurnsGreenOnPress()
{
    auto w = open();
    QCOMPARE(w->CmdExit->palette().color(QPalette::Button), QColor(255, 0, 0));
    QTest::mousePress(w->CmdExit, Qt::LeftButton);
    QCOMPARE(w->CmdExit->palette().color(QPalette::Button), QColor(0, 255, 0));
    // Released outside: still green, still open.
    QTest::mouseRelease(w->CmdExit, Qt::LeftButton, {}, QPoint(-50, -50));
    QVERIFY(w->isVisible());
    QCOMPARE(w->CmdExit->palette().color(QPalette::Button), QColor(0, 255, 0));
}

void TstMainWindowFrame::menuShortcutsWinOverTextBoxes()
{
    auto w = open();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    int triggered = 0;
    connect(w->mnuEditAdd, &QAction::triggered, this, [&] { ++triggered; });
    w->TxtChkin->setFocus();
    // Ctrl+A is the box's select-all; here it is the menu's Add.
    QTest::keyClick(w->TxtChkin, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(triggered, 1);
    QCOMPARE(w->lblMode->text(), QString("ADD"));
}

void TstMainWindowFrame::renderAtScreenSizes_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("1920x1080") << QSize(1920, 1080);
    QTest::newRow("1024x768") << QSize(1024, 768);
}

void TstMainWindowFrame::renderAtScreenSizes()
{
    QFETCH(QSize, size);
    state_.netControlName = "HIRAM";
    state_.netControlCall = "W1AW";
    state_.netManagerName = "JO";
    state_.netManagerCall = "K9XYZ";
    auto w = open();
    w->resize(size);
    w->TxtChkin->setText("k9xyz");
    w->txtChkin_KeyDown(13);
    w->TxtChkin->setText("W3ABC");
    w->txtChkin_KeyDown(13);
    w->Timer2->stop();
    w->FraSearch->setVisible(true);
    const QPixmap shot = w->grab();
    QCOMPARE(shot.size(), size);
    // No caption is cut: each is drawn in a font its box can hold.
    for (FitLabel* l : w->findChildren<FitLabel*>()) {
        if (!l->isVisible() || l->text().isEmpty())
            continue;
        const QFontMetrics m(l->fittedFont());
        const QSize need = l->wrapsCaption()
            ? m.boundingRect(QRect(QPoint(), l->contentsRect().size()), Qt::TextWordWrap, l->shownText()).size()
            : m.size(0, l->shownText());
        QVERIFY2(need.width() <= l->contentsRect().width() && need.height() <= l->contentsRect().height(),
                 qPrintable(l->objectName()));
    }
    for (FitButton* b : w->findChildren<FitButton*>()) {
        if (!b->isVisible())
            continue;
        const QString t = b->text().remove('&');
        QVERIFY2(QFontMetrics(b->fittedFont()).horizontalAdvance(t) < b->width(), qPrintable(b->objectName()));
    }
    const QString dir = qEnvironmentVariable("VELN_SHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(shot.save(QString("%1/frmMain-%2x%3.png").arg(dir).arg(size.width()).arg(size.height())));
}

VELN_TEST(TstMainWindowFrame)
#include "tst_main_window_frame.moc"
