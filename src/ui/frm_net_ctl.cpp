#include "frm_net_ctl.h"

#include "core/settings_store.h"
#include "ui_style.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {


}  // namespace

FrmNetCtl::FrmNetCtl(SettingsStore& settings, const NetManager& current, const QString& lblNetMgrCaption,
                     QWidget* parent)
    : QDialog(parent), settings_(settings), current_(current), lblNetMgrCaption_(lblNetMgrCaption)
{
    setObjectName(QStringLiteral("FrmNetCtl"));
    setWindowTitle(kCaption);

    const QFont labelFont = Ui::font("Arial", 10, true);
    const QFont boxFont = Ui::font("Arial", 12, true);

    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    mnuAltNC = menuBar->addMenu(QStringLiteral("&AltNC"));
    mnuAltNC->setObjectName(QStringLiteral("mnuAltNC"));
    // Menu items without behaviour.
    mnuAltNCEdit = mnuAltNC->addAction(QStringLiteral("&Edit"));
    mnuAltNCEdit->setObjectName(QStringLiteral("mnuAltNCEdit"));
    mnuAltNCDelete = mnuAltNC->addAction(QStringLiteral("&Delete"));
    mnuAltNCDelete->setObjectName(QStringLiteral("mnuAltNCDelete"));

    FraNetMgr = new QGroupBox(QStringLiteral("NET MANAGER"), this);
    FraNetMgr->setObjectName(QStringLiteral("FraNetMgr"));
    FraNetMgr->setFont(labelFont);

    auto label = [&](const char* name, const QString& caption) {
        return Ui::namedLabel(FraNetMgr, name, caption, labelFont);
    };
    auto box = [&](const char* name, int chars) { return Ui::namedBox(FraNetMgr, name, boxFont, chars, this); };
    Label2 = label("Label2", QStringLiteral("NAME"));
    TxtMgrName = box("TxtMgrName", 18);
    Label1 = label("Label1", QStringLiteral("CALL"));
    TxtMgrCall = box("TxtMgrCall", 7);
    Label2->setBuddy(TxtMgrName);
    Label1->setBuddy(TxtMgrCall);

    auto* grid = new QGridLayout(FraNetMgr);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(TxtMgrName, 0, 1, 1, 2);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(TxtMgrCall, 1, 1);
    grid->setColumnStretch(2, 1);

    auto button = [&](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(labelFont);
        b->setAutoDefault(false);
        b->setMinimumWidth(QFontMetrics(labelFont).horizontalAdvance(QStringLiteral("CHANGE")) + 32);
        return b;
    };
    cmdChange = button("cmdChange", QStringLiteral("CHANGE"));
    CmdClrNM = button("CmdClrNM", QStringLiteral("&CLEAR"));
    cmdClose = button("cmdClose", QStringLiteral("CLOSE"));
    // Enter in the call box applies the entries.
    cmdChange->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addWidget(cmdChange);
    buttons->addWidget(CmdClrNM);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);

    auto* outer = new QVBoxLayout(this);
    outer->setMenuBar(menuBar);
    outer->setContentsMargins(12, 8, 12, 12);
    outer->setSpacing(12);
    outer->addWidget(FraNetMgr);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(TxtMgrName, TxtMgrCall);
    setTabOrder(TxtMgrCall, cmdChange);
    setTabOrder(cmdChange, CmdClrNM);
    setTabOrder(CmdClrNM, cmdClose);

    connect(cmdChange, &QPushButton::clicked, this, &FrmNetCtl::cmdChange_Click);
    connect(CmdClrNM, &QPushButton::clicked, this, &FrmNetCtl::CmdClrNM_Click);
    connect(cmdClose, &QPushButton::clicked, this, &FrmNetCtl::cmdClose_Click);
}

FrmNetCtl::~FrmNetCtl() = default;

void FrmNetCtl::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A closed dialog opens afresh, as a newly loaded one would.
    if (!event->spontaneous())
        Form_Load();
}

void FrmNetCtl::Form_Load()
{
    Ui::centreOnScreen(this);
    if (lblNetMgrCaption_.isEmpty()) {
        TxtMgrName->clear();
        TxtMgrCall->clear();
    } else {
        TxtMgrName->setText(current_.name);
        TxtMgrCall->setText(current_.call);
    }
    TxtMgrName->setFocus();
}

void FrmNetCtl::cmdChange_Click()
{
    if (TxtMgrCall->text().isEmpty())
        return;
    TxtMgrCall->setText(TxtMgrCall->text().toUpper());
    // A name typed and confirmed with the keyboard never lost its focus; it is
    // still a name that came through the dialog, so upper case too.
    TxtMgrName->setText(TxtMgrName->text().toUpper());
    current_ = {TxtMgrName->text(), TxtMgrCall->text()};
    lblNetMgrCaption_ = IdentityCaption(current_.name, current_.call);
    StoreNetManager(settings_, current_);
    emit managerChanged(current_.name, current_.call);
}

void FrmNetCtl::CmdClrNM_Click()
{
    TxtMgrName->clear();
    TxtMgrCall->clear();
    TxtMgrName->setFocus();
}

void FrmNetCtl::cmdClose_Click()
{
    if (TxtMgrName->text().isEmpty())
        return;
    accept();
}

void FrmNetCtl::TxtMgrName_LostFocus() { TxtMgrName->setText(TxtMgrName->text().toUpper()); }

void FrmNetCtl::TxtMgrCall_LostFocus() { TxtMgrCall->setText(TxtMgrCall->text().toUpper()); }

void FrmNetCtl::done(int result)
{
    const bool wasOpen = isVisible();
    QDialog::done(result);
    if (wasOpen)
        Form_Unload();
}

void FrmNetCtl::Form_Unload()
{
    if (openedFromMenu_)
        openedFromMenu_ = false;
    else
        emit returnFocusToCheckIn();
}

bool FrmNetCtl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == TxtMgrName)
            TxtMgrName_LostFocus();
        else if (watched == TxtMgrCall)
            TxtMgrCall_LostFocus();
    } else if (event->type() == QEvent::KeyPress && watched == TxtMgrName) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            TxtMgrCall->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
