#include "frm_update.h"

#include "fit_widgets.h"
#include "ui_style.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

frmUpdate::frmUpdate(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmUpdate"));
    setWindowTitle(kCaption);
    setModal(false);

    lblUpdate = new FitLabel(kCaption, this);
    lblUpdate->setObjectName(QStringLiteral("lblUpdate"));
    lblUpdate->setFont(Ui::font("Arial", 16, true));
    lblUpdate->setAlignment(Qt::AlignCenter);

    lblUpdate1 = new FitLabel(kWait, this);
    lblUpdate1->setObjectName(QStringLiteral("lblUpdate1"));
    lblUpdate1->setFont(Ui::font("Arial", 10, true));
    lblUpdate1->setAlignment(Qt::AlignCenter);
    // Room for the longest caption the check can show.
    lblUpdate1->setMinimumWidth(lblUpdate1->sizeHint().width() + 8);

    cmdSkip = new QPushButton(QStringLiteral("&SKIP"), this);
    cmdSkip->setObjectName(QStringLiteral("cmdSkip"));
    connect(cmdSkip, &QPushButton::clicked, this, &frmUpdate::cmdSkip_Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(14);
    layout->addWidget(lblUpdate);
    layout->addWidget(lblUpdate1);
    layout->addWidget(cmdSkip, 0, Qt::AlignCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

frmUpdate::~frmUpdate() = default;

void frmUpdate::cmdSkip_Click()
{
    skipped_ = true;
    cmdSkip->setEnabled(false);
    lblUpdate1->setText(QStringLiteral("SKIPPING THE UPDATE CHECK"));
}

void frmUpdate::setCaption1(const QString& text) { lblUpdate1->setText(text); }

void frmUpdate::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Form_Load();
}

void frmUpdate::Form_Load()
{
    Ui::centreOnScreen(this);
}
