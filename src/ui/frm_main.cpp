#include "frm_main.h"

#include "core/call_sign.h"
#include "core/settings_store.h"
#include "core/text_number.h"
#include "lookup/qrz_client.h"
#include "platform/browser.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/line_printer.h"
#include "platform/platform.h"
#include "platform/printers.h"
#include "platform/prompts.h"
#include "platform/sound.h"
#include "frm_about.h"
#include "frm_sort.h"
#include "printing.h"
#include "frm_net_ctl.h"
#include "frm_qrz.h"
#include "frm_report.h"
#include "frm_report_editor.h"
#include "members/net_manager.h"
#include "report/report_store.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"
#include "session/id_alert.h"
#include "session/session_file.h"
#include "fit_widgets.h"
#include "ui_style.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextCursor>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

#include <cmath>

namespace {

constexpr double kDesignWidth = 17400;
constexpr double kDesignHeight = 10716;
const QColor kGreen(0, 255, 0);

}  // namespace

frmMain::frmMain(Platform& platform, ProgramState& state, SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent), platform_(platform), state_(state), settings_(settings)
{
    setObjectName(QStringLiteral("frmMain"));
    Ui::installFontSubstitutes();
    InitProgramResources();
    setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    buildControls();
    buildMenus();
    if (platform_.http)
        qrz_ = std::make_unique<QrzClient>(*platform_.http, settings_);
    Form_Load();
}

frmMain::~frmMain() = default;

// ---------------------------------------------------------------- QRZ lookup

void frmMain::QRZ_Login()
{
    if (qrz_)
        qrz_->QRZ_Login();
}

void frmMain::lstNF_MouseDown(Qt::MouseButton button, QListWidgetItem* item)
{
    if (button != Qt::RightButton || !item || !qrz_)
        return;
    lstNF->setCurrentItem(item);
    const QString call = item->text();
    if (!qrz_->isSetUp()) {
        const QrzOutcome page = qrz_->browserPage(call);
        txtCall->setText(page.txtCall);
        if (platform_.browser)
            platform_.browser->open(page.browserUrl);
        txtName->setFocus();
        return;
    }
    mnuEditAdd_Click();
    Text1->clear();
    if (Ui::textColour(txtCall) == QColor(Qt::red)) {
        Ui::setTextColour(txtCall, Qt::black);
        Ui::setTextColour(txtName, Qt::black);
        cmdSave->setEnabled(true);
    }
    const QrzOutcome found = qrz_->lookup(call, {txtCall->text(), TxtCS->text()});
    txtCall->setText(found.txtCall);
    txtName->setText(found.txtName);
    TxtCS->setText(found.TxtCS);
    const bool known = found.kind == QrzOutcome::Kind::Found;
    Ui::setTextColour(txtCall, known ? QColor(Qt::black) : QColor(Qt::red));
    Ui::setTextColour(txtName, known ? QColor(Qt::black) : QColor(Qt::red));
    cmdSave->setEnabled(known);
}

// ---------------------------------------------------------------- building

void frmMain::buildControls()
{
    setWindowTitle(kDesignCaption);
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);
    Ui::setColours(client_, Qt::black, Ui::kAppWorkspace);
    client_->installEventFilter(this);
    // The restored size is the design client area.
    client_->resize(int(kDesignWidth / MainLayout::kTwipsPerPixel), int(kDesignHeight / MainLayout::kTwipsPerPixel));

    auto add = [this](QWidget* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        controls_.push_back(w);
        return w;
    };
    auto label = [&](QWidget* parent, const char* name, const QString& caption, const QFont& font, const QColor& text,
                     const QColor& background = QColor()) {
        auto* l = new FitLabel(caption, parent);
        add(l, name);
        l->setFont(font);
        Ui::setColours(l, text, background);
        return l;
    };
    auto frame = [&](QWidget* parent, const char* name, const QString& caption, const QFont& font) {
        auto* f = new QGroupBox(caption, parent);
        add(f, name);
        f->setFont(font);
        Ui::setColours(f, Qt::white, Ui::kButtonShadow);
        return f;
    };
    auto list = [&](QWidget* parent, const char* name, const QFont& font) {
        auto* l = new QListWidget(parent);
        add(l, name);
        l->setFont(font);
        Ui::setColours(l, Qt::black, kGreen);
        l->setFocusPolicy(Qt::NoFocus);  // the keyboard stays in the check-in box
        return l;
    };
    auto box = [&](QWidget* parent, const char* name, const QFont& font) {
        auto* e = new QLineEdit(parent);
        add(e, name);
        e->setFont(font);
        e->installEventFilter(this);
        return e;
    };
    auto button = [&](QWidget* parent, const char* name, const QString& caption, const QFont& font,
                      const QColor& face = QColor()) {
        auto* b = new FitButton(caption, parent);
        add(b, name);
        b->setFont(font);
        if (face.isValid())
            Ui::setColours(b, Qt::black, face);
        return b;
    };

    const QFont arial12b = Ui::font("Arial", 12, true);
    const QFont arial108 = Ui::font("Arial", 10.8);

    Text1 = new QPlainTextEdit(QStringLiteral("Text1"), client_);
    add(Text1, "Text1");
    Text1->hide();

    fraInfo = new QFrame(client_);
    add(fraInfo, "fraInfo");
    Ui::setColours(fraInfo, Qt::white, Ui::kButtonShadow);
    optInstructions = new QRadioButton(QStringLiteral(" INSTRUCTIONS"), fraInfo);
    add(optInstructions, "optInstructions");
    optInstructions->setFont(Ui::font("MS Sans Serif", 9.6, true));
    Ui::setColours(optInstructions, Qt::white);
    optPreamble = new QRadioButton(QStringLiteral(" PREAMBLE"), fraInfo);
    add(optPreamble, "optPreamble");
    optPreamble->setFont(Ui::font("MS Sans Serif", 9.6, true));
    Ui::setColours(optPreamble, Qt::white);
    rtfInfo = new QTextEdit(fraInfo);
    add(rtfInfo, "rtfInfo");
    rtfInfo->setFont(Ui::font("Times New Roman", 12, true));
    rtfInfo->setAcceptRichText(true);

    Fra1 = new QFrame(client_);
    add(Fra1, "Fra1");
    Ui::setColours(Fra1, Qt::white, Ui::kButtonShadow);
    TxtChkin = box(Fra1, "TxtChkin", Ui::font("Arial", 28.8, true));
    Ui::setColours(TxtChkin, Qt::black, kGreen);
    Ui::giveWideCaret(TxtChkin);
    lblIDTime = label(Fra1, "lblIDTime", QStringLiteral("ID TIME"), Ui::font("Arial", 36, true), Qt::red);
    lblIDTime->hide();
    lblStatus = label(Fra1, "lblStatus", QString(), Ui::font("Arial", 18, true), Qt::red, Ui::kWindowBackground);
    lblStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblStatus->hide();
    Label3 = label(Fra1, "Label3", QStringLiteral("CALL"), arial12b, Qt::white);

    IDTimer = new QTimer(this);
    IDTimer->setObjectName(QStringLiteral("IDTimer"));
    IDTimer->setInterval(1000);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    connect(IDTimer, &QTimer::timeout, this, &frmMain::IDTimer_Timer);
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &frmMain::Timer2_Timer);

    FraSearch = frame(client_, "FraSearch", QStringLiteral("SEARCH RESULTS"), Ui::font("Arial", 13.8));
    cmdHide = button(FraSearch, "cmdHide", QStringLiteral("CLEAR"), Ui::font("Arial", 10.8, true));
    lstSG = list(FraSearch, "lstSG", Ui::font("Arial", 12));
    lstNF = list(FraSearch, "lstNF", Ui::font("Arial", 12));
    lblSG = label(FraSearch, "lblSG", QStringLiteral("SUGGEST"), arial12b, Qt::white);
    LblNF1 = label(FraSearch, "LblNF1", QStringLiteral("UNKNOWN"), arial12b, Qt::white);

    fraFormData = frame(client_, "fraFormData", QStringLiteral("NET INFO"), Ui::font("Arial", 13.8, true));
    CmdChange = button(fraFormData, "CmdChange", QStringLiteral("CHANGE"), arial12b, QColor(0, 192, 0));
    const QFont counterFont = Ui::font("Arial", 24, true);
    lblTraffic = label(fraFormData, "lblTraffic", QStringLiteral("0"), counterFont, Qt::blue, Ui::kWindowBackground);
    lblChkins = label(fraFormData, "lblChkins", QStringLiteral("0"), counterFont, Qt::blue, Ui::kWindowBackground);
    const QFont netFont = Ui::font("Arial", 13.8, true);
    lblNetCtl = label(fraFormData, "lblNetCtl", QString(), netFont, Qt::blue, Ui::kWindowBackground);
    lblNetMgr = label(fraFormData, "lblNetMgr", QString(), netFont, Qt::blue, Ui::kWindowBackground);
    Label2 = label(fraFormData, "Label2", QStringLiteral("NET MANAGER"), arial12b, Qt::white);
    Label4 = label(fraFormData, "Label4", QStringLiteral("NET CONTROL"), arial12b, Qt::white);
    Label6 = label(fraFormData, "Label6", QStringLiteral("CHECK INS"), arial12b, Qt::white);
    Label1 = label(fraFormData, "Label1", QStringLiteral("TRAFFIC"), arial12b, Qt::white);
    Label5 = label(fraFormData, "Label5", QStringLiteral("  MEMBERS"), arial12b, Qt::white);
    lblMembers = label(fraFormData, "lblMembers", QStringLiteral("0"), counterFont, Qt::blue, Ui::kWindowBackground);
    lblTraffic->installEventFilter(this);

    FraStations = frame(client_, "FraStations", QStringLiteral("STATIONS IN THE NET"), Ui::font("Arial", 13.8, true));
    lst1 = list(FraStations, "lst1", arial108);
    lst1->viewport()->installEventFilter(this);
    lstNF->viewport()->installEventFilter(this);

    fraAdd = frame(client_, "fraAdd", QStringLiteral("MEMBER INFO"), Ui::font("MS Sans Serif", 9.6, true));
    fraAdd->installEventFilter(this);
    TxtCS = box(fraAdd, "TxtCS", arial108);
    TxtNew = box(fraAdd, "TxtNew", arial108);
    TxtNew->hide();
    cmdCancel = button(fraAdd, "cmdCancel", QStringLiteral("&Cancel"), QFont());
    cmdCancel->setEnabled(false);
    cmdSave = button(fraAdd, "cmdSave", QStringLiteral("&Save"), QFont());
    txtCall = box(fraAdd, "txtCall", arial108);
    txtName = box(fraAdd, "txtName", arial108);
    const QFont arial9b = Ui::font("Arial", 9, true);
    lblName = label(fraAdd, "lblName", QStringLiteral("NAME"), arial9b, Qt::white);
    lblCS = label(fraAdd, "lblCS", QStringLiteral("QTH"), arial9b, Qt::white);
    LblNew = label(fraAdd, "LblNew", QStringLiteral("NEW CALL"), arial9b, Qt::white);
    LblNew->hide();
    lblMode = label(fraAdd, "lblMode", QString(), arial12b, Qt::black, Ui::kWindowBackground);
    lblCall = label(fraAdd, "lblCall", QStringLiteral("CALL"), Ui::font("Arial", 10.8, true), Qt::white);

    CmdExit = button(client_, "CmdExit", QStringLiteral("73"), Ui::font("Arial", 24, true), QColor(255, 0, 0));
    CmdExit->installEventFilter(this);

    Image1 = new QLabel(client_);
    add(Image1, "Image1");
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/logo.jpg")));
    Image1->setScaledContents(true);

    // These buttons never take the keyboard away from the check-in box; the
    // editor's buttons do, so that the boxes' leaving checks run first.
    for (QPushButton* b : {cmdHide, CmdChange, CmdExit})
        b->setFocusPolicy(Qt::NoFocus);

    connect(cmdHide, &QPushButton::clicked, this, &frmMain::cmdHide_Click);
    connect(CmdExit, &QPushButton::clicked, this, &frmMain::CmdExit_Click);
    connect(CmdChange, &QPushButton::clicked, this, &frmMain::CmdChange_Click);
    connect(lstSG, &QListWidget::itemClicked, this, &frmMain::lstSG_Click);
    connect(lst1, &QListWidget::itemClicked, this, [this] { lst1_Click(); });
    connect(lstNF, &QListWidget::itemClicked, this, &frmMain::lstNF_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmMain::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmMain::cmdCancel_Click);
    for (QLineEdit* e : {txtCall, txtName, TxtCS, TxtNew})
        Ui::giveWideCaret(e);
    setTabOrder(txtCall, txtName);
    setTabOrder(txtName, TxtCS);
    connect(optInstructions, &QRadioButton::clicked, this, &frmMain::optInstructions_Click);
    connect(optPreamble, &QRadioButton::clicked, this, &frmMain::optPreamble_Click);

    // Design geometry: the layout at the design client size, and fixed places
    // for the controls the layout leaves alone.
    designClient_ = QSizeF(kDesignWidth, kDesignHeight);
    MainLayout::apply(client_, designClient_);
    auto place = [](QWidget* w, double l, double t, double wd, double h) {
        w->setGeometry(int(l / 15), int(t / 15), int(wd / 15), int(h / 15));
    };
    place(optInstructions, 300, 90, 2600, 330);
    place(optPreamble, 3200, 90, 2200, 330);
    place(TxtCS, TxtCS->x() * 15.0, TxtCS->y() * 15.0, TxtCS->width() * 15.0, 390);
    place(Text1, 120, 120, 1200, 600);
}

