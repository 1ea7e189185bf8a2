#include "frm_main.h"

#include "core/settings_store.h"
#include "main_layout.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "platform/sound.h"
#include "ui_style.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

namespace {

const QString kDesignCaption = QStringLiteral("VELNOR Association  Net Version 1 B1 ");

template <typename T>
T* make(QWidget* parent, const char* name)
{
    auto* w = new T(parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, const QFont& font, const QColor& text,
                  const QColor& background = QColor())
{
    auto* l = make<QLabel>(parent, name);
    l->setText(caption);
    l->setFont(font);
    Ui::setColours(l, text, background);
    return l;
}

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption, const QFont& font)
{
    auto* f = make<QGroupBox>(parent, name);
    f->setTitle(caption);
    f->setFont(font);
    Ui::setColours(f, Qt::white, Ui::kButtonShadow);
    return f;
}

QListWidget* makeList(QWidget* parent, const char* name, const QFont& font)
{
    auto* l = make<QListWidget>(parent, name);
    l->setFont(font);
    Ui::setColours(l, Qt::black, QColor(0, 255, 0));
    l->setFocusPolicy(Qt::NoFocus);  // the keyboard stays in the check-in box
    return l;
}

}  // namespace

frmMain::frmMain(Platform& platform, ProgramState& state, SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent), platform_(platform), state_(state), settings_(settings)
{
    setObjectName(QStringLiteral("frmMain"));
    Ui::installFontSubstitutes();
    buildControls();
    Form_Load();
}

frmMain::~frmMain() = default;

void frmMain::buildControls()
{
    setWindowTitle(kDesignCaption);
    auto* client = make<QWidget>(this, "client");
    setCentralWidget(client);
    client->setAutoFillBackground(true);
    Ui::setColours(client, Qt::black, Ui::kAppWorkspace);
    // The restored size is the design client area.
    resize(int(17400 / MainLayout::kTwipsPerPixel), int(10716 / MainLayout::kTwipsPerPixel));

    const QFont arial12b = Ui::font("Arial", 12, true);

    // The association's logo.
    Image1 = make<QLabel>(client, "Image1");
    Image1->setScaledContents(true);

    // Member info panel; its editor fills it.
    fraAdd = makeFrame(client, "fraAdd", QStringLiteral("MEMBER INFO"), Ui::font("MS Sans Serif", 9.6, true));

    // Check-in panel.
    Fra1 = make<QWidget>(client, "Fra1");
    Fra1->setAutoFillBackground(true);
    Ui::setColours(Fra1, Qt::white, Ui::kButtonShadow);
    TxtChkin = make<QLineEdit>(Fra1, "TxtChkin");
    TxtChkin->setFont(Ui::font("Arial", 28.8, true));
    Ui::setColours(TxtChkin, Qt::black, QColor(0, 255, 0));
    TxtChkin->installEventFilter(this);
    Label3 = makeLabel(Fra1, "Label3", QStringLiteral("CALL"), arial12b, Qt::white);
    lblStatus = makeLabel(Fra1, "lblStatus", QString(), Ui::font("Arial", 18, true), Qt::red, Ui::kWindowBackground);
    lblStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblStatus->hide();

    // Net info panel: the counters.
    fraFormData = makeFrame(client, "fraFormData", QStringLiteral("NET INFO"), Ui::font("Arial", 13.8, true));
    Label6 = makeLabel(fraFormData, "Label6", QStringLiteral("CHECK INS"), arial12b, Qt::white);
    Label1 = makeLabel(fraFormData, "Label1", QStringLiteral("TRAFFIC"), arial12b, Qt::white);
    Label5 = makeLabel(fraFormData, "Label5", QStringLiteral("  MEMBERS"), arial12b, Qt::white);
    const QFont counterFont = Ui::font("Arial", 24, true);
    lblChkins = makeLabel(fraFormData, "lblChkins", QStringLiteral("0"), counterFont, Qt::blue, Ui::kWindowBackground);
    lblTraffic = makeLabel(fraFormData, "lblTraffic", QStringLiteral("0"), counterFont, Qt::blue, Ui::kWindowBackground);
    lblMembers = makeLabel(fraFormData, "lblMembers", QStringLiteral("0"), counterFont, Qt::blue, Ui::kWindowBackground);
    lblTraffic->installEventFilter(this);

    // Roster.
    FraStations = makeFrame(client, "FraStations", QStringLiteral("STATIONS IN THE NET"), Ui::font("Arial", 13.8, true));
    lst1 = makeList(FraStations, "lst1", Ui::font("Arial", 10.8));

    // Search results.
    FraSearch = makeFrame(client, "FraSearch", QStringLiteral("SEARCH RESULTS"), Ui::font("Arial", 13.8));
    cmdHide = make<QPushButton>(FraSearch, "cmdHide");
    cmdHide->setText(QStringLiteral("CLEAR"));
    cmdHide->setFont(Ui::font("Arial", 10.8, true));
    cmdHide->setFocusPolicy(Qt::NoFocus);
    lstSG = makeList(FraSearch, "lstSG", Ui::font("Arial", 12));
    lstNF = makeList(FraSearch, "lstNF", Ui::font("Arial", 12));
    lblSG = makeLabel(FraSearch, "lblSG", QStringLiteral("SUGGEST"), arial12b, Qt::white);
    LblNF1 = makeLabel(FraSearch, "LblNF1", QStringLiteral("UNKNOWN"), arial12b, Qt::white);

    connect(cmdHide, &QPushButton::clicked, this, &frmMain::cmdHide_Click);
    connect(lstSG, &QListWidget::itemClicked, this, &frmMain::lstSG_Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    connect(Timer2, &QTimer::timeout, this, &frmMain::Timer2_Timer);

    Ui::giveWideCaret(TxtChkin);
}

void frmMain::Form_Load()
{
    roster_ = CheckinRoster();
    lblTraffic->setText(roster_.trafficCaption());

    if (!table_.LoadMemberTable(state_.paths.memberFile)) {
        platform_.prompts->message(table_.lastError() + QStringLiteral("\n\nMembers cannot be looked up or added in this run."),
                                   Prompts::Icon::Critical);
    } else if (!table_.lastError().isEmpty()) {
        platform_.prompts->message(table_.lastError(), Prompts::Icon::Warning);
    }
    showMembersCount();
    const MembersCounterColour colour = MembersCounterColourFor(table_.memberCount());
    if (colour != MembersCounterColour::Unchanged)
        Ui::setColours(lblMembers, colour == MembersCounterColour::Yellow ? QColor(255, 255, 0) : QColor(255, 0, 0),
                       Ui::kWindowBackground);

    // The net control checks itself in first.
    if (!options_.disableAutoInsert && !state_.netControlCall.isEmpty()) {
        TxtChkin->setText(state_.netControlCall.right(6).trimmed());
        txtChkin_KeyDown(13);
    }
}

void frmMain::showMembersCount() { lblMembers->setText(QString::number(table_.memberCount())); }

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
    lblStatus->resize(lblStatus->size().expandedTo(lblStatus->sizeHint()));
    if (!Timer1->isActive())
        lblStatus->setVisible(true);
}

