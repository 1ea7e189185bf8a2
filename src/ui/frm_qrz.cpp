#include "frm_qrz.h"

#include "fit_widgets.h"
#include "ui_style.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

const QString frmQRZ::kTitleText =
    QStringLiteral("This build changes the way the program will present the data retrived from QRZ.")
    + QStringLiteral(" In the previous build a right click on a call sign stopped the program and brought up")
    + QStringLiteral(" the QRZ page for that call. Now a right click on an unknown call sign opens the add new")
    + QStringLiteral(" station window, retrieves the station's information from QRZ and inserts it into the")
    + QStringLiteral(" window's fields without leaving the program. To use this feature enter your QRZ login")
    + QStringLiteral(" in the boxes below and press the tab key after the")
    + QStringLiteral(" password to enable the OK button. Click CANCEL to skip the feature.") + QStringLiteral("\r\n")
    + QStringLiteral("NOTICE IF YOU DO NOT WISH TO USE THIS FEATURE CHECK THE DO NOT ASK AGAIN BOX BEFORE YOU "
                     "CLICK ON CANCEL. OTHERWISE THE")
    + QStringLiteral(" PROGRAM WILL ASK EVERY TIME IT RUNS.");

const QString frmQRZ::kAcknowledgement =
    QStringLiteral("QRZ lookup suggested by Nell Ashford, KC0NLA - thank you, Nell!");