namespace {

struct MenuSpec {
    const char* name;
    const char* caption;
    const char* shortcut;
    int level;
    bool checkable;
};

// The menu bar, in order; a deeper level after an item makes it a submenu.
const MenuSpec kMenus[] = {
    {"mnuFile", "&File", "", 0, false},
    {"mnuFileOpen", "&Open...", "Ctrl+O", 1, false},
    {"Hyphen1", "-", "", 1, false},
    {"mnuFileSave", "&Save", "Ctrl+S", 1, false},
    {"mnuFileSaveAs", "Sa&ve As...", "Ctrl+V", 1, false},
    {"Hyphen2", "-", "", 1, false},
    {"mnuFilePrint", "&Print...", "", 1, false},
    {"mnuFilePrintPageSetup", "&Page Setup", "Ctrl+P", 2, false},
    {"mnuFilePrintFont", "&Font", "", 2, false},
    {"mnuFilePrintSession", "&Session", "Ctrl+G", 2, false},
    {"mnuFileDatabase", "&Database", "", 2, false},
    {"mnuFilePrintDatabase", "&PrintDatabase", "", 3, false},
    {"mnuFilePrintInstructions", "&Instructions", "Ctrl+I", 2, false},
    {"mnuFilePrintPreamble", "P&reamble", "Ctrl+H", 2, false},
    {"mnuFileDisplayDatabase", "&Display Database", "", 1, false},
    {"Hyphen3", "-", "", 1, false},
    {"mnuFileExit", "E&xit", "Ctrl+X", 1, false},
    {"mnuEdit", "&Edit", "", 0, false},
    {"mnuEditAdd", "&Add", "Ctrl+A", 1, false},
    {"mnuEditDelete", "&Delete", "Ctrl+D", 1, false},
    {"mnuEditEdit", "&Edit", "Ctrl+E", 1, false},
    {"mnuChgCtl", "Change Net Ctl/Mgr", "Ctrl+C", 1, false},
    {"mnuChgCall", "Change CallSign", "Ctrl+F", 1, false},
    {"mnuFormat", "F&ormat", "", 0, false},
    {"mnuFormatControls", "CONTROLS", "", 1, false},
    {"mnuFormatControlsFont", "Fo&nt", "Ctrl+N", 2, false},
    {"mnuFormatControlsColor", "Font Co&lor", "Ctrl+L", 2, false},
    {"mnuFormatControlsBackgroundColor", "Backg&round Color", "Ctrl+R", 2, false},
    {"mnuFormatForm", "FORM", "", 1, false},
    {"mnuFormatFormFont", "Font", "", 2, false},
    {"mnuFormatFormFontColor", "Font Color", "", 2, false},
    {"mnuFormatFormBackgroundColor", "Background Color", "", 2, false},
    {"mnuFormatFormLineColor", "Line Color", "", 2, false},
    {"mnuFormatFormData", "FormData", "", 1, false},
    {"mnuFormatFormDataFont", "Font", "", 2, false},
    {"mnuFormatFormDataFontColor", "Font Color", "", 2, false},
    {"mnuFormatFormDataMemberColor", "Member Color", "", 2, false},
    {"mnuFormatPreamble", "Preamble", "", 1, false},
    {"mnuFormatPreambleFont", "Font", "", 2, false},
    {"mnuFormatPreambleFontColor", "Font Color", "", 2, false},
    {"mnuFormatPreambleSaveChanges", "Save Changes", "Alt+Backspace", 2, false},
    {"mnuReports", "&Reports", "", 0, false},
    {"mnuReportsMonthly", "&Monthly Report", "Ctrl+M", 1, false},
    {"mnuReportEditor", "&Report Editor", "", 1, false},
    {"mnuOptions", "&Options", "", 0, false},
    {"mnuOptionsDisableEnterKeyDing", "Disable Enter key Ding", "", 1, true},
    {"mnuOptionsDisableAutoInsert", "Disable Auto Call Insert", "", 1, true},
    {"mnuOptionsDisableWindowFlash", "Disable Window Flash", "", 1, true},
    {"mnuOptionsChangeQRZLogin", "Change QRZ Login", "", 1, true},
    {"mnuHelp", "&Help", "", 0, false},
    {"mnuAbout", "A&bout", "Ctrl+B", 1, false},
};

}  // namespace

