#include "frm_user_name.h"

#include "ui_style.h"

#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {


}  // namespace

frmUserName::frmUserName(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmUserName"));
    setWindowTitle(kCaption);
    setModal(true);

    const QFont labelFont = Ui::font("Arial", 10, true);
    const QFont boxFont = Ui::font("Arial", 12, true);

    auto label = [&](const char* name, const QString& caption) {
        return Ui::namedLabel(this, name, caption, labelFont);
    };
    auto box = [&](const char* name, int chars) { return Ui::namedBox(this, name, boxFont, chars, this); };

    lblUserName = label("lblUserName", QStringLiteral("Your Name"));
    txtUser = box("txtUser", 18);
    lblYourCallsign = label("lblYourCallsign", QStringLiteral("Your Call"));
    txtUserCall = box("txtUserCall", 7);
    lblUserName->setBuddy(txtUser);
    lblYourCallsign->setBuddy(txtUserCall);
    lblNCQuery = label("lblNCQuery", QStringLiteral("Are You Today's Net Control?"));

    OptYes = new QRadioButton(QStringLiteral("YES"), this);
    OptYes->setObjectName(QStringLiteral("OptYes"));
    OptYes->setFont(labelFont);
    // The only option: a second click takes a mistaken "yes" back.
    OptYes->setAutoExclusive(false);

    CmdExit = new QPushButton(QStringLiteral("Continue"), this);
    CmdExit->setObjectName(QStringLiteral("CmdExit"));
    CmdExit->setFont(labelFont);
    CmdExit->setMinimumWidth(QFontMetrics(labelFont).horizontalAdvance(QStringLiteral("Continue")) + 40);
    CmdExit->setDefault(true);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(lblUserName, 0, 0);
    grid->addWidget(txtUser, 0, 1, 1, 2);
    grid->addWidget(lblYourCallsign, 1, 0);
    grid->addWidget(txtUserCall, 1, 1);
    grid->setColumnStretch(2, 1);

    auto* question = new QHBoxLayout;
    question->setSpacing(16);
    question->addWidget(lblNCQuery);
    question->addWidget(OptYes);
    question->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdExit);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 14, 16, 14);
    outer->setSpacing(14);
    outer->addLayout(grid);
    outer->addLayout(question);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(txtUser, txtUserCall);
    setTabOrder(txtUserCall, OptYes);
    setTabOrder(OptYes, CmdExit);

    connect(CmdExit, &QPushButton::clicked, this, &frmUserName::CmdExit_Click);
}

frmUserName::~frmUserName() = default;

void frmUserName::setPrefill(const QString& name, const QString& call)
{
    txtUser->setText(name);
    txtUserCall->setText(call);
}

void frmUserName::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Form_Load();
}

void frmUserName::Form_Load()
{
    Ui::centreOnScreen(this);
    // The keyboard starts where an answer is still missing; with both boxes
    // filled from the last run only the net-control question is left.
    if (txtUser->text().isEmpty())
        txtUser->setFocus();
    else if (txtUserCall->text().isEmpty())
        txtUserCall->setFocus();
    else
        OptYes->setFocus();
}

void frmUserName::CmdExit_Click()
{
    result_.name = txtUser->text().toUpper();
    result_.call = txtUserCall->text().toUpper();
    result_.netControl = OptYes->isChecked();
    accept();
}

void frmUserName::reject() { CmdExit_Click(); }

bool frmUserName::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == txtUser || watched == txtUserCall)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter moves on: name, call, the question, then Continue.
            (watched == txtUser ? static_cast<QWidget*>(txtUserCall) : OptYes)->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
