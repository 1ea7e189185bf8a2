#include "frm_report_editor.h"

#include "fit_widgets.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "ui_style.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

frmReportEditor::frmReportEditor(Platform& platform, ProgramState& state, SettingsStore& settings, QWidget* parent)
    : QDialog(parent), platform_(platform), state_(state), model_(settings, state.report)
{
    setObjectName(QStringLiteral("frmReportEditor"));
    setWindowTitle(ReportEditorText::kCaption);
    setModal(true);

    const QFont labelFont = Ui::font("Arial", 10, true);
    const QFont boxFont = Ui::font("Arial", 12, true);
    const QFont listFont = Ui::font("Arial", 11);
    const QFont buttonFont = Ui::font("Arial", 10, true);

    auto label = [&](QLabel*& member, const char* name, const QString& caption) {
        auto* l = new FitLabel(caption, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(labelFont);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        member = l;
    };
    auto box = [&](QLineEdit*& member, const char* name, const QFont& f, int minWidth) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setFont(f);
        e->setMinimumWidth(minWidth);
        member = e;
    };
    auto button = [&](QPushButton*& member, const char* name, const QString& caption, int minWidth) {
        auto* b = new FitButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(buttonFont);
        b->setAutoDefault(false);
        b->setMinimumSize(minWidth, QFontMetrics(buttonFont).height() + 16);
        member = b;
    };

    const QFontMetrics boxMetrics(boxFont);
    const QFontMetrics listMetrics(listFont);
    const QFontMetrics buttonMetrics(buttonFont);
    const int figureWidth = boxMetrics.horizontalAdvance(QStringLiteral("000000")) + 16;
    // A full entry: call 6, name 15, QTH 25 characters and the blanks.
    const int entryWidth = listMetrics.horizontalAdvance(QLatin1Char('W')) * 6 + listMetrics.averageCharWidth() * 44 + 40;

    label(lblSessions, "lblSessions", QStringLiteral("SESSIONS CALLED"));
    box(txtSessions, "txtSessions", boxFont, figureWidth);
    label(lblcheckin, "lblcheckin", QStringLiteral("TOTAL CHECKINS"));
    box(txtCheckins, "txtCheckins", boxFont, figureWidth);
    label(LBLTraffic, "LBLTraffic", QStringLiteral("TRAFFIC COUNT"));
    box(txtTraffic, "txtTraffic", boxFont, figureWidth);
    label(LBLNEW, "LBLNEW", QStringLiteral("NEW MEMBERS"));
    lblSessions->setBuddy(txtSessions);
    lblcheckin->setBuddy(txtCheckins);
    LBLTraffic->setBuddy(txtTraffic);

    lstNewMember = new QListWidget(this);
    lstNewMember->setObjectName(QStringLiteral("lstNewMember"));
    lstNewMember->setFont(listFont);
    lstNewMember->setMinimumSize(entryWidth, listMetrics.lineSpacing() * 10 + 12);

    label(Label1, "Label1", ReportEditorText::kAddMembers);
    // The widest of its three captions decides its room.
    Label1->setMinimumWidth(QFontMetrics(labelFont).horizontalAdvance(ReportEditorText::kAddMembers) + 8);
    box(txtAdd, "txtAdd", listFont, entryWidth);
    txtAdd->setMinimumHeight(boxMetrics.height() + 8);

    const int smallButton = buttonMetrics.horizontalAdvance(QStringLiteral("DELETE")) + 32;
    button(cmdAdd, "cmdAdd", QStringLiteral("ADD"), smallButton);
    button(cmdMove, "cmdMove", QStringLiteral(">"), buttonMetrics.horizontalAdvance(QLatin1Char('>')) + 32);
    button(cmdEdit, "cmdEdit", QStringLiteral("EDIT"), smallButton);
    button(cmdDelete, "cmdDelete", QStringLiteral("DELETE"), smallButton);
    const int wideButton = buttonMetrics.horizontalAdvance(QStringLiteral("SAVE CHANGES")) + 32;
    button(CmdSave, "CmdSave", QStringLiteral("SAVE CHANGES"), wideButton);
    button(cmdExit, "cmdExit", QStringLiteral("EXIT"), wideButton);
    // ">" comes and goes without moving its neighbours.
    QSizePolicy keep = cmdMove->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    cmdMove->setSizePolicy(keep);

    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(12);
    figures->setVerticalSpacing(6);
    figures->addWidget(lblSessions, 0, 0);
    figures->addWidget(txtSessions, 0, 1);
    figures->addWidget(lblcheckin, 1, 0);
    figures->addWidget(txtCheckins, 1, 1);
    figures->addWidget(LBLTraffic, 2, 0);
    figures->addWidget(txtTraffic, 2, 1);
    figures->setColumnStretch(2, 1);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    grid->addWidget(LBLNEW, 0, 0);
    grid->addWidget(lstNewMember, 1, 0);
    auto* listButtons = new QVBoxLayout;
    listButtons->setSpacing(8);
    listButtons->addWidget(cmdEdit);
    listButtons->addWidget(cmdDelete);
    listButtons->addStretch(1);
    grid->addLayout(listButtons, 1, 1, 1, 2);
    grid->addWidget(Label1, 2, 0);
    grid->addWidget(txtAdd, 3, 0);
    auto* addButtons = new QHBoxLayout;
    addButtons->setSpacing(8);
    addButtons->addWidget(cmdMove);
    addButtons->addWidget(cmdAdd);
    grid->addLayout(addButtons, 3, 1, 1, 2);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(10);
    bottom->addStretch(1);
    bottom->addWidget(CmdSave);
    bottom->addWidget(cmdExit);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(18, 16, 18, 16);
    outer->setSpacing(12);
    outer->addLayout(figures);
    outer->addLayout(grid);
    outer->addLayout(bottom);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(txtSessions, txtCheckins);
    setTabOrder(txtCheckins, txtTraffic);
    setTabOrder(txtTraffic, lstNewMember);
    setTabOrder(lstNewMember, cmdEdit);
    setTabOrder(cmdEdit, cmdDelete);
    setTabOrder(cmdDelete, txtAdd);
    setTabOrder(txtAdd, cmdMove);
    setTabOrder(cmdMove, cmdAdd);
    setTabOrder(cmdAdd, CmdSave);
    setTabOrder(CmdSave, cmdExit);

    // textEdited: only the operator's typing, never a text set by the window.
    connect(txtSessions, &QLineEdit::textEdited, this, &frmReportEditor::txtSessions_Change);
    connect(txtCheckins, &QLineEdit::textEdited, this, &frmReportEditor::txtCheckins_Change);
    connect(txtTraffic, &QLineEdit::textEdited, this, &frmReportEditor::txtTraffic_Change);
    connect(txtAdd, &QLineEdit::textEdited, this, &frmReportEditor::txtAdd_Change);
    connect(lstNewMember, &QListWidget::currentRowChanged, this, &frmReportEditor::lstNewMember_Click);
    connect(lstNewMember, &QListWidget::itemClicked, this, &frmReportEditor::lstNewMember_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmReportEditor::cmdAdd_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmReportEditor::cmdEdit_Click);
    connect(cmdMove, &QPushButton::clicked, this, &frmReportEditor::cmdMove_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmReportEditor::cmdDelete_Click);
    connect(CmdSave, &QPushButton::clicked, this, &frmReportEditor::cmdSave_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmReportEditor::CmdExit_Click);

    mirror();
}