void frmMain::buildMenus()
{
    std::vector<QMenu*> parents;  // open menus by level
    const int count = int(std::size(kMenus));
    for (int i = 0; i < count; ++i) {
        const MenuSpec& m = kMenus[i];
        const QString name = QLatin1String(m.name);
        const bool isMenu = i + 1 < count && kMenus[i + 1].level > m.level;
        parents.resize(size_t(m.level));
        if (isMenu) {
            QMenu* menu = m.level == 0 ? menuBar()->addMenu(QString::fromLatin1(m.caption))
                                       : parents.back()->addMenu(QString::fromLatin1(m.caption));
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name);
            parents.push_back(menu);
            continue;
        }
        QAction* action = QLatin1String(m.caption) == QLatin1String("-") ? parents.back()->addSeparator()
                                                                         : parents.back()->addAction(QString::fromLatin1(m.caption));
        action->setObjectName(name);
        if (*m.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(m.shortcut)));
        action->setCheckable(m.checkable);
    }

    auto menu = [this](const char* n) { return menuBar()->findChild<QMenu*>(QLatin1String(n)); };
    auto item = [this](const char* n) {
        for (QAction* a : menuBar()->findChildren<QAction*>(QLatin1String(n)))
            if (!a->menu())
                return a;
        return static_cast<QAction*>(nullptr);
    };
    mnuFile = menu("mnuFile");
    mnuFileOpen = item("mnuFileOpen");
    Hyphen1 = item("Hyphen1");
    mnuFileSave = item("mnuFileSave");
    mnuFileSaveAs = item("mnuFileSaveAs");
    Hyphen2 = item("Hyphen2");
    mnuFilePrint = menu("mnuFilePrint");
    mnuFilePrintPageSetup = item("mnuFilePrintPageSetup");
    mnuFilePrintFont = item("mnuFilePrintFont");
    mnuFilePrintSession = item("mnuFilePrintSession");
    mnuFileDatabase = menu("mnuFileDatabase");
    mnuFilePrintDatabase = item("mnuFilePrintDatabase");
    mnuFilePrintInstructions = item("mnuFilePrintInstructions");
    mnuFilePrintPreamble = item("mnuFilePrintPreamble");
    mnuFileDisplayDatabase = item("mnuFileDisplayDatabase");
    Hyphen3 = item("Hyphen3");
    mnuFileExit = item("mnuFileExit");
    mnuEdit = menu("mnuEdit");
    mnuEditAdd = item("mnuEditAdd");
    mnuEditDelete = item("mnuEditDelete");
    mnuEditEdit = item("mnuEditEdit");
    mnuChgCtl = item("mnuChgCtl");
    mnuChgCall = item("mnuChgCall");
    mnuFormat = menu("mnuFormat");
    mnuFormatControls = menu("mnuFormatControls");
    mnuFormatControlsFont = item("mnuFormatControlsFont");
    mnuFormatControlsColor = item("mnuFormatControlsColor");
    mnuFormatControlsBackgroundColor = item("mnuFormatControlsBackgroundColor");
    mnuFormatForm = menu("mnuFormatForm");
    mnuFormatFormFont = item("mnuFormatFormFont");
    mnuFormatFormFontColor = item("mnuFormatFormFontColor");
    mnuFormatFormBackgroundColor = item("mnuFormatFormBackgroundColor");
    mnuFormatFormLineColor = item("mnuFormatFormLineColor");
    mnuFormatFormData = menu("mnuFormatFormData");
    mnuFormatFormDataFont = item("mnuFormatFormDataFont");
    mnuFormatFormDataFontColor = item("mnuFormatFormDataFontColor");
    mnuFormatFormDataMemberColor = item("mnuFormatFormDataMemberColor");
    mnuFormatPreamble = menu("mnuFormatPreamble");
    mnuFormatPreambleFont = item("mnuFormatPreambleFont");
    mnuFormatPreambleFontColor = item("mnuFormatPreambleFontColor");
    mnuFormatPreambleSaveChanges = item("mnuFormatPreambleSaveChanges");
    mnuReports = menu("mnuReports");
    mnuReportsMonthly = item("mnuReportsMonthly");
    mnuReportEditor = item("mnuReportEditor");
    mnuOptions = menu("mnuOptions");
    mnuOptionsDisableEnterKeyDing = item("mnuOptionsDisableEnterKeyDing");
    mnuOptionsDisableAutoInsert = item("mnuOptionsDisableAutoInsert");
    mnuOptionsDisableWindowFlash = item("mnuOptionsDisableWindowFlash");
    mnuOptionsChangeQRZLogin = item("mnuOptionsChangeQRZLogin");
    mnuHelp = menu("mnuHelp");
    mnuAbout = item("mnuAbout");
    mnuOptionsChangeQRZLogin->setChecked(true);  // its design state

    const std::pair<QAction*, void (frmMain::*)()> handlers[] = {
        {mnuFileOpen, &frmMain::mnuFileOpen_Click},
        {mnuFileSave, &frmMain::mnuFileSave_Click},
        {mnuFileSaveAs, &frmMain::mnuFileSaveAs_Click},
        {mnuFilePrintPageSetup, &frmMain::mnuFilePrintPageSetup_Click},
        {mnuFilePrintFont, &frmMain::mnuFilePrintFont_Click},
        {mnuFilePrintSession, &frmMain::mnuFilePrintSession_Click},
        {mnuFilePrintDatabase, &frmMain::mnuFilePrintDatabase_Click},
        {mnuFilePrintInstructions, &frmMain::mnuFilePrintInstructions_Click},
        {mnuFilePrintPreamble, &frmMain::mnuFilePrintPreamble_Click},
        {mnuFileDisplayDatabase, &frmMain::mnuFileDisplayDatabase_Click},
        {mnuFileExit, &frmMain::mnuFileExit_Click},
        {mnuEditAdd, &frmMain::mnuEditAdd_Click},
        {mnuEditDelete, &frmMain::mnuEditDelete_Click},
        {mnuEditEdit, &frmMain::mnuEditEdit_Click},
        {mnuChgCtl, &frmMain::mnuChgCtl_Click},
        {mnuChgCall, &frmMain::mnuChgCall_Click},
        {mnuFormatControlsFont, &frmMain::mnuFormatControlsFont_Click},
        {mnuFormatControlsColor, &frmMain::mnuFormatControlsColor_Click},
        {mnuFormatControlsBackgroundColor, &frmMain::mnuFormatControlsBackgroundColor_Click},
        {mnuFormatFormFont, &frmMain::mnuFormatFormFont_Click},
        {mnuFormatFormFontColor, &frmMain::mnuFormatFormFontColor_Click},
        {mnuFormatFormBackgroundColor, &frmMain::mnuFormatFormBackgroundColor_Click},
        {mnuFormatFormLineColor, &frmMain::mnuFormatFormLineColor_Click},
        {mnuFormatFormDataFont, &frmMain::mnuFormatFormDataFont_Click},
        {mnuFormatFormDataFontColor, &frmMain::mnuFormatFormDataFontColor_Click},
        {mnuFormatFormDataMemberColor, &frmMain::mnuFormatFormDataMemberColor_Click},
        {mnuFormatPreambleFont, &frmMain::mnuFormatPreambleFont_Click},
        {mnuFormatPreambleFontColor, &frmMain::mnuFormatPreambleFontColor_Click},
        {mnuFormatPreambleSaveChanges, &frmMain::mnuFormatPreambleSaveChanges_Click},
        {mnuReportsMonthly, &frmMain::mnuReportsMonthly_Click},
        {mnuReportEditor, &frmMain::mnuReportEditor_Click},
        {mnuOptionsDisableEnterKeyDing, &frmMain::mnuOptionsDisableEnterKeyDing_Click},
        {mnuOptionsDisableAutoInsert, &frmMain::mnuOptionsDisableAutoInsert_Click},
        {mnuOptionsDisableWindowFlash, &frmMain::mnuOptionsDisableWindowFlash_Click},
        {mnuOptionsChangeQRZLogin, &frmMain::mnuOptionsChangeQRZLogin_Click},
        {mnuAbout, &frmMain::mnuAbout_Click},
    };
    for (const auto& [action, handler] : handlers)
        connect(action, &QAction::triggered, this, handler);
}

// ---------------------------------------------------------------- load

bool frmMain::firstRun() const { return settings_.GetSetting(QStringLiteral("First"), QStringLiteral("Firstime")).isEmpty(); }

