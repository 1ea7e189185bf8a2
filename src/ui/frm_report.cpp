#include "frm_report.h"

#include "fit_widgets.h"
#include "frm_month.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/line_printer.h"
#include "platform/platform.h"
#include "printing.h"
#include "ui_style.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QScreen>
#include <QHideEvent>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

FrmReport::FrmReport(Platform& platform, ProgramState& state, SettingsStore& settings, int printerCount,
                     QWidget* parent)
    : QDialog(parent), platform_(platform), state_(state), printerCount_(printerCount),
      model_(settings, state.report, state.reportPeriod)
{
    setObjectName(QStringLiteral("FrmReport"));
    setWindowTitle(ReportWindowText::kCaption);
    setModal(false);

    const QFont titleFont = Ui::font("Arial", 12, true);
    const QFont figureFont = Ui::font("Arial", 14, true);
    const QFont listFont = Ui::font("Arial", 11);
    const QFont buttonFont = Ui::font("Arial", 10, true);

    auto label = [&](QLabel*& member, const char* name, const QString& caption, const QFont& f,
                     Qt::Alignment align) {
        auto* l = new FitLabel(caption, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(f);
        l->setAlignment(align | Qt::AlignVCenter);
        member = l;
    };
    label(lblSessions, "lblSessions", ReportText::kSessionsTitle, titleFont, Qt::AlignRight);
    label(lblSC, "lblSC", QStringLiteral("0"), figureFont, Qt::AlignLeft);
    label(Label1, "Label1", ReportText::kCheckinsTitle, titleFont, Qt::AlignRight);
    label(lblTchkin, "lblTchkin", QStringLiteral("0"), figureFont, Qt::AlignLeft);
    label(Label2, "Label2", ReportText::kTrafficTitle, titleFont, Qt::AlignRight);
    label(lblTC, "lblTC", QStringLiteral("0"), figureFont, Qt::AlignLeft);
    label(lblAdditions, "lblAdditions", QStringLiteral("DATABASE ADDITIONS"), titleFont, Qt::AlignHCenter);
    // Room for the widest 16-bit figure.
    for (QLabel* figure : {lblSC, lblTchkin, lblTC})
        figure->setMinimumWidth(QFontMetrics(figureFont).horizontalAdvance(QStringLiteral("-32768")) + 4);

    LstNewMem = new QListWidget(this);
    LstNewMem->setObjectName(QStringLiteral("LstNewMem"));
    LstNewMem->setFont(listFont);
    {
        // A full entry (6 + 15 + 25 characters and two blanks) fits, and
        // about ten of the fifteen entries show without scrolling.
        const QFontMetrics m(listFont);
        LstNewMem->setMinimumSize(m.horizontalAdvance(QLatin1Char('W')) * 6 + m.averageCharWidth() * 44 + 40,
                                  m.lineSpacing() * 10 + 12);
    }

    auto button = [&](QPushButton*& member, const char* name, const QString& caption) {
        auto* b = new FitButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(buttonFont);
        b->setAutoDefault(false);
        b->setMinimumHeight(QFontMetrics(buttonFont).height() + 18);
        member = b;
    };
    button(cmdCopy, "cmdCopy", ReportWindowText::kCopy);
    button(cmdPrint, "cmdPrint", QStringLiteral("&PRINT"));
    button(cmdReset, "cmdReset", QStringLiteral("RESET REPORT"));
    button(cmdClose, "cmdClose", QStringLiteral("&CLOSE"));
    const QFontMetrics bm(buttonFont);
    cmdCopy->setMinimumWidth(std::max(bm.horizontalAdvance(ReportWindowText::kCopy),
                                      bm.horizontalAdvance(ReportWindowText::kCopied))
                             + 32);
    for (QPushButton* b : {cmdPrint, cmdReset, cmdClose})
        b->setMinimumWidth(bm.horizontalAdvance(QStringLiteral("RESET REPORT")) + 32);

    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(12);
    figures->setVerticalSpacing(6);
    figures->addWidget(lblSessions, 0, 0);
    figures->addWidget(lblSC, 0, 1);
    figures->addWidget(Label1, 1, 0);
    figures->addWidget(lblTchkin, 1, 1);
    figures->addWidget(Label2, 2, 0);
    figures->addWidget(lblTC, 2, 1);
    auto* figureRow = new QHBoxLayout;
    figureRow->addStretch(1);
    figureRow->addLayout(figures);
    figureRow->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdReset);
    buttons->addWidget(cmdClose);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(18, 16, 18, 16);
    outer->setSpacing(10);
    outer->addLayout(figureRow);
    outer->addSpacing(6);
    outer->addWidget(lblAdditions);
    outer->addWidget(LstNewMem, 1);
    outer->addSpacing(6);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdCopy, &QPushButton::clicked, this, &FrmReport::cmdCopy_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &FrmReport::cmdPrint_Click);
    connect(cmdReset, &QPushButton::clicked, this, &FrmReport::cmdReset_Click);
    connect(cmdClose, &QPushButton::clicked, this, &FrmReport::cmdClose_Click);
    // A large scale on a small screen.
    Ui::fitToScreen(this);
}

FrmReport::~FrmReport() = default;

void FrmReport::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && !loaded_)
        Form_Load();
}

void FrmReport::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // Closed, not minimised: the next showing opens it afresh.
    if (!event->spontaneous())
        loaded_ = false;
}

void FrmReport::Form_Load()
{
    loaded_ = true;
    Ui::centreOnScreen(this, QRect(0, 0, state_.screenWidth, state_.screenHeight));
    model_.load(platform_.clock->today(), printerCount_ > 0);
    mirror();
}

void FrmReport::mirror()
{
    const ReportFigures& f = model_.figures();
    lblSC->setText(f.sessions);
    lblTchkin->setText(f.checkins);
    lblTC->setText(f.traffic);
    LstNewMem->clear();
    LstNewMem->addItems(model_.newMembers());
    cmdCopy->setText(model_.copyCaption());
    cmdPrint->setEnabled(model_.printEnabled());
    cmdReset->setEnabled(model_.resetEnabled());
}

void FrmReport::chooseMonth()
{
    frmMonth month(state_.reportPeriod, this);
    month.exec();
}

void FrmReport::cmdCopy_Click()
{
    const QString text = model_.copyReport(*platform_.prompts, [this] { chooseMonth(); });
    if (platform_.clipboard) {
        platform_.clipboard->clear();
        platform_.clipboard->setText(text);
    }
    mirror();
}

void FrmReport::cmdPrint_Click()
{
    const QList<ReportPrintLine> lines = model_.printReport(*platform_.prompts, [this] { chooseMonth(); });
    if (lines.isEmpty())
        return;
    LinePrinter* printer = platform_.printer;
    bool printed = printer != nullptr;
    if (printer)
        printer->setDocumentName(Printing::JobName::kMonthlyReport);
    for (qsizetype i = 0; printed && i < lines.size(); ++i) {
        const ReportPrintLine& line = lines.at(i);
        printed = line.text.isEmpty() ? printer->printEmptyLine() : printer->printLine(line.text, line.column);
    }
    if (printed)
        printed = printer->endDocument();
    // The operator is told, rather than finding a partial page later.
    if (!printed)
        ShowPrinterError(*platform_.prompts);
}

void FrmReport::cmdReset_Click()
{
    if (model_.resetReport(*platform_.prompts))
        mirror();
}

void FrmReport::cmdClose_Click() { close(); }