frmReportEditor::~frmReportEditor() = default;

void frmReportEditor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && !loaded_)
        Form_Load();
}

void frmReportEditor::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // Closed, not minimised: the next showing reads the store afresh.
    if (!event->spontaneous())
        loaded_ = false;
}

void frmReportEditor::Form_Load()
{
    loaded_ = true;
    Ui::centreOnScreen(this, QRect(0, 0, state_.screenWidth, state_.screenHeight));
    model_.load();
    mirror();
}

void frmReportEditor::mirror()
{
    const QSignalBlocker b1(txtSessions), b2(txtCheckins), b3(txtTraffic), b4(txtAdd), b5(lstNewMember);
    auto show = [](QLineEdit* box, const QString& text) {
        if (box->text() != text)
            box->setText(text);
    };
    show(txtSessions, model_.sessionsText());
    show(txtCheckins, model_.checkinsText());
    show(txtTraffic, model_.trafficText());
    show(txtAdd, model_.addText());

    QStringList shown;
    for (int i = 0; i < lstNewMember->count(); ++i)
        shown.append(lstNewMember->item(i)->text());
    if (shown != model_.lines()) {
        lstNewMember->clear();
        lstNewMember->addItems(model_.lines());
    }
    if (model_.selectedIndex() >= 0) {
        lstNewMember->setCurrentRow(model_.selectedIndex());
    } else {
        lstNewMember->setCurrentRow(-1);
        lstNewMember->clearSelection();
    }

    Label1->setText(model_.entryTitle());
    cmdAdd->setEnabled(model_.addEnabled());
    cmdMove->setVisible(model_.moveVisible());
    cmdEdit->setEnabled(model_.editEnabled());
    cmdDelete->setEnabled(model_.deleteEnabled());
    CmdSave->setEnabled(model_.saveEnabled());
}

void frmReportEditor::txtSessions_Change()
{
    model_.setSessionsText(txtSessions->text());
    mirror();
}

void frmReportEditor::txtCheckins_Change()
{
    model_.setCheckinsText(txtCheckins->text());
    mirror();
}

void frmReportEditor::txtTraffic_Change()
{
    model_.setTrafficText(txtTraffic->text());
    mirror();
}

void frmReportEditor::txtAdd_Change()
{
    model_.setAddText(txtAdd->text());
    mirror();
}

void frmReportEditor::lstNewMember_Click()
{
    const QList<QListWidgetItem*> selected = lstNewMember->selectedItems();
    model_.selectLine(selected.isEmpty() ? lstNewMember->currentRow() : lstNewMember->row(selected.first()));
    mirror();
}

void frmReportEditor::cmdAdd_Click()
{
    model_.add();
    mirror();
    txtAdd->setFocus();
}

void frmReportEditor::cmdEdit_Click()
{
    model_.edit();
    mirror();
}

void frmReportEditor::cmdMove_Click()
{
    model_.move();
    mirror();
}

void frmReportEditor::cmdDelete_Click()
{
    // A line that matches no stored entry stays; nothing to tell.
    model_.deleteLine();
    mirror();
}

void frmReportEditor::cmdSave_Click()
{
    const ReportWriteOutcome outcome = model_.save();
    mirror();
    if (!outcome.stored && !outcome.message.isEmpty())
        platform_.prompts->message(outcome.message, Prompts::Icon::Exclamation);
}

void frmReportEditor::CmdExit_Click()
{
    model_.exit();
    mirror();
    QDialog::reject();
}

void frmReportEditor::reject() { CmdExit_Click(); }