void frmMain::txtChkin_KeyDown(int keyCode, Qt::KeyboardModifiers)
{
    if (keyCode != 13 && flags_.pendingInsert != 1)
        return;
    CheckInOptions opts;
    opts.disableWindowFlash = options_.disableWindowFlash;
    const CheckInOutcome outcome = ProcessCheckIn(TxtChkin->text(), table_, roster_, flags_, opts);
    applyOutcome(outcome);
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
    Change_Caret();
}

void frmMain::lstSG_Click(QListWidgetItem* item)
{
    if (!item || options_.disableAutoInsert)
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
    // The wide caret itself comes from the window's style; showing it means
    // the check-in box holds the focus with its cursor visible.
    TxtChkin->setCursorPosition(TxtChkin->text().size());
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TxtChkin) {
        if (event->type() == QEvent::FocusIn) {
            TxtChkin_GotFocus();
        } else if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            txtChkin_KeyDown(enter ? 13 : key->key(), key->modifiers());
            if (enter)
                return true;  // Enter never reaches the box itself
        }
    } else if (watched == lblTraffic && event->type() == QEvent::MouseButtonPress) {
        lblTraffic_MouseDown(static_cast<QMouseEvent*>(event)->button());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::applyLayout()
{
    const QSize client = centralWidget()->size();
    MainLayout::apply(centralWidget(),
                      QSizeF(client.width() * MainLayout::kTwipsPerPixel, client.height() * MainLayout::kTwipsPerPixel));
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    applyLayout();
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    applyLayout();
    TxtChkin->setFocus();
}