void frmMain::Form_Load()
{
    CaptureControlGeometry();
    printerCount_ = platform_.printers ? platform_.printers->count() : 0;
    SetCapsLock(true);
    SetNumLock(false);
    setWindowTitle(kDesignCaption + QStringLiteral("  ")
                   + QLocale::system().toString(platform_.clock->today(), QLocale::ShortFormat));
    roster_.setSessionChanged(false);
    saveFailed_ = false;
    endProgram_ = [this] {
        hide();
        QCoreApplication::quit();
    };

    // Centre the restored window on the screen.
    // The restored window's client area is the design size; the menu bar comes on top.
    resize(int(kDesignWidth / MainLayout::kTwipsPerPixel),
           int(kDesignHeight / MainLayout::kTwipsPerPixel) + menuBar()->sizeHint().height());
    if (state_.screenWidth > 0 && state_.screenHeight > 0)
        move((state_.screenWidth - width()) / 2, (state_.screenHeight - height()) / 2);

    mnuEditEdit->setEnabled(false);
    mnuEditDelete->setEnabled(false);

    if (!firstRun()) {
        state_.report = LoadReportCounters(settings_);
        if (printerCount_ < 1)
            mnuFilePrint->setEnabled(false);
        else
            loadPrinterFont();
        applyStoredAppearance();
        CleanUpEarlierReleaseKeys(settings_);
        loadOptions();
        if (mnuOptionsChangeQRZLogin->isChecked())
            mnuOptionsChangeQRZLogin->setChecked(false);
    }

    lblNetMgr->setText(IdentityCaption(state_.netManagerName, state_.netManagerCall));
    lblNetCtl->setText(IdentityCaption(state_.netControlName, state_.netControlCall));
    lblTraffic->setText(roster_.trafficCaption());

    if (!table_.LoadMemberTable(state_.paths.memberFile)) {
        platform_.prompts->message(table_.lastError() + QStringLiteral("\n\nMembers cannot be looked up or added in this run."),
                                   Prompts::Icon::Critical);
    } else if (!table_.lastError().isEmpty()) {
        platform_.prompts->message(table_.lastError(), Prompts::Icon::Warning);
    }
    lblMembers->setText(QString::number(table_.memberCount()));
    const MembersCounterColour colour = MembersCounterColourFor(table_.memberCount());
    if (colour != MembersCounterColour::Unchanged)
        Ui::setColours(lblMembers, colour == MembersCounterColour::Yellow ? QColor(255, 255, 0) : QColor(255, 0, 0),
                       Ui::kWindowBackground);

    installDocumentTemplates();
    optInstructions->setChecked(true);
    optInstructions_Click();

    const QString userName = settings_.GetSetting(QStringLiteral("Settings"), QStringLiteral("User Name"));
    if (!state_.netControlName.isEmpty() && state_.netControlName == userName)
        IDTimer->start();

    // The net control checks itself in first.
    if (!mnuOptionsDisableAutoInsert->isChecked() && !lblNetCtl->text().isEmpty()) {
        TxtChkin->setText(lblNetCtl->text().right(6).trimmed());
        txtChkin_KeyDown(13);
    }
}

void frmMain::loadOptions()
{
    const std::pair<QAction*, const char*> switches[] = {
        {mnuOptionsDisableAutoInsert, "Disable_AI"},
        {mnuOptionsDisableEnterKeyDing, "Disable_EnterKeyDing"},
        {mnuOptionsDisableWindowFlash, "Disable_WindowFlash"},
    };
    for (const auto& [item, key] : switches) {
        const QString value = settings_.GetSetting(QStringLiteral("Options"), QLatin1String(key));
        if (!value.isEmpty()) {
            item->setChecked(SettingValue::toBool(value).value_or(false));
        } else {
            item->setChecked(false);
            settings_.SaveSetting(QStringLiteral("Options"), QLatin1String(key), SettingValue::fromBool(false));
        }
    }
}

void frmMain::saveOption(QAction* item, const char* key)
{
    settings_.SaveSetting(QStringLiteral("Options"), QLatin1String(key), SettingValue::fromBool(item->isChecked()));
}

void frmMain::mnuOptionsDisableEnterKeyDing_Click() { saveOption(mnuOptionsDisableEnterKeyDing, "Disable_EnterKeyDing"); }
void frmMain::mnuOptionsDisableAutoInsert_Click() { saveOption(mnuOptionsDisableAutoInsert, "Disable_AI"); }
void frmMain::mnuOptionsDisableWindowFlash_Click() { saveOption(mnuOptionsDisableWindowFlash, "Disable_WindowFlash"); }

void frmMain::SetCapsLock(bool on)
{
    if (platform_.keyboard)
        SetLock(*platform_.keyboard, Keyboard::Lock::Caps, on);
}

void frmMain::SetNumLock(bool on)
{
    if (platform_.keyboard)
        SetLock(*platform_.keyboard, Keyboard::Lock::Num, on);
}

// ---------------------------------------------------------------- check-in

void frmMain::playCue(SoundCue cue)
{
    switch (cue) {
    case SoundCue::None: return;
    case SoundCue::Ding: platform_.sound->play(Sound::kDing); return;
    case SoundCue::Tada: platform_.sound->play(Sound::kTada); return;
    }
}

void frmMain::showStatus(const QString& text)
{
    lblStatus->setText(QStringLiteral("\r\n") + text);
    if (!Timer1->isActive())
        lblStatus->setVisible(true);
}

void frmMain::txtChkin_KeyDown(int keyCode, Qt::KeyboardModifiers)
{
    if (keyCode != 13 && flags_.pendingInsert != 1)
        return;
    CheckInOptions opts;
    opts.disableWindowFlash = mnuOptionsDisableWindowFlash->isChecked();
    applyOutcome(ProcessCheckIn(TxtChkin->text(), table_, roster_, flags_, opts));
}

bool frmMain::TxtChkin_KeyPress(QChar key)
{
    return FilterKey(FieldKind::CheckIn, key, mnuOptionsDisableEnterKeyDing->isChecked()).has_value();
}

void frmMain::applyOutcome(const CheckInOutcome& outcome)
{
    if (outcome.clearStatus)
        lblStatus->setText(QString());
    TxtChkin->clear();
    if (outcome.showStatus)
        showStatus(outcome.status);
    playCue(outcome.sound);

    switch (outcome.kind) {
    case CheckInOutcome::Kind::Invalid:
        break;
    case CheckInOutcome::Kind::Duplicate:
        TxtChkin->setFocus();
        break;
    case CheckInOutcome::Kind::CheckedIn:
        lst1->addItem(outcome.rosterLine);
        lst1->scrollToBottom();
        lblChkins->setText(roster_.checkinsCaption());
        break;
    case CheckInOutcome::Kind::Unknown: {
        lstNF->addItem(outcome.call);
        lstSG->addItems(outcome.suggestions);
        const int size = listFontSize_ == 0 ? 10 : listFontSize_;
        for (QListWidget* l : {lstNF, lstSG}) {
            QFont f = l->font();
            f.setPointSize(size);
            l->setFont(f);
        }
        if (outcome.flashSearch && !Timer2->isActive()) {
            Timer2->setInterval(125);
            Timer2->start();
        }
        break;
    }
    }
    Change_Caret();
}

void frmMain::TxtChkin_GotFocus()
{
    // The editor keeps the keyboard while a call is changed or a member added.
    if (editorMode_ == MemberEditor::EditorMode::ChangeCall) {
        TxtNew->setFocus();
        return;
    }
    Change_Caret();
    if (flags_.pendingInsert == 1)
        txtName->setFocus();
}

void frmMain::lst1_Click()
{
    mnuEditEdit->setEnabled(true);
    mnuEditDelete->setEnabled(true);
    TxtChkin->setFocus();
}

void frmMain::lst1_MouseDown(Qt::MouseButton button, const QPoint& globalPos)
{
    if (button == Qt::RightButton) {
        mnuEditAdd->setEnabled(false);
        mnuChgCtl->setEnabled(false);
        mnuEdit->exec(globalPos);
    } else {
        mnuEditAdd->setEnabled(true);
    }
    mnuChgCtl->setEnabled(true);
    TxtChkin->setFocus();
}

