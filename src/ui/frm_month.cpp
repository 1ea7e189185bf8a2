#include "frm_month.h"

#include "fit_widgets.h"
#include "report/report_month.h"
#include "ui_style.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

frmMonth::frmMonth(ReportPeriod& period, QWidget* parent) : QDialog(parent), period_(period)
{
    setObjectName(QStringLiteral("frmMonth"));
    setWindowTitle(MonthWindowText::kCaption);
    setModal(true);

    const QFont labelFont = Ui::font("Arial", 12, true);
    const QFont buttonFont = Ui::font("Arial", 10, true);

    auto* label = new FitLabel(MonthWindowText::kLabel, this);
    label->setObjectName(QStringLiteral("lblMonth"));
    label->setFont(labelFont);
    label->setAlignment(Qt::AlignCenter);
    lblMonth = label;

    // Every button as wide as the widest caption, so the grid reads evenly.
    int widest = 0;
    for (const MonthChoice& c : MonthChoices())
        widest = std::max(widest, QFontMetrics(buttonFont).horizontalAdvance(QString::fromLatin1(c.month)));

    QPushButton** members[] = {&cmdJan, &cmdFeb, &cmdMar, &cmdApr, &cmdMay, &cmdJun,
                               &cmdJul, &cmdAug, &cmdSep, &cmdOct, &cmdNov, &cmdDec};
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    for (int i = 0; i < 12; ++i) {
        const MonthChoice& c = MonthChoices()[i];
        auto* b = new FitButton(QString::fromLatin1(c.caption), this);
        b->setObjectName(QString::fromLatin1(c.objectName));
        b->setFont(buttonFont);
        b->setAutoDefault(false);
        b->setMinimumSize(widest + 28, QFontMetrics(buttonFont).height() + 16);
        *members[i] = b;
        // A quarter to a row.
        grid->addWidget(b, i / 3, i % 3);
        const int monthNumber = i + 1;
        connect(b, &QPushButton::clicked, this, [this, monthNumber] { cmdMonth_Click(monthNumber); });
    }

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 14, 16, 16);
    outer->setSpacing(14);
    outer->addWidget(lblMonth);
    outer->addLayout(grid);
    outer->setSizeConstraint(QLayout::SetFixedSize);
}

frmMonth::~frmMonth() = default;

std::array<QPushButton*, 12> frmMonth::monthButtons() const
{
    return {cmdJan, cmdFeb, cmdMar, cmdApr, cmdMay, cmdJun, cmdJul, cmdAug, cmdSep, cmdOct, cmdNov, cmdDec};
}

void frmMonth::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // Centred over the report window that asks, or on the screen.
    Ui::centreOnScreen(this, parentWidget() ? parentWidget()->window()->frameGeometry() : QRect());
}

void frmMonth::cmdMonth_Click(int monthNumber)
{
    ChooseReportMonth(period_, monthNumber);
    chosen_ = true;
    accept();
}
