#include "frm_xmas.h"

#include "platform/platform.h"

#include "ui_style.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr QSize kPictureBox(420, 320);
}

frmXmas::frmXmas(const QString& documentsFolder, QWidget* parent) : QDialog(parent), folder_(documentsFolder)
{
    InitProgramResources();
    setObjectName(QStringLiteral("frmXmas"));
    setWindowTitle(kCaption);
    setModal(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(kPictureBox);
    Image1->setAlignment(Qt::AlignCenter);
    // Until the first greeting picture arrives (or when none exists).
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/logo.jpg"))
                          .scaled(kPictureBox, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(Image1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    TimeXmas = new QTimer(this);
    TimeXmas->setObjectName(QStringLiteral("TimeXmas"));
    TimeXmas->setInterval(kFrameMs);
    connect(TimeXmas, &QTimer::timeout, this, &frmXmas::TimeXmas_Timer);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kCloseMs);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmXmas::Timer1_Timer);
}

frmXmas::~frmXmas() = default;

void frmXmas::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Ui::centreOnScreen(this);
    // Both timers run from the moment the window opens.
    TimeXmas->start();
    Timer1->start();
}

void frmXmas::TimeXmas_Timer()
{
    const QString file = folder_ + QStringLiteral("Xmas-%1.gif").arg(counter_);
    counter_ = (counter_ + 1) % 3;
    const QPixmap picture(file);
    // A missing or unreadable picture is skipped: the last one stays.
    if (picture.isNull())
        return;
    Image1->setPixmap(picture.size().boundedTo(kPictureBox) == picture.size()
                          ? picture
                          : picture.scaled(kPictureBox, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    shown_ = file;
}

void frmXmas::Timer1_Timer()
{
    TimeXmas->stop();
    Timer1->stop();
    accept();
}
