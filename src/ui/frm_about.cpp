#include "frm_about.h"

#include "fit_widgets.h"
#include "platform/platform.h"
#include "ui_style.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

const QString frmAbout::kText = QStringLiteral(" VERSION 1 \r\n"
                                               "\r\n"
                                               "Written in 2026 for the Tarven Section Net by\r\n"
                                               "Orin Baskett  KD0ORB\r\n"
                                               "Millbrook Falls\r\n"
                                               "kd0orb@example.invalid");

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    InitProgramResources();
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(kCaption);
    setModal(false);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    const QPixmap logo(QStringLiteral(":/images/logo.jpg"));
    Image1->setPixmap(logo.scaled(160, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Image1->setAlignment(Qt::AlignCenter);

    lblTitle = new FitLabel(QStringLiteral("SOFTWARE"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setFont(Ui::font("Arial", 16, true));
    Label1 = new FitLabel(QStringLiteral("VELNOR ASSOCIATION"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(Ui::font("Arial", 14, true));
    for (FitLabel* l : {lblTitle, Label1})
        l->setAlignment(Qt::AlignCenter);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    const QFont textFont = Ui::font("Arial", 10);
    Text1->setFont(textFont);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QFontMetrics fm(textFont);
    int widest = 0;
    for (const QString& line : kText.split(QStringLiteral("\r\n")))
        widest = std::max(widest, fm.horizontalAdvance(line));
    Text1->setFixedSize(widest + 40, fm.lineSpacing() * 6 + 24);

    cmdExit = new FitButton(QStringLiteral("&Close"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setFont(Ui::font("Arial", 10, true));
    cmdExit->setMinimumWidth(100);

    auto* heading = new QVBoxLayout;
    heading->addStretch(1);
    heading->addWidget(lblTitle);
    heading->addWidget(Label1);
    heading->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(Image1);
    top->addLayout(heading, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(cmdExit);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 14, 16, 14);
    outer->setSpacing(12);
    outer->addLayout(top);
    outer->addWidget(Text1, 0, Qt::AlignHCenter);
    outer->addLayout(bottom);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdExit, &QPushButton::clicked, this, &frmAbout::cmdExit_Click);

    QString shown = kText;
    Text1->setPlainText(shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

frmAbout::~frmAbout() = default;

void frmAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Form_Load();
}

void frmAbout::Form_Load()
{
    Ui::centreOnScreen(this);
}

void frmAbout::cmdExit_Click() { close(); }
