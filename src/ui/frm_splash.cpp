#include "frm_splash.h"

#include "core/program_state.h"
#include "core/settings_store.h"
#include "fit_widgets.h"
#include "frm_main.h"
#include "frm_qrz.h"
#include "frm_update.h"
#include "frm_user_name.h"
#include "frm_xmas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include "members/net_manager.h"
#include "members/operator_identity.h"
#include "platform/clock.h"
#include "platform/http_client.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "platform/sound.h"
#include "report/report_month.h"
#include "report/report_store.h"
#include "startup/startup_sequence.h"
#include "startup/update_checker.h"
#include "ui_style.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace {

// A start-up step that fails leaves its values as they were; the next runs.
template <typename Step>
void runStep(Step&& step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

// While the splash is hidden behind the greeting no window is visible; the
// run must not end there.
class KeepRunning {
public:
    KeepRunning() : was_(QGuiApplication::quitOnLastWindowClosed()) { QGuiApplication::setQuitOnLastWindowClosed(false); }
    ~KeepRunning() { QGuiApplication::setQuitOnLastWindowClosed(was_); }
    KeepRunning(const KeepRunning&) = delete;
    KeepRunning& operator=(const KeepRunning&) = delete;

private:
    bool was_;
};

FitLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font)
{
    auto* l = new FitLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(font);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

void keepRoomWhenHidden(QWidget* w)
{
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
}

}  // namespace

frmsplash::frmsplash(Platform& platform, ProgramState& state, SettingsStore& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), platform_(platform), state_(state), settings_(settings)
{
    InitProgramResources();
    Ui::installFontSubstitutes();
    setObjectName(QStringLiteral("frmsplash"));
    setWindowTitle(Startup::kSplashCaption);

    fraSplash = new QGroupBox(this);
    fraSplash->setObjectName(QStringLiteral("fraSplash"));
    fraSplash->setFont(Ui::font("Times New Roman", 12, true));
    fraSplash->setAlignment(Qt::AlignHCenter);

    const QPixmap logo(QStringLiteral(":/images/logo.jpg"));
    auto picture = [&](const char* name) {
        auto* l = new QLabel(fraSplash);
        l->setObjectName(QString::fromLatin1(name));
        l->setPixmap(logo.scaled(128, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    WinLogo = picture("WinLogo");
    TsnLogo = picture("TsnLogo");

    Label2 = makeLabel(fraSplash, "Label2", Startup::kAssociation, Ui::font("Arial", 20, true));
    Label5 = makeLabel(fraSplash, "Label5", Startup::kVersionLine, Ui::font("Arial", 12, true));
    Label3 = makeLabel(fraSplash, "Label3", QString(), Ui::font("Arial", 10));
    lblName = makeLabel(fraSplash, "lblName", QString(), Ui::font("Arial", 14, true));
    Label6 = makeLabel(fraSplash, "Label6", Startup::kNetControlIs, Ui::font("Arial", 11, true));
    lblNetCtlName = makeLabel(fraSplash, "lblNetCtlName", QString(), Ui::font("Arial", 14, true));
    lblNetCtlCall = makeLabel(fraSplash, "lblNetCtlCall", QString(), Ui::font("Arial", 14, true));
    lblGM = makeLabel(fraSplash, "lblGM", Startup::kGoodEvening, Ui::font("Arial", 16, true));
    Ui::setTextColour(lblGM, QColor(0, 0, 160));
    // Room for the three credit lines and for names typed at the dialog.
    Label3->setMinimumHeight(QFontMetrics(Label3->font()).lineSpacing() * 3 + 6);
    Label3->setMinimumWidth(QFontMetrics(Label3->font()).horizontalAdvance(QStringLiteral("W")) * 34);
    for (FitLabel* l : {lblName, lblNetCtlName, lblNetCtlCall}) {
        l->setMinimumHeight(QFontMetrics(l->font()).height() + 4);
        l->setMinimumWidth(QFontMetrics(l->font()).horizontalAdvance(QStringLiteral("W")) * 8);
    }
    for (QWidget* w : {static_cast<QWidget*>(lblName), static_cast<QWidget*>(Label6), static_cast<QWidget*>(lblGM)}) {
        keepRoomWhenHidden(w);
        w->hide();
    }

    auto* netControl = new QHBoxLayout;
    netControl->setSpacing(24);
    netControl->addStretch(1);
    netControl->addWidget(lblNetCtlName);
    netControl->addWidget(lblNetCtlCall);
    netControl->addStretch(1);

    auto* middle = new QVBoxLayout;
    middle->setSpacing(8);
    middle->addWidget(Label2);
    middle->addWidget(Label5);
    middle->addSpacing(6);
    middle->addWidget(Label3);
    middle->addSpacing(6);
    middle->addWidget(lblName);
    middle->addWidget(Label6);
    middle->addLayout(netControl);
    middle->addSpacing(6);
    middle->addWidget(lblGM);

    auto* inside = new QHBoxLayout(fraSplash);
    inside->setContentsMargins(16, 18, 16, 16);
    inside->setSpacing(20);
    inside->addWidget(WinLogo, 0, Qt::AlignTop);
    inside->addLayout(middle, 1);
    inside->addWidget(TsnLogo, 0, Qt::AlignBottom);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->addWidget(fraSplash);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kHandOverMs);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmsplash::Timer1_Timer);
    // A large scale on a small screen, with the credits it will show.
    Label3->setText(Startup::Credits());
    Ui::fitToScreen(this);
}

frmsplash::~frmsplash() = default;

void frmsplash::Form_Load()
{
    // Date texts, folders, screen, program name and credits.
    today_ = platform_.clock->today();
    state_.reportPeriod = DefaultReportPeriod(today_);
    Label3->setText(Startup::Credits());

    runStep([&] {
        if (state_.screenWidth > 0 && state_.screenHeight > 0)
            move(std::max(0, (state_.screenWidth - frameGeometry().width()) / 2),
                 std::max(0, (state_.screenHeight - frameGeometry().height()) / 2));
    });
    runStep([&] { settleIdentity(); });
    runStep([&] { checkForUpdates(); });
    runStep([&] {
        const NetManager manager = EnsureNetManager(settings_);
        state_.netManagerName = manager.name;
        state_.netManagerCall = manager.call;
    });
    runStep([&] { showNetControl(); });
    runStep([&] { offerQrzLogin(); });
    runStep([&] { Startup::RemoveEarlierManagerFlag(settings_); });
    runStep([&] { operatorName_ = StoredOperator(settings_).name; });
    runStep([&] { RunResetReminder(settings_, *platform_.prompts, state_.netControlName, today_); });
    runStep([&] { showSaying(); });
    lblGM->show();
    Timer1->start();
    setFocusPolicy(Qt::StrongFocus);
    activateWindow();
    setFocus();
}

void frmsplash::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (Timer1->isActive())
        Timer1_Timer();
}