void frmMain::lstSG_Click(QListWidgetItem* item)
{
    if (!item || mnuOptionsDisableAutoInsert->isChecked())
        return;
    TxtChkin->setText(item->text());
    txtChkin_KeyDown(13);
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::lblTraffic_MouseDown(Qt::MouseButton button)
{
    roster_.trafficClicked(button == Qt::RightButton);
    lblTraffic->setText(roster_.trafficCaption());
}

void frmMain::cmdHide_Click()
{
    lstNF->clear();
    flags_.pendingInsert = 0;
    lstSG->clear();
    roster_.clearSearchLists();
    if (!lblStatus->text().isEmpty())
        lblStatus->setText(QString());
    TxtChkin->setFocus();
}

void frmMain::CmdExit_MouseDown() { Ui::setColours(CmdExit, Qt::black, kGreen); }

void frmMain::CmdExit_Click()
{
    const Prompts::Answer answer = platform_.prompts->ask(
        QStringLiteral("Do you want to save this Session's data to the monthly report?"), Prompts::Buttons::YesNoCancel,
        Prompts::Answer::Cancel, Prompts::Icon::Exclamation, QStringLiteral("SAVE SESSION"));
    if (answer == Prompts::Answer::Cancel) {
        Change_Caret();
        TxtChkin->setFocus();
        return;
    }
    if (answer == Prompts::Answer::Yes)
        addSessionToReport();
    close();
}

void frmMain::mnuFileExit_Click() { CmdExit_Click(); }

void frmMain::Form_Click() { Change_Caret(); }

void frmMain::Form_GotFocus() { Change_Caret(); }

void frmMain::fraAdd_Click()
{
    Change_Caret();
    TxtChkin->setFocus();
}

// ---------------------------------------------------------------- timers

void frmMain::IDTimer_Timer()
{
    switch (IdAlert::ActionFor(IdAlert::ScheduleKey(platform_.clock->now().time()), Timer1->isActive())) {
    case IdAlert::Action::None:
        break;
    case IdAlert::Action::Start:
        platform_.sound->play(state_.paths.documentsFolder + QStringLiteral("IDTime.wav"));
        if (state_.screenWidth == 1280 && state_.screenHeight == 960) {
            QFont f = lblIDTime->font();
            f.setPointSizeF(28);
            lblIDTime->setFont(f);
        }
        lblStatus->setVisible(false);
        Timer1->start();
        break;
    case IdAlert::Action::Stop:
        Timer1->stop();
        lblStatus->setVisible(true);
        lblIDTime->setVisible(false);
        break;
    }
}

void frmMain::Timer1_Timer() { lblIDTime->setVisible(!lblIDTime->isVisible()); }

void frmMain::Timer2_Timer()
{
    flashToggle_ = !flashToggle_;
    FraSearch->setVisible(!flashToggle_);
    if (++flashTicks_ >= 10) {
        Timer2->stop();
        flashTicks_ = 0;
    }
}

void frmMain::Check_Timer1_Status() { lblStatus->setVisible(!Timer1->isActive()); }

void frmMain::Change_Caret()
{
    // The wide caret comes from the box's style; here it is made visible at
    // the end of the text.
    TxtChkin->setCursorPosition(int(TxtChkin->text().size()));
}

// ---------------------------------------------------------------- layout

void frmMain::CaptureControlGeometry()
{
    geometry_.clear();
    geometry_.reserve(controls_.size());
    for (QWidget* w : controls_) {
        const QRect g = w->geometry();
        const double k = MainLayout::kTwipsPerPixel;
        geometry_.push_back({w, g.x() * k, g.y() * k, g.width() * k, g.height() * k, w->font().pointSizeF()});
    }
    designClient_ = QSizeF(kDesignWidth, kDesignHeight);
}

void frmMain::RescaleControls()
{
    if (isMinimized() || geometry_.empty())
        return;
    const double xr = client_->width() * MainLayout::kTwipsPerPixel / designClient_.width();
    const double yr = client_->height() * MainLayout::kTwipsPerPixel / designClient_.height();
    const bool maximized = isMaximized();
    for (const MainLayout::ControlGeometry& g : geometry_) {
        const double k = MainLayout::kTwipsPerPixel;
        g.control->setGeometry(int(std::lround(xr * g.left / k)), int(std::lround(yr * g.top / k)),
                               int(std::lround(xr * g.width / k)), int(std::lround(yr * g.height / k)));
        if (!maximized && g.fontSize > 0) {
            QFont f = g.control->font();
            f.setPointSizeF(std::max(1.0, yr * g.fontSize));
            g.control->setFont(f);
        }
    }
}

void frmMain::ApplyMainLayout()
{
    const QSize c = client_->size();
    MainLayout::apply(client_, QSizeF(c.width() * MainLayout::kTwipsPerPixel, c.height() * MainLayout::kTwipsPerPixel));
    client_->update();
}

QList<QLineF> frmMain::separatorLines() const
{
    const QSize c = client_->size();
    QList<QLineF> out;
    for (const QLineF& l :
         MainLayout::separatorLines(QSizeF(c.width() * MainLayout::kTwipsPerPixel, c.height() * MainLayout::kTwipsPerPixel)))
        out.append(QLineF(l.p1() / MainLayout::kTwipsPerPixel, l.p2() / MainLayout::kTwipsPerPixel));
    return out;
}

void frmMain::Form_Paint(QWidget* client)
{
    QPainter p(client);
    p.setPen(QPen(lineColor_, 2));
    p.drawLines(separatorLines());
}

void frmMain::Form_Resize()
{
    RescaleControls();
    if (!firstRun() && isMaximized()) {
        auto integerPart = [this](const char* section) {
            const auto v = SettingValue::toSize(settings_.GetSetting(QLatin1String(section), QStringLiteral("Size")));
            return v ? int(std::trunc(*v)) : 0;
        };
        auto setSize = [](QWidget* w, double size) {
            if (size <= 0)
                return;  // a damaged value leaves the design size
            QFont f = w->font();
            f.setPointSizeF(size);
            w->setFont(f);
        };
        int screen = integerPart("Screen");
        if (screen == 0)
            screen = 10;
        listFontSize_ = screen;
        for (QWidget* w : std::initializer_list<QWidget*>{lst1, lstNF, lstSG, TxtNew, txtCall, txtName, TxtCS})
            setSize(w, screen);
        const int form = integerPart("Form");
        for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label2, Label3, Label4, Label6, LblNew, lblCall, lblName,
                                                          lblCS, lblMode, FraSearch, FraStations, fraFormData, fraAdd})
            setSize(w, form);
        if (const auto exact = SettingValue::toSize(settings_.GetSetting(QStringLiteral("Form"), QStringLiteral("Size"))))
            setSize(Label5, *exact);
        for (QWidget* w : std::initializer_list<QWidget*>{FraSearch, FraStations, fraFormData})
            if (w->font().pointSizeF() > 18)
                setSize(w, 18);
        if (const auto netSize = SettingValue::toSize(settings_.GetSetting(QStringLiteral("FormData"), QStringLiteral("Size")))) {
            setSize(lblNetMgr, *netSize);
            setSize(lblNetCtl, *netSize);
        }
    }
    ApplyMainLayout();
    Change_Caret();
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    Form_Resize();
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_GotFocus();
}