frmQRZ::frmQRZ(SettingsStore& settings, QWidget* parent) : QDialog(parent), login_(settings)
{
    setObjectName(QStringLiteral("frmQRZ"));
    setWindowTitle(kCaption);

    const QFont textFont = Ui::font("Arial", 10);
    const QFont labelFont = Ui::font("Arial", 10, true);
    const QFont boxFont = Ui::font("Arial", 11);

    TxtTitle = new QPlainTextEdit(this);
    TxtTitle->setObjectName(QStringLiteral("TxtTitle"));
    TxtTitle->setReadOnly(true);
    TxtTitle->setFont(textFont);
    TxtTitle->setFocusPolicy(Qt::NoFocus);
    TxtTitle->setMinimumSize(520, 175);

    fraQRZ = new QGroupBox(kCaption, this);
    fraQRZ->setObjectName(QStringLiteral("fraQRZ"));
    fraQRZ->setFont(labelFont);

    LabelUserID = new FitLabel(QStringLiteral("USER ID"), fraQRZ);
    LabelUserID->setObjectName(QStringLiteral("LabelUserID"));
    LabelUserID->setFont(labelFont);
    txtUserID = new QLineEdit(fraQRZ);
    txtUserID->setObjectName(QStringLiteral("txtUserID"));
    txtUserID->setFont(boxFont);
    txtUserID->setMinimumWidth(220);
    lblQRZPassword = new FitLabel(QStringLiteral(" Password"), fraQRZ);
    lblQRZPassword->setObjectName(QStringLiteral("lblQRZPassword"));
    lblQRZPassword->setFont(labelFont);
    txtQrzPassWrd = new QLineEdit(fraQRZ);
    txtQrzPassWrd->setObjectName(QStringLiteral("txtQrzPassWrd"));
    txtQrzPassWrd->setFont(boxFont);
    txtQrzPassWrd->setMinimumWidth(220);
    // Not shown as typed: the operator may run the net with onlookers.
    txtQrzPassWrd->setEchoMode(QLineEdit::Password);
    txtQrzPassWrd->installEventFilter(this);
    LabelUserID->setBuddy(txtUserID);
    lblQRZPassword->setBuddy(txtQrzPassWrd);

    // The second callbook, free of charge, asked when QRZ cannot answer.
    fraHamQth = new QGroupBox(kHamQthCaption, this);
    fraHamQth->setObjectName(QStringLiteral("fraHamQth"));
    fraHamQth->setFont(labelFont);
    LabelHamQthUser = new FitLabel(QStringLiteral("USER ID"), fraHamQth);
    LabelHamQthUser->setObjectName(QStringLiteral("LabelHamQthUser"));
    LabelHamQthUser->setFont(labelFont);
    txtHamQthUser = new QLineEdit(fraHamQth);
    txtHamQthUser->setObjectName(QStringLiteral("txtHamQthUser"));
    txtHamQthUser->setFont(boxFont);
    txtHamQthUser->setMinimumWidth(220);
    lblHamQthPassword = new FitLabel(QStringLiteral(" Password"), fraHamQth);
    lblHamQthPassword->setObjectName(QStringLiteral("lblHamQthPassword"));
    lblHamQthPassword->setFont(labelFont);
    txtHamQthPassWrd = new QLineEdit(fraHamQth);
    txtHamQthPassWrd->setObjectName(QStringLiteral("txtHamQthPassWrd"));
    txtHamQthPassWrd->setFont(boxFont);
    txtHamQthPassWrd->setMinimumWidth(220);
    txtHamQthPassWrd->setEchoMode(QLineEdit::Password);
    txtHamQthPassWrd->installEventFilter(this);
    LabelHamQthUser->setBuddy(txtHamQthUser);
    lblHamQthPassword->setBuddy(txtHamQthPassWrd);

    const auto boxes = [](QGroupBox* frame, QWidget* l1, QWidget* b1, QWidget* l2, QWidget* b2) {
        auto* grid = new QGridLayout(frame);
        grid->setContentsMargins(14, 12, 14, 12);
        grid->setHorizontalSpacing(12);
        grid->setVerticalSpacing(10);
        grid->addWidget(l1, 0, 0);
        grid->addWidget(b1, 0, 1);
        grid->addWidget(l2, 1, 0);
        grid->addWidget(b2, 1, 1);
    };
    boxes(fraQRZ, LabelUserID, txtUserID, lblQRZPassword, txtQrzPassWrd);
    boxes(fraHamQth, LabelHamQthUser, txtHamQthUser, lblHamQthPassword, txtHamQthPassWrd);

    lblWhereKept = new FitLabel(login_.passwordPlace(), this);
    lblWhereKept->setObjectName(QStringLiteral("lblWhereKept"));
    lblWhereKept->setFont(Ui::font("Arial", 9));

    chkNoShow = new QCheckBox(QStringLiteral("DO NOT ASK AGAIN"), this);
    chkNoShow->setObjectName(QStringLiteral("chkNoShow"));
    chkNoShow->setFont(labelFont);

    cmdOK = new FitButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new FitButton(QStringLiteral("CANCEL"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    for (FitButton* b : {cmdOK, cmdCancel}) {
        b->setFont(labelFont);
        b->setMinimumWidth(100);
        // Enter must not press CANCEL while OK is still disabled.
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    Label1 = new FitLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(Ui::font("Arial", 9, true));
    Label1->setAlignment(Qt::AlignCenter);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(10);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addStretch(1);

    auto* logins = new QVBoxLayout;
    logins->setSpacing(10);
    logins->addWidget(fraQRZ);
    logins->addWidget(fraHamQth);
    logins->addWidget(lblWhereKept);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(16);
    middle->addLayout(logins, 1);
    middle->addLayout(buttons);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(14, 12, 14, 12);
    outer->setSpacing(10);
    outer->addWidget(TxtTitle);
    outer->addLayout(middle);
    outer->addWidget(chkNoShow);
    outer->addWidget(Label1);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(txtUserID, txtQrzPassWrd);
    setTabOrder(txtQrzPassWrd, txtHamQthUser);
    setTabOrder(txtHamQthUser, txtHamQthPassWrd);
    setTabOrder(txtHamQthPassWrd, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    setTabOrder(cmdCancel, chkNoShow);

    connect(chkNoShow, &QCheckBox::toggled, this, [this] { chkNoShow_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, &frmQRZ::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmQRZ::cmdCancel_Click);

    Form_Load();
}

frmQRZ::~frmQRZ() = default;

void frmQRZ::Form_Load()
{
    cmdOK->setEnabled(false);
    QString shown = kTitleText;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    TxtTitle->setPlainText(shown);
    Label1->setText(kAcknowledgement);
    Ui::setTextColour(Label1, QColor(0, 0, 255));
    txtUserID->setFocus();
}

void frmQRZ::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // The keyring may have answered since the window was made.
    lblWhereKept->setText(login_.passwordPlace());
    Ui::centreOnScreen(this);
}

void frmQRZ::prepareForChange()
{
    changing_ = true;
    chkNoShow->setEnabled(true);
    chkNoShow->setChecked(false);
}

void frmQRZ::txtQrzPassWrd_LostFocus()
{
    if (!txtQrzPassWrd->text().isEmpty())
        cmdOK->setEnabled(true);
    chkNoShow->setEnabled(false);
}

void frmQRZ::txtHamQthPassWrd_LostFocus()
{
    if (!txtHamQthPassWrd->text().isEmpty())
        cmdOK->setEnabled(true);
    chkNoShow->setEnabled(false);
}

void frmQRZ::chkNoShow_Click()
{
    // From the menu a CANCEL must leave the stored tick alone: OK stores it.
    if (!chkNoShow->isEnabled() || changing_)
        return;
    login_.setDontAskAtStart(chkNoShow->isChecked());
}

void frmQRZ::cmdOK_Click()
{
    const QString id = txtUserID->text();
    const QString password = txtQrzPassWrd->text();
    const QString hamUser = txtHamQthUser->text();
    const QString hamPassword = txtHamQthPassWrd->text();
    // A login left wholly empty keeps the stored one; a half one is finished first.
    const bool qrz = !id.isEmpty() || !password.isEmpty();
    const bool ham = !hamUser.isEmpty() || !hamPassword.isEmpty();
    if (!ham || qrz) {
        if (id.isEmpty()) {
            txtUserID->setFocus();
            return;
        }
        if (password.isEmpty()) {
            login_.storeUser(id);
            txtQrzPassWrd->setFocus();
            return;
        }
    }
    if (ham && (hamUser.isEmpty() || hamPassword.isEmpty())) {
        (hamUser.isEmpty() ? txtHamQthUser : txtHamQthPassWrd)->setFocus();
        return;
    }
    if (qrz)
        login_.store(id, password);
    if (ham)
        login_.storeHamQth(hamUser, hamPassword);
    if (changing_)
        login_.setDontAskAtStart(chkNoShow->isChecked());
    accept();
}

void frmQRZ::cmdCancel_Click() { reject(); }

bool frmQRZ::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == txtQrzPassWrd || watched == txtHamQthPassWrd) && event->type() == QEvent::FocusOut) {
        // Switching to another program is no leaving of the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            watched == txtQrzPassWrd ? txtQrzPassWrd_LostFocus() : txtHamQthPassWrd_LostFocus();
    }
    return QDialog::eventFilter(watched, event);
}