void frmsplash::keyPressEvent(QKeyEvent* event)
{
    QWidget::keyPressEvent(event);
    if (Timer1->isActive())
        Timer1_Timer();
}

void frmsplash::settleIdentity()
{
    const OperatorIdentity stored = StoredOperator(settings_);
    if (!stored.name.isEmpty()) {
        lblName->setText(stored.name.toUpper());
        lblName->show();
    }
    frmUserName dialog(this);
    if (!stored.name.isEmpty())
        dialog.setPrefill(stored.name, stored.call);
    dialog.exec();
    const OperatorIdentity answered = dialog.result();
    const Startup::IdentityOutcome outcome = Startup::SettleStartupIdentity(settings_, stored, answered);
    lblName->setText(outcome.lblName);
    lblName->show();
    state_.netControlName = outcome.control.name;
    state_.netControlCall = outcome.control.call;
    if (outcome.netControl)
        Label6->show();
}

void frmsplash::checkForUpdates()
{
    frmUpdate window(this);
    window.show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (platform_.http) {
        UpdateChecker checker(*platform_.http, *platform_.prompts, settings_, state_.paths,
                              QCoreApplication::applicationFilePath());
        checker.onCaption = [&window](const QString& caption) {
            window.setCaption1(caption);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        };
        // SKIP calls off the transfer under way, and with it the whole check.
        platform_.http->setCancelCheck([&window] { return window.skipped(); });
        const UpdateChecker::Result result = checker.run();
        platform_.http->setCancelCheck({});
        state_.updateDownloaded = state_.updateDownloaded || result.updateDownloaded;
    }
    window.close();
}

void frmsplash::showNetControl()
{
    lblNetCtlName->setText(state_.netControlName);
    lblNetCtlCall->setText(state_.netControlCall);
    if (state_.netControlName.isEmpty())
        ensureMainWindow();
}

void frmsplash::offerQrzLogin()
{
    if (!Startup::ShouldOfferQrzLogin(settings_))
        return;
    frmQRZ dialog(settings_, this);
    dialog.exec();
}

void frmsplash::showSaying()
{
    if (const auto size = Startup::SayingPointSize(state_.screenWidth, state_.screenHeight)) {
        QFont f = fraSplash->font();
        f.setPointSize(*size);
        fraSplash->setFont(f);
    }
    QRandomGenerator random(quint32(platform_.clock->now().toMSecsSinceEpoch()));
    sayingNumber_ = Startup::SayingNumberFor(random.generateDouble());
    fraSplash->setTitle(Startup::Saying(sayingNumber_));
}

frmMain& frmsplash::ensureMainWindow()
{
    if (!main_) {
        main_ = std::make_unique<frmMain>(platform_, state_, settings_);
        if (state_.netControlName.isEmpty())
            main_->showNetControlCaption(Startup::kNone);
    }
    return *main_;
}

void frmsplash::Timer1_Timer()
{
    Timer1->stop();
    KeepRunning keep;
    runStep([&] {
        if (!Startup::GreetingDue(today_))
            return;
        hide();
        if (platform_.sound)
            platform_.sound->play(Startup::GreetingSoundFile(state_.paths));
        frmXmas greeting(state_.paths.documentsFolder);
        greeting.exec();
    });
    runStep([&] { ensureMainWindow().showMaximized(); });
    close();
}