// ---------------------------------------------------------------- events

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == client_) {
        if (type == QEvent::Paint)
            Form_Paint(client_);
        else if (type == QEvent::MouseButtonPress)
            Form_Click();
        return false;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && type == QEvent::ShortcutOverride) {
        // The menu's shortcuts win over the text boxes' own editing keys
        // (Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+A, Ctrl+E), as the operator expects.
        auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (QAction* a : menuBar()->findChildren<QAction*>())
            if (!a->shortcut().isEmpty() && a->shortcut() == pressed)
                return true;
        return false;
    }
    if (auto* box = qobject_cast<QLineEdit*>(watched); box && box != TxtChkin && editorBoxEvent(box, event))
        return true;
    if (watched == TxtChkin) {
        if (type == QEvent::FocusIn) {
            TxtChkin_GotFocus();
        } else if (type == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            txtChkin_KeyDown(enter ? 13 : key->key(), key->modifiers());
            if (enter)
                return true;  // the box itself never sees Enter
            const QString text = key->text();
            if (text.size() == 1 && !TxtChkin_KeyPress(text.at(0)))
                return true;
        }
        return false;
    }
    if (watched == lblTraffic && type == QEvent::MouseButtonPress) {
        lblTraffic_MouseDown(static_cast<QMouseEvent*>(event)->button());
        return true;
    }
    if (watched == lst1->viewport() && type == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        lst1_MouseDown(mouse->button(), mouse->globalPosition().toPoint());
        return mouse->button() == Qt::RightButton;  // a right click selects nothing
    }
    if (watched == lstNF->viewport() && type == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            lstNF_MouseDown(Qt::RightButton, lstNF->itemAt(mouse->position().toPoint()));
            return true;
        }
        return false;
    }
    if (watched == CmdExit && type == QEvent::MouseButtonPress) {
        CmdExit_MouseDown();
        return false;
    }
    if (watched == fraAdd && type == QEvent::MouseButtonPress) {
        fraAdd_Click();
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- session files

bool frmMain::writeSession(const QString& path)
{
    QStringList lines;
    for (int i = 0; i < lst1->count(); ++i)
        lines << lst1->item(i)->text();
    const QByteArray bytes = SessionFile::Compose(lblChkins->text(), lblTraffic->text(),
                                                  SessionFile::DateText(platform_.clock->today()), lines);
    QString error;
    if (!SessionFile::Write(path, bytes, &error)) {
        saveFailed_ = true;
        ErrorHandler(error);
        return false;
    }
    roster_.setSessionChanged(false);
    return true;
}

void frmMain::mnuFileSave_Click()
{
    if (sessionFileName_.isEmpty()) {
        mnuFileSaveAs_Click();
        return;
    }
    if (roster_.sessionChanged())
        writeSession(sessionFileName_);
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFileSaveAs_Click()
{
    const QString folder = state_.paths.sessionsFolder;
    if (!QDir().mkpath(folder)) {
        saveFailed_ = true;
        ErrorHandler(QStringLiteral("The folder %1 could not be created.").arg(folder));
        return;
    }
    const QString chosen = platform_.prompts->askSaveFile(
        folder + SessionFile::DefaultFileName(platform_.clock->today()), SessionFile::kFilter);
    if (!chosen.isEmpty() && writeSession(chosen)) {
        sessionFileName_ = chosen;
        saveFailed_ = false;
    }
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFileOpen_Click()
{
    if (roster_.sessionChanged()) {
        const Prompts::Answer answer =
            platform_.prompts->ask(QStringLiteral("Do you want to Save the Session?"), Prompts::Buttons::YesNoCancel,
                                   Prompts::Answer::Cancel, Prompts::Icon::Exclamation, QStringLiteral("Session"));
        if (answer == Prompts::Answer::Cancel)
            return;
        if (answer == Prompts::Answer::Yes) {
            saveFailed_ = false;
            mnuFileSave_Click();
            // A save that failed or was cancelled keeps the roster.
            if (saveFailed_ || roster_.sessionChanged())
                return;
        }
    }
    // The roster is emptied only once a file has been chosen.
    const QString chosen = platform_.prompts->askOpenFile(state_.paths.sessionsFolder, SessionFile::kFilter);
    if (chosen.isEmpty())
        return;
    const SessionFile::ReadResult read = SessionFile::Read(chosen);
    if (!read.ok) {
        ErrorHandler(read.error);
        return;
    }
    const SessionFile::Contents& c = read.contents;
    sessionFileName_ = chosen;
    sessionDate_ = c.date;
    lst1->clear();
    roster_.clearLines();
    mnuEditEdit->setEnabled(true);
    for (int i = 0; i < c.lines.size(); ++i) {
        const QString& line = c.lines.at(i);
        const QString call = SessionFile::CallOfLine(line);
        if (i == 0) {
            const bool alternate = call != state_.netControlCall;
            Label4->setText(alternate ? QStringLiteral("ALT NET CONTROL") : QStringLiteral("NET CONTROL"));
            lblNetCtl->setText(alternate ? SessionFile::NameOfLine(line) + QStringLiteral("  ") + call
                                         : IdentityCaption(state_.netControlName, state_.netControlCall));
        }
        lst1->addItem(line);
        // A line whose call is no member has no member slot; a member's line
        // marks it checked in, so it is not listed twice.
        roster_.append(line, call.isEmpty() ? 0 : table_.FindCall(call));
    }
    roster_.setCheckins(int(LeadingNumber(c.checkins)));
    lblChkins->setText(c.checkins);
    roster_.setTrafficCaption(c.traffic);
    lblTraffic->setText(c.traffic);
    setWindowTitle(kDesignCaption + QStringLiteral("  ") + c.date);
    roster_.setSessionChanged(false);
    if (!c.shortfall.isEmpty()) {
        ErrorHandler(c.shortfall);
        return;
    }
    Change_Caret();
    TxtChkin->setFocus();
}

// ---------------------------------------------------------------- the end of a session

void frmMain::addSessionToReport()
{
    ++state_.sessionsThisRun;
    const ReportWriteOutcome outcome = AddSessionToReport(settings_, state_.report, int(LeadingNumber(lblChkins->text())),
                                                          int(LeadingNumber(lblTraffic->text())));
    if (outcome.stored)
        state_.report = LoadReportCounters(settings_);
    else
        platform_.prompts->message(outcome.message, Prompts::Icon::Exclamation);
}

void frmMain::saveAppearance(bool withFormData)
{
    auto saveFont = [this](const QString& section, const QFont& f, const char* sizeKey = "Size") {
        settings_.SaveSetting(section, QStringLiteral("Font"), f.family());
        settings_.SaveSetting(section, QStringLiteral("Bold"), SettingValue::fromBool(f.bold()));
        settings_.SaveSetting(section, QStringLiteral("Italic"), SettingValue::fromBool(f.italic()));
        settings_.SaveSetting(section, QLatin1String(sizeKey), SettingValue::fromSize(float(f.pointSizeF())));
    };
    auto colour = [](const QColor& c) { return SettingValue::fromColour(c.rgb() & 0xFFFFFF); };
    const QString screen = QStringLiteral("Screen"), form = QStringLiteral("Form");
    saveFont(screen, lst1->font());
    settings_.SaveSetting(screen, QStringLiteral("FGCOLOR"), colour(lst1->palette().color(QPalette::Text)));
    settings_.SaveSetting(screen, QStringLiteral("BGCOLOR"), colour(lst1->palette().color(QPalette::Base)));
    settings_.SaveSetting(form, QStringLiteral("FGCOLOR"), colour(Label1->palette().color(QPalette::WindowText)));
    settings_.SaveSetting(form, QStringLiteral("BGCOLOR"), colour(client_->palette().color(QPalette::Window)));
    saveFont(form, Label1->font());
    if (withFormData) {
        const QString formData = QStringLiteral("FormData");
        saveFont(formData, lblNetMgr->font());
        settings_.SaveSetting(formData, QStringLiteral("FontColor"), colour(lblNetMgr->palette().color(QPalette::WindowText)));
        settings_.SaveSetting(form, QStringLiteral("LineColor"), colour(lineColor_));
    }
}

void frmMain::loadPrinterFont()
{
    if (!platform_.printer)
        return;
    auto get = [this](const char* key) { return settings_.GetSetting(QStringLiteral("Print"), QLatin1String(key)); };
    PrinterFont f = platform_.printer->font();
    if (const QString name = get("Font"); !name.isEmpty())
        f.name = name;
    f.bold = SettingValue::toBool(get("Bold")).value_or(f.bold);
    f.italic = SettingValue::toBool(get("Italic")).value_or(f.italic);
    if (const double size = LeadingNumber(get("Size")); size > 0)
        f.size = size;
    platform_.printer->setFont(f);
}

void frmMain::savePrinterFont()
{
    if (printerCount_ <= 0 || !platform_.printer)
        return;
    const PrinterFont f = platform_.printer->font();
    const QString print = QStringLiteral("Print");
    settings_.SaveSetting(print, QStringLiteral("Font"), f.name);
    settings_.SaveSetting(print, QStringLiteral("Bold"), SettingValue::fromBool(f.bold));
    settings_.SaveSetting(print, QStringLiteral("Italic"), SettingValue::fromBool(f.italic));
    settings_.SaveSetting(print, QStringLiteral("Size"), SettingValue::fromSize(float(f.size)));
}

void frmMain::Form_Unload()
{
    if (lblNetMgr->text().isEmpty() || lblNetCtl->text().isEmpty())
        return;
    SetCapsLock(false);
    saveAppearance(true);
    if (firstRun())
        settings_.SaveSetting(QStringLiteral("First"), QStringLiteral("Firstime"), QStringLiteral("FALSE"));
    savePrinterFont();
    if (!state_.updateDownloaded) {
        QDir temp(state_.paths.tempFolder);
        if (temp.exists())
            temp.removeRecursively();
    }
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (!ended_)
        Form_Unload();
    ended_ = true;
    QMainWindow::closeEvent(event);
}

void frmMain::endProgram()
{
    ended_ = true;
    if (endProgram_)
        endProgram_();
}

void frmMain::ErrorHandler(const QString& description)
{
    platform_.prompts->message(description, Prompts::Icon::Critical, Prompts::kProgramTitle);
    const Prompts::Answer answer = platform_.prompts->ask(
        QStringLiteral("Do you want to save this Session's data to the monthly report?"), Prompts::Buttons::YesNoCancel,
        Prompts::Answer::Cancel, Prompts::Icon::Exclamation, Prompts::kProgramTitle);
    if (answer == Prompts::Answer::Cancel)
        return;
    if (answer == Prompts::Answer::Yes) {
        addSessionToReport();
        saveAppearance(false);
        savePrinterFont();
    }
    endProgram();
}

// ---------------------------------------------------------------- member editor

int frmMain::selectedLine() const
{
    const QListWidgetItem* item = lst1->currentItem();
    return item && item->isSelected() ? lst1->row(item) + 1 : 0;
}

void frmMain::setStatusCaption(const QString& text) { lblStatus->setText(QStringLiteral("\r\n") + text); }

void frmMain::resetModeLabel()
{
    Ui::setColours(lblMode, Qt::black, Ui::kButtonFace);
    lblMode->setText(QString());
}

void frmMain::applyEditorOutcome(const MemberEditor::Outcome& outcome)
{
    using MemberEditor::StatusShow;
    switch (outcome.show) {
    case StatusShow::None: break;
    case StatusShow::Show: showStatus(outcome.status); break;
    case StatusShow::CaptionOnly: setStatusCaption(outcome.status); break;
    case StatusShow::ShowAlways:
        setStatusCaption(outcome.status);
        lblStatus->setVisible(true);
        break;
    }
    if (outcome.ding)
        platform_.sound->play(Sound::kDing);
    if (!outcome.error.isEmpty())
        platform_.prompts->message(outcome.error, Prompts::Icon::Critical);
    if (outcome.rosterLine >= 1 && outcome.rosterLine <= lst1->count()) {
        if (outcome.rosterText.isEmpty())
            delete lst1->takeItem(outcome.rosterLine - 1);
        else
            lst1->item(outcome.rosterLine - 1)->setText(outcome.rosterText);
    }
    if (outcome.membersChanged)
        lblMembers->setText(QString::number(table_.memberCount()));
}

void frmMain::mnuEditAdd_Click()
{
    lblMode->setText(QStringLiteral("ADD"));
    editorMode_ = MemberEditor::EditorMode::Add;
    txtName->clear();
    TxtCS->clear();
    for (QWidget* w : std::initializer_list<QWidget*>{lblName, lblCS, txtCall, txtName, TxtCS})
        w->setVisible(true);
    if (flags_.pendingInsert == 1) {
        txtCall->setEnabled(false);
        txtName->setFocus();
    } else {
        txtCall->setEnabled(true);
        txtCall->clear();
        if (flags_.pendingInsert != 2)
            txtCall->setFocus();
        flags_.pendingInsert = 1;
    }
}

void frmMain::mnuEditEdit_Click()
{
    const int line = selectedLine();
    if (line == 0)
        return;
    mnuEditAdd->setEnabled(true);
    lblName->setVisible(true);
    lblCS->setVisible(true);
    LblNew->setVisible(false);
    lblCall->setText(QStringLiteral("CALL"));
    lblMode->setText(QStringLiteral("EDIT"));
    TxtCS->setVisible(true);
    cmdCancel->setVisible(true);
    cmdCancel->setEnabled(true);
    editorMode_ = MemberEditor::EditorMode::Edit;
    // A line without a member (read from a session file) fills nothing.
    const MemberRecord rec = table_.record(roster_.slotAt(line));
    txtCall->setText(rec.call);
    txtName->setText(rec.name);
    TxtCS->setText(rec.qth);
    roster_.setSessionChanged(true);
}

void frmMain::mnuChgCall_Click()
{
    mnuChgCtl->setEnabled(true);
    const int line = selectedLine();
    if (line == 0) {
        showStatus(QStringLiteral("You must select a call to change"));
        platform_.sound->play(Sound::kDing);
        return;
    }
    editorMode_ = MemberEditor::EditorMode::ChangeCall;
    lblMode->setText(QStringLiteral("CHANGE CALL"));
    for (QWidget* w : std::initializer_list<QWidget*>{lblName, lblCS, txtName, TxtCS})
        w->setVisible(false);
    txtCall->setEnabled(true);
    TxtNew->setVisible(true);
    LblNew->setVisible(true);
    txtCall->setText(lst1->item(line - 1)->text().trimmed().section(QLatin1Char(' '), 0, 0));
    lblCall->setText(QStringLiteral("OLD CALL"));
    TxtNew->setFocus();
}

void frmMain::mnuEditDelete_Click()
{
    const int line = selectedLine();
    if (line == 0)
        return;
    mnuEditAdd->setEnabled(true);
    const Prompts::Answer answer =
        platform_.prompts->ask(MemberEditor::DeleteQuestion(lst1->item(line - 1)->text()), Prompts::Buttons::YesNoCancel,
                               Prompts::Answer::Cancel, Prompts::Icon::Question, QStringLiteral("DELETE RECORD"));
    if (answer == Prompts::Answer::Cancel)
        return;
    const MemberEditor::Outcome outcome =
        MemberEditor::DeleteLine(line, answer == Prompts::Answer::Yes, table_, roster_);
    applyEditorOutcome(outcome);
    if (outcome.ok) {
        lblChkins->setText(roster_.checkinsCaption());
        lst1->setCurrentItem(nullptr);  // a delete leaves no line selected
        lst1->clearSelection();
    }
    Change_Caret();
}

void frmMain::cmdSave_Click()
{
    using MemberEditor::EditorMode;
    // What leaving the boxes does, also when the keyboard's Alt+S or a click
    // saved without moving the focus.
    for (QLineEdit* box : {txtCall, txtName, TxtCS, TxtNew})
        box->setText(box->text().toUpper());
    switch (editorMode_) {
    case EditorMode::Add: {
        const MemberEditor::Outcome outcome = MemberEditor::SaveNewMember(
            txtCall->text(), txtName->text(), TxtCS->text(), table_,
            [this](const QString& call, const QString& name, const QString& qth) {
                AppendNewMemberEntry(settings_, call, name, qth);
            });
        applyEditorOutcome(outcome);
        if (outcome.ok) {
            flags_.statusHold = true;
        } else if (outcome.refusal == MemberEditor::Refusal::InvalidCall) {
            TxtChkin->clear();
        } else if (outcome.refusal == MemberEditor::Refusal::CallExists) {
            Change_Caret();
            TxtChkin->setFocus();
        }
        editorMode_ = EditorMode::None;
        endOfSave();
        break;
    }
    case EditorMode::ChangeCall: {
        const MemberEditor::Outcome outcome =
            MemberEditor::SaveChangeCall(txtCall->text(), TxtNew->text(), selectedLine(), table_, roster_);
        applyEditorOutcome(outcome);
        if (outcome.ok) {
            TxtNew->setVisible(false);
            LblNew->setVisible(false);
            txtCall->setEnabled(false);
            for (QWidget* w : std::initializer_list<QWidget*>{txtName, TxtCS}) {
                w->setEnabled(true);
                w->setVisible(true);
            }
            editorMode_ = EditorMode::None;
        }
        endOfSave();
        break;
    }
    case EditorMode::Edit:
    case EditorMode::None: {
        const MemberEditor::Outcome outcome =
            MemberEditor::SaveEdit(txtCall->text(), txtName->text(), TxtCS->text(), table_, roster_);
        applyEditorOutcome(outcome);
        if (outcome.ok) {
            Change_Caret();
            TxtChkin->setFocus();
            resetModeLabel();
        }
        break;
    }
    }
}

void frmMain::endOfSave()
{
    resetModeLabel();
    const bool insert = MemberEditor::TakePendingInsert(flags_, mnuOptionsDisableAutoInsert->isChecked());
    if (insert) {
        TxtChkin->setText(txtCall->text());
        txtCall->clear();
        txtName->clear();
        TxtCS->clear();
    }
    TxtChkin->setFocus();
    if (insert)
        txtChkin_KeyDown(13);
}

void frmMain::cmdCancel_Click()
{
    txtCall->clear();
    if (editorMode_ == MemberEditor::EditorMode::ChangeCall) {
        TxtNew->clear();
        lblName->setVisible(true);
        lblCS->setVisible(true);
        txtCall->setEnabled(true);
        TxtCS->setVisible(true);
        TxtCS->clear();
        txtName->setVisible(true);
        TxtNew->setVisible(false);
        LblNew->setVisible(false);
        lblCall->setText(QStringLiteral("CALL"));
    } else {
        flags_.pendingInsert = 0;
        txtName->clear();
        TxtCS->clear();
    }
    editorMode_ = MemberEditor::EditorMode::None;
    lblMode->setText(QString());
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::lstNF_Click(QListWidgetItem* item)
{
    if (!item)
        return;
    if (qrz_ ? qrz_->isSetUp() : !settings_.GetSetting(QStringLiteral("Settings"), QStringLiteral("QRZ PW")).isEmpty()) {
        // The lookup itself starts from the list's right button.
        flags_.pendingInsert = 2;
        cmdCancel->setEnabled(true);
        return;
    }
    flags_.pendingInsert = 1;
    txtCall->setText(item->text());
    cmdCancel->setEnabled(true);
    mnuEditAdd_Click();
}

bool frmMain::editorBoxEvent(QLineEdit* box, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn) {
        if (box == txtCall)
            txtCall_GotFocus();
        else if (box == txtName)
            txtName_GotFocus();
        else if (box == TxtCS)
            TxtCS_GotFocus();
        else if (box == TxtNew)
            TxtNew_GotFocus();
    } else if (type == QEvent::FocusOut) {
        if (box == txtCall)
            txtCall_LostFocus();
        else if (box == txtName)
            txtName_LostFocus();
        else if (box == TxtCS)
            TxtCS_LostFocus();
        else if (box == TxtNew)
            TxtNew_LostFocus();
    } else if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter) {
            if (box == txtCall)
                txtCall_KeyDown(13);
            else if (box == txtName)
                txtName_KeyDown(13);
            else if (box == TxtCS)
                TxtCS_KeyDown(13);
            else if (box == TxtNew)
                TxtNew_KeyDown(13);
            return true;
        }
        const QString text = key->text();
        if (text.size() != 1 || key->key() == Qt::Key_Backspace)
            return false;  // editing keys (arrows, Delete, Backspace) pass
        const FieldKind kind = box == txtCall ? FieldKind::MemberCall
            : box == TxtNew                   ? FieldKind::NewCall
            : box == txtName                  ? FieldKind::MemberName
                                              : FieldKind::MemberQth;
        if (KeyEnablesCancel(kind, text.at(0)))
            cmdCancel->setEnabled(true);
        return !FilterKey(kind, text.at(0)).has_value();
    }
    return false;
}

namespace {
void upperCase(QLineEdit* box) { box->setText(box->text().toUpper()); }
}  // namespace

void frmMain::txtCall_GotFocus()
{
    // While a call is changed the old call stays, so that a Save still
    // changes the call and never writes the hidden name and QTH boxes.
    if (editorMode_ != MemberEditor::EditorMode::ChangeCall)
        txtCall->clear();
}

void frmMain::txtCall_KeyDown(int keyCode)
{
    if (keyCode != 13)
        return;
    upperCase(txtCall);
    if (TxtNew->isVisible())
        TxtNew->setFocus();
    else
        txtName->setFocus();
}

void frmMain::txtCall_LostFocus()
{
    upperCase(txtCall);
    if (!txtCall->text().isEmpty() && !IsValidCall(txtCall->text())) {
        showStatus(txtCall->text() + QStringLiteral("  INVALID CALL"));
        txtCall->clear();
        platform_.sound->play(Sound::kDing);
        QTimer::singleShot(0, txtCall, [box = txtCall] { box->setFocus(); });
    }
}

void frmMain::txtName_GotFocus()
{
    txtName->clear();
    cmdCancel->setEnabled(true);
}

void frmMain::txtName_KeyDown(int keyCode)
{
    if (keyCode == 13)
        upperCase(txtName);
}

void frmMain::txtName_LostFocus() { upperCase(txtName); }

void frmMain::TxtCS_GotFocus() {}

void frmMain::TxtCS_KeyDown(int keyCode)
{
    if (keyCode == 13)
        upperCase(TxtCS);
}

void frmMain::TxtCS_LostFocus() { upperCase(TxtCS); }

void frmMain::TxtNew_GotFocus() { TxtNew->clear(); }

void frmMain::TxtNew_KeyDown(int keyCode)
{
    if (keyCode == 13)
        upperCase(TxtNew);
}

void frmMain::TxtNew_LostFocus()
{
    upperCase(TxtNew);
    if (!TxtNew->text().isEmpty() && !IsValidCall(TxtNew->text())) {
        showStatus(TxtNew->text() + QStringLiteral("  INVALID CALL"));
        TxtNew->clear();
        platform_.sound->play(Sound::kDing);
        QTimer::singleShot(0, TxtNew, [box = TxtNew] { box->setFocus(); });
    }
}

// ---------------------------------------------------------------- handlers of later parts

void frmMain::mnuFilePrintPageSetup_Click() { Printing::PageSetup(platform_, this); }
void frmMain::mnuFilePrintFont_Click() { Printing::ChoosePrinterFont(platform_); }
void frmMain::mnuFilePrintSession_Click()
{
    Printing::PrintSession(platform_, sessionDate_, lblChkins->text(), lblTraffic->text(), roster_.lines());
}
void frmMain::mnuFilePrintDatabase_Click() { Printing::PrintDatabase(platform_, table_); }
void frmMain::mnuFilePrintInstructions_Click()
{
    Printing::PrintInstructions(platform_, state_.paths.documentsFolder);
}
void frmMain::mnuFilePrintPreamble_Click() { Printing::PrintPreamble(platform_, state_.paths.documentsFolder); }
void frmMain::mnuFileDisplayDatabase_Click() { frmSort::DisplayDatabase(platform_, table_, this); }
void frmMain::mnuReportsMonthly_Click()
{
    // Not modal, one at a time; closing it ends it, so it loads afresh.
    if (reportWindow_) {
        reportWindow_->raise();
        reportWindow_->activateWindow();
        return;
    }
    reportWindow_ = new FrmReport(platform_, state_, settings_, printerCount_, this);
    reportWindow_->setAttribute(Qt::WA_DeleteOnClose);
    reportWindow_->show();
}

void frmMain::mnuReportEditor_Click()
{
    frmReportEditor editor(platform_, state_, settings_, this);
    editor.exec();
    TxtChkin->setFocus();
    Change_Caret();
}
void frmMain::mnuOptionsChangeQRZLogin_Click()
{
    frmQRZ dialog(settings_, this);
    dialog.prepareForChange();
    dialog.exec();
    TxtChkin->setFocus();
}

void frmMain::mnuAbout_Click()
{
    // Not modal: it may stay open beside the window while the net goes on.
    auto* about = new frmAbout(this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->show();
}
void frmMain::showNetManager(const QString& name, const QString& call)
{
    state_.netManagerName = name;
    state_.netManagerCall = call;
    lblNetMgr->setText(IdentityCaption(name, call));
}

void frmMain::mnuChgCtl_Click()
{
    FrmNetCtl dialog(settings_, {state_.netManagerName, state_.netManagerCall}, lblNetMgr->text(), this);
    dialog.setOpenedFromMenu(true);
    connect(&dialog, &FrmNetCtl::managerChanged, this, &frmMain::showNetManager);
    dialog.exec();
}

void frmMain::CmdChange_Click()
{
    // One dialog at a time; a second click brings it forward.
    if (netCtlDialog_) {
        netCtlDialog_->raise();
        netCtlDialog_->activateWindow();
        return;
    }
    netCtlDialog_ = new FrmNetCtl(settings_, {state_.netManagerName, state_.netManagerCall}, lblNetMgr->text(), this);
    netCtlDialog_->setAttribute(Qt::WA_DeleteOnClose);
    connect(netCtlDialog_, &FrmNetCtl::managerChanged, this, &frmMain::showNetManager);
    connect(netCtlDialog_, &FrmNetCtl::returnFocusToCheckIn, this, [this] {
        TxtChkin->setFocus();
        Change_Caret();
    });
    netCtlDialog_->show();
}
// ---------------------------------------------------------------- preamble and instructions

QString frmMain::documentPath(bool preamble) const
{
    return state_.paths.documentsFolder
        + (preamble ? QStringLiteral("VelnPreamble.rtf") : QStringLiteral("VelnInst.rtf"));
}

void frmMain::installDocumentTemplates()
{
    // Without a documents folder the names are used as they are, and nothing
    // is written into the current folder.
    if (state_.paths.documentsFolder.isEmpty())
        return;
    for (const bool preamble : {false, true}) {
        const QString path = documentPath(preamble);
        if (QFileInfo::exists(path))
            continue;
        QDir().mkpath(state_.paths.documentsFolder);
        const QString name = preamble ? QStringLiteral("VelnPreamble.rtf") : QStringLiteral("VelnInst.rtf");
        if (QFile::copy(QStringLiteral(":/documents/") + name, path))
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}

void frmMain::showDocument(bool preamble)
{
    const QString path = documentPath(preamble);
    if (!QFileInfo::exists(path))
        return;  // the viewer keeps what it shows
    QString error;
    if (!LoadRtfFile(path, rtfInfo->document(), &error)) {
        platform_.prompts->message(error, Prompts::Icon::Warning);
        return;
    }
    QTextCursor start(rtfInfo->document());
    rtfInfo->setTextCursor(start);
}

void frmMain::optInstructions_Click() { showDocument(false); }

void frmMain::optPreamble_Click()
{
    showDocument(true);
    TxtChkin->setFocus();
}

void frmMain::mnuFormatPreambleSaveChanges_Click()
{
    QString error;
    if (!SaveRtfFile(documentPath(optPreamble->isChecked()), *rtfInfo->document(), &error))
        platform_.prompts->message(error, Prompts::Icon::Warning);
}
