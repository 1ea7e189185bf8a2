// Building the main window: its controls, the proportional layout
// and the event filter that turns Qt's events into the window's handlers.
#include "frm_main.h"

#include "core/settings_store.h"
#include "fit_widgets.h"
#include "ui_style.h"

#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimer>

#include <cmath>
#include <string_view>

namespace {
const QColor kGreen(0, 255, 0);
}  // namespace

void frmMain::buildControls()
{
    setWindowTitle(kDesignCaption);
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);
    Ui::setColours(client_, Qt::black, Ui::kAppWorkspace);
    client_->installEventFilter(this);
    // The restored size is the design client area.
    client_->resize(int(MainLayout::kDesignWidth / MainLayout::kTwipsPerPixel), int(MainLayout::kDesignHeight / MainLayout::kTwipsPerPixel));

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
        // A click leaves the keyboard in the check-in box; Tab and the Go
        // menu reach the list.
        l->setFocusPolicy(Qt::TabFocus);
        l->setUniformItemSizes(true);    // a check-in costs the same at line 1 and line 999
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

    for (QLineEdit* b : {txtCall, txtName, TxtCS, TxtNew})
        connect(b, &QLineEdit::textEdited, this, [this, b](const QString& text) { editorBoxEdited(b, text); });
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
    // What the operator types goes to the editor as it is typed.
    using MemberEditor::Box;
    const std::pair<QLineEdit*, Box> editorBoxes[] = {
        {txtCall, Box::Call}, {txtName, Box::Name}, {TxtCS, Box::Qth}, {TxtNew, Box::NewCall}};
    for (const auto& [edit, which] : editorBoxes)
        connect(edit, &QLineEdit::textChanged, this,
                [this, which = which](const QString& text) { session_.setEditorText(which, text); });
    // Tab visits every control once, in the order of the evening's work;
    // the document passes Tab on rather than keeping it.
    rtfInfo->setTabChangesFocus(true);
    QWidget* const tabOrder[] = {TxtChkin, lst1,     lstNF,    lstSG,           txtCall,     TxtNew, txtName,
                                 TxtCS,    cmdSave,  cmdCancel, optInstructions, optPreamble, rtfInfo};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    for (QListWidget* l : {lst1, lstNF, lstSG})
        l->installEventFilter(this);
    // A line picked by the arrow keys can be edited and deleted as a clicked one.
    connect(lst1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            enableLineEditing();
    });
    nameControlsForAssistiveTechnology();
    connect(optInstructions, &QRadioButton::clicked, this, &frmMain::optInstructions_Click);
    connect(optPreamble, &QRadioButton::clicked, this, &frmMain::optPreamble_Click);

    // Design geometry: the layout at the design client size, and fixed places
    // for the controls the layout leaves alone.
    designClient_ = QSizeF(MainLayout::kDesignWidth, MainLayout::kDesignHeight);
    MainLayout::apply(client_, designClient_);
    auto place = [](QWidget* w, double l, double t, double wd, double h) {
        w->setGeometry(int(l / 15), int(t / 15), int(wd / 15), int(h / 15));
    };
    place(optInstructions, 300, 90, 2600, 330);
    place(optPreamble, 3200, 90, 2200, 330);
    place(TxtCS, TxtCS->x() * 15.0, TxtCS->y() * 15.0, TxtCS->width() * 15.0, 390);
    place(Text1, 120, 120, 1200, 600);
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
    designClient_ = QSizeF(MainLayout::kDesignWidth, MainLayout::kDesignHeight);
}

void frmMain::RescaleControls()
{
    if (isMinimized() || geometry_.empty())
        return;
    const double xr = client_->width() * MainLayout::kTwipsPerPixel / designClient_.width();
    const double yr = client_->height() * MainLayout::kTwipsPerPixel / designClient_.height();
    // A maximized window keeps the design fonts, unless the screen is smaller
    // than the design: then they shrink with the boxes, or captions are cut.
    const bool keepFonts = isMaximized() && yr >= 1.0;
    for (const MainLayout::ControlGeometry& g : geometry_) {
        const double k = MainLayout::kTwipsPerPixel;
        g.control->setGeometry(int(std::lround(xr * g.left / k)), int(std::lround(yr * g.top / k)),
                               int(std::lround(xr * g.width / k)), int(std::lround(yr * g.height / k)));
        if (!keepFonts && g.fontSize > 0) {
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
        using Group = AppearanceStore::Group;
        auto integerPart = [this](Group group) {
            const auto v = appearance_.font(group).size;
            return v ? int(std::trunc(*v)) : 0;
        };
        // The chosen sizes shrink too on a screen smaller than the design.
        const double shrink = designClient_.height() > 0
                                  ? std::min(1.0, client_->height() * MainLayout::kTwipsPerPixel / designClient_.height())
                                  : 1.0;
        auto setSize = [shrink](QWidget* w, double size) {
            if (size <= 0)
                return;  // a damaged value leaves the design size
            QFont f = w->font();
            f.setPointSizeF(std::max(1.0, size * shrink));
            w->setFont(f);
        };
        int screen = integerPart(Group::Screen);
        if (screen == 0)
            screen = 10;
        listFontSize_ = screen;
        for (QWidget* w : std::initializer_list<QWidget*>{lst1, lstNF, lstSG, TxtNew, txtCall, txtName, TxtCS})
            setSize(w, screen);
        const int form = integerPart(Group::Form);
        for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label2, Label3, Label4, Label6, LblNew, lblCall, lblName,
                                                          lblCS, lblMode, FraSearch, FraStations, fraFormData, fraAdd})
            setSize(w, form);
        if (const auto exact = appearance_.font(Group::Form).size)
            setSize(Label5, *exact);
        for (QWidget* w : std::initializer_list<QWidget*>{FraSearch, FraStations, fraFormData})
            if (w->font().pointSizeF() > 18)
                setSize(w, 18);
        if (const auto netSize = appearance_.font(Group::FormData).size) {
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
    if (type == QEvent::KeyPress && (watched == lstSG || watched == lstNF)) {
        // Enter on a line does what a click on it does.
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* list = static_cast<QListWidget*>(watched);
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && list->currentItem()) {
            if (list == lstSG)
                lstSG_Click(list->currentItem());
            else
                lstNF_Click(list->currentItem());
            return true;
        }
        return false;
    }
    // A quick second click arrives as a double-click; it counts all the same.
    if (watched == lblTraffic && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)) {
        lblTraffic_MouseDown(static_cast<QMouseEvent*>(event)->button());
        return true;
    }
    if (watched == lst1->viewport() && type == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        // The pop-up menu acts on the line under the pointer.
        if (mouse->button() == Qt::RightButton)
            if (QListWidgetItem* item = lst1->itemAt(mouse->position().toPoint())) {
                lst1->setCurrentItem(item);
                lst1_Click();
            }
        lst1_MouseDown(mouse->button(), mouse->globalPosition().toPoint());
        return mouse->button() == Qt::RightButton;
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

