#include "core/program_state.h"
#include "core/settings_store.h"
#include "fake_clipboard.h"
#include "fake_line_printer.h"
#include "fakes.h"
#include "test_home.h"
#include "test_main.h"
#include "widget_checks.h"
#include "ui/fit_widgets.h"
#include "ui/frm_report.h"
#include "ui/frm_report_editor.h"
#include "ui/ui_style.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <memory>

namespace {

const QString kMissing = QStringLiteral("<missing>");


QStringList listed(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

}  // namespace

// The report editor as the operator drives it.
class TstReportEditorWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Ui::installFontSubstitutes(); }
    void init();
    void cleanup();

    void controlsAndCaptions();
    void loadShowsLeadingNumbers_data();
    void loadShowsLeadingNumbers();
    void showsSlotsAfterAFreeSlotZero();
    void typingAFigureEnablesSave_data();
    void typingAFigureEnablesSave();
    void clickingALine();
    void addedEntryStartsWithABlankAndDeleteMatchesIt();
    void addNeedsText();
    void editAndPutBack();
    void deleteOfAnEditedUnsavedLineRemovesNothing();
    void deleteWritesAtOnce();
    void saveStoresWhatWasTyped();
    void refusedSaveShowsTheMessage();
    void exitDiscards_data();
    void exitDiscards();
    void centredOnScreen();
    void layoutAndPicture();

private:
    std::unique_ptr<frmReportEditor> open()
    {
        auto w = std::make_unique<frmReportEditor>(fakes_->platform, state_, *settings_);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("window not exposed");
        return w;
    }
    void store(const QStringList& figures, const QStringList& slotTexts)
    {
        const QStringList keys{"Sessions", "Checkins", "Traffic"};
        for (int i = 0; i < figures.size(); ++i) {
            if (figures.at(i) != kMissing)
                settings_->SaveSetting("Report", keys.at(i), figures.at(i));
        }
        for (int slot = 0; slot < slotTexts.size(); ++slot) {
            if (slotTexts.at(slot) != kMissing)
                settings_->SaveSetting("NewMember", QString::number(slot), slotTexts.at(slot));
        }
    }
    QStringList slotValues(int count) const
    {
        QStringList values;
        for (int slot = 0; slot < count; ++slot)
            values << settings_->GetSetting("NewMember", QString::number(slot), kMissing);
        return values;
    }
    QStringList storedFigures() const
    {
        return {settings_->GetSetting("Report", "Sessions", kMissing),
                settings_->GetSetting("Report", "Checkins", kMissing),
                settings_->GetSetting("Report", "Traffic", kMissing)};
    }
    static void clickLine(frmReportEditor& w, int row)
    {
        QListWidget* list = w.lstNewMember;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    static void typeInto(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        QTest::keyClicks(box, text);
    }

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<FakePlatform> fakes_;
    ProgramState state_;
};

void TstReportEditorWindow::init()
{
    home_ = std::make_unique<TestHome>();
    settings_ = std::make_unique<SettingsStore>(home_->settingsFile());
    fakes_ = std::make_unique<FakePlatform>();
    state_ = ProgramState();
}

void TstReportEditorWindow::cleanup()
{
    settings_.reset();
    fakes_.reset();
    home_.reset();
}

void TstReportEditorWindow::controlsAndCaptions()
{
    auto w = open();
    QCOMPARE(w->windowTitle(), QString("Report Editor"));
    QVERIFY(w->isModal());
    struct Control {
        const char* name;
        QWidget* member;
        QString caption;
    };
    const Control controls[] = {
        {"lblSessions", w->lblSessions, "SESSIONS CALLED"}, {"txtSessions", w->txtSessions, "0"},
        {"lblcheckin", w->lblcheckin, "TOTAL CHECKINS"},    {"txtCheckins", w->txtCheckins, "0"},
        {"LBLTraffic", w->LBLTraffic, "TRAFFIC COUNT"},     {"txtTraffic", w->txtTraffic, "0"},
        {"LBLNEW", w->LBLNEW, "NEW MEMBERS"},               {"Label1", w->Label1, "ADD NEW MEMBERS"},
        {"txtAdd", w->txtAdd, ""},                          {"cmdAdd", w->cmdAdd, "ADD"},
        {"cmdMove", w->cmdMove, ">"},                       {"cmdEdit", w->cmdEdit, "EDIT"},
        {"cmdDelete", w->cmdDelete, "DELETE"},              {"CmdSave", w->CmdSave, "SAVE CHANGES"},
        {"cmdExit", w->cmdExit, "EXIT"},
    };
    for (const Control& c : controls) {
        QVERIFY2(c.member, c.name);
        QCOMPARE(w->findChild<QWidget*>(c.name), c.member);
        if (auto* l = qobject_cast<QLabel*>(c.member))
            QCOMPARE(l->text(), c.caption);
        else if (auto* e = qobject_cast<QLineEdit*>(c.member))
            QCOMPARE(e->text(), c.caption);
        else
            QCOMPARE(qobject_cast<QPushButton*>(c.member)->text(), c.caption);
    }
    QCOMPARE(w->findChild<QListWidget*>("lstNewMember"), w->lstNewMember);
    QVERIFY(!w->CmdSave->isEnabled());
    QVERIFY(!w->cmdMove->isVisible());
    QVERIFY(!w->cmdAdd->isEnabled());
    QVERIFY(!w->cmdEdit->isEnabled());
    QVERIFY(!w->cmdDelete->isEnabled());
    QVERIFY(w->cmdExit->isEnabled());
}

void TstReportEditorWindow::loadShowsLeadingNumbers_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("missing") << QStringList{kMissing, kMissing, kMissing} << QStringList{"0", "0", "0"};
    QTest::newRow("plain") << QStringList{"4", "57", "3"} << QStringList{"4", "57", "3"};
    QTest::newRow("letters after") << QStringList{"12abc", " 7", "abc"} << QStringList{"12", "7", "0"};
    QTest::newRow("negative and empty") << QStringList{"-3", "", "0009"} << QStringList{"-3", "0", "9"};
}

void TstReportEditorWindow::loadShowsLeadingNumbers()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, shown);
    store(stored, {});
    auto w = open();
    QCOMPARE((QStringList{w->txtSessions->text(), w->txtCheckins->text(), w->txtTraffic->text()}), shown);
    // Showing the figures is no change.
    QVERIFY(!w->CmdSave->isEnabled());
}

void TstReportEditorWindow::showsSlotsAfterAFreeSlotZero()
{
    QStringList slotTexts{""};
    for (int i = 1; i <= 15; ++i)
        slotTexts << QString("K%1 NAME TOWN").arg(i);
    store({"1", "2", "3"}, slotTexts);

    auto w = open();
    QCOMPARE(listed(w->lstNewMember), slotTexts.mid(1, 14));  // "1".."14"; "15" is never shown

    FakeLinePrinter printer;
    FakeClipboard clipboard;
    fakes_->platform.printer = &printer;
    fakes_->platform.clipboard = &clipboard;
    FrmReport report(fakes_->platform, state_, *settings_, 1);
    report.show();
    QCOMPARE(report.LstNewMem->count(), 0);
}

void TstReportEditorWindow::typingAFigureEnablesSave_data()
{
    QTest::addColumn<QString>("box");
    QTest::newRow("sessions") << "txtSessions";
    QTest::newRow("check-ins") << "txtCheckins";
    QTest::newRow("traffic") << "txtTraffic";
}

void TstReportEditorWindow::typingAFigureEnablesSave()
{
    QFETCH(QString, box);
    store({"4", "57", "3"}, {"A0 B C"});
    auto w = open();
    typeInto(w->findChild<QLineEdit*>(box), "1");
    QVERIFY(w->CmdSave->isEnabled());
    QVERIFY(!w->cmdAdd->isEnabled());
    QVERIFY(!w->cmdDelete->isEnabled());
}

void TstReportEditorWindow::clickingALine()
{
    store({"4", "57", "3"}, {"A0 B C", "A1 B C"});
    auto w = open();
    clickLine(*w, 1);
    QCOMPARE(w->model().selectedIndex(), 1);
    QVERIFY(w->cmdDelete->isEnabled());
    QVERIFY(w->cmdEdit->isEnabled());
    QVERIFY(w->CmdSave->isEnabled());
    QVERIFY(!w->cmdAdd->isEnabled());
    // The keyboard moves the selection as a click does.
    w->lstNewMember->setFocus();
    QTest::keyClick(w->lstNewMember, Qt::Key_Up);
    QCOMPARE(w->model().selectedIndex(), 0);
    QCOMPARE(w->lstNewMember->currentRow(), 0);
}

void TstReportEditorWindow::addedEntryStartsWithABlankAndDeleteMatchesIt()
{
    store({"4", "57", "3"}, {"A0 B C"});
    auto w = open();
    typeInto(w->txtAdd, "N0NEW BOB TOWN");
    QVERIFY(w->cmdAdd->isEnabled());
    QVERIFY(!w->cmdMove->isVisible());
    QTest::mouseClick(w->cmdAdd, Qt::LeftButton);
    QCOMPARE(listed(w->lstNewMember), (QStringList{"A0 B C", " N0NEW BOB TOWN"}));
    QCOMPARE(w->txtAdd->text(), QString());
    QVERIFY(w->txtAdd->hasFocus());
    QVERIFY(w->CmdSave->isEnabled());
    QCOMPARE(slotValues(2), (QStringList{"A0 B C", kMissing}));  // nothing stored yet

    QTest::mouseClick(w->CmdSave, Qt::LeftButton);
    QCOMPARE(slotValues(2), (QStringList{"A0 B C", " N0NEW BOB TOWN"}));
    QVERIFY(!w->CmdSave->isEnabled());
    QVERIFY(!w->cmdAdd->isEnabled());
    QVERIFY(!w->cmdDelete->isEnabled());

    // Opened again, the entry shows with its blank, and DELETE finds it.
    w.reset();
    w = open();
    QCOMPARE(listed(w->lstNewMember), (QStringList{"A0 B C", " N0NEW BOB TOWN"}));
    clickLine(*w, 1);
    QTest::mouseClick(w->cmdDelete, Qt::LeftButton);
    QCOMPARE(listed(w->lstNewMember), QStringList{"A0 B C"});
    QCOMPARE(slotValues(2), (QStringList{"A0 B C", ""}));
}

void TstReportEditorWindow::addNeedsText()
{
    auto w = open();
    typeInto(w->txtAdd, "   ");
    QVERIFY(w->cmdAdd->isEnabled());
    QTest::mouseClick(w->cmdAdd, Qt::LeftButton);
    QCOMPARE(w->lstNewMember->count(), 0);
}

void TstReportEditorWindow::editAndPutBack()
{
    store({"4", "57", "3"}, {"A0 B C", "A1 B C", "A2 B C"});
    auto w = open();
    clickLine(*w, 1);
    QTest::mouseClick(w->cmdEdit, Qt::LeftButton);
    QCOMPARE(w->Label1->text(), QString("EDIT NEW MEMBER"));
    QCOMPARE(w->txtAdd->text(), QString("A1 B C"));
    // The entry box changed, so ">" shows; ADD stays as it was.
    QVERIFY(w->cmdMove->isVisible());
    QVERIFY(!w->cmdAdd->isEnabled());

    w->txtAdd->setFocus();
    QTest::keyClick(w->txtAdd, Qt::Key_End);
    QTest::keyClicks(w->txtAdd, "D");
    QCOMPARE(w->txtAdd->text(), QString("A1 B CD"));
    QVERIFY(!w->cmdAdd->isEnabled());
    QTest::mouseClick(w->cmdMove, Qt::LeftButton);
    QCOMPARE(listed(w->lstNewMember), (QStringList{"A0 B C", "A1 B CD", "A2 B C"}));
    QCOMPARE(w->Label1->text(), QString("ADD NEW MEMBER"));
    QCOMPARE(w->txtAdd->text(), QString());
    QVERIFY(!w->cmdMove->isVisible());
    QVERIFY(!w->cmdEdit->isEnabled());
    QVERIFY(!w->cmdAdd->isEnabled());
    QVERIFY(!w->model().editMode());

    // Back in add mode, typing enables ADD and leaves ">" hidden.
    typeInto(w->txtAdd, "N0X");
    QVERIFY(w->cmdAdd->isEnabled());
    QVERIFY(!w->cmdMove->isVisible());

    // Only SAVE CHANGES stores the edit.
    QCOMPARE(slotValues(3), (QStringList{"A0 B C", "A1 B C", "A2 B C"}));
    QTest::mouseClick(w->CmdSave, Qt::LeftButton);
    QCOMPARE(slotValues(3), (QStringList{"A0 B C", "A1 B CD", "A2 B C"}));
}

void TstReportEditorWindow::deleteOfAnEditedUnsavedLineRemovesNothing()
{
    store({"4", "57", "3"}, {"A0 B C", "A1 B C"});
    auto w = open();
    clickLine(*w, 1);
    QTest::mouseClick(w->cmdEdit, Qt::LeftButton);
    typeInto(w->txtAdd, "X");
    QTest::mouseClick(w->cmdMove, Qt::LeftButton);
    QCOMPARE(listed(w->lstNewMember), (QStringList{"A0 B C", "A1 B CX"}));

    clickLine(*w, 1);
    QVERIFY(w->cmdDelete->isEnabled());
    QTest::mouseClick(w->cmdDelete, Qt::LeftButton);
    QCOMPARE(listed(w->lstNewMember), (QStringList{"A0 B C", "A1 B CX"}));
    QCOMPARE(slotValues(2), (QStringList{"A0 B C", "A1 B C"}));
    QVERIFY(!w->CmdSave->isEnabled());
    QVERIFY(fakes_->prompts.shown.isEmpty());
}

void TstReportEditorWindow::deleteWritesAtOnce()
{
    store({"4", "57", "3"}, {"A0 B C", "A1 B C", "A2 B C"});
    auto w = open();
    typeInto(w->txtSessions, "9");
    clickLine(*w, 0);
    QTest::mouseClick(w->cmdDelete, Qt::LeftButton);
    QCOMPARE(listed(w->lstNewMember), (QStringList{"A1 B C", "A2 B C"}));
    // No gap is left at slot "0", so the report window still lists them.
    QCOMPARE(slotValues(3), (QStringList{"A1 B C", "A2 B C", ""}));
    QCOMPARE(storedFigures(), (QStringList{"4", "57", "3"}));
    QVERIFY(!w->CmdSave->isEnabled());
    // Leaving now keeps the delete and drops the typed figure.
    QTest::mouseClick(w->cmdExit, Qt::LeftButton);
    QCOMPARE(slotValues(3), (QStringList{"A1 B C", "A2 B C", ""}));
    QCOMPARE(storedFigures(), (QStringList{"4", "57", "3"}));
}

void TstReportEditorWindow::saveStoresWhatWasTyped()
{
    store({"4", "57", "3"}, {"A0 B C", "A1 B C"});
    state_.report = {4, 57, 3};
    auto w = open();
    w->txtSessions->selectAll();
    QTest::keyClicks(w->txtSessions, "12");
    w->txtTraffic->selectAll();
    QTest::keyClicks(w->txtTraffic, "5 msgs");
    clickLine(*w, 0);
    QTest::mouseClick(w->CmdSave, Qt::LeftButton);
    QCOMPARE(storedFigures(), (QStringList{"12", "57", "5 msgs"}));
    QCOMPARE(slotValues(2), (QStringList{"A0 B C", "A1 B C"}));
    // The session added at exit starts from the corrected totals.
    QCOMPARE(state_.report, (NetReport{12, 57, 5}));
    QVERIFY(!w->CmdSave->isEnabled());
    QVERIFY(!w->cmdAdd->isEnabled());
    QVERIFY(!w->cmdDelete->isEnabled());
    QVERIFY(w->isVisible());
    QVERIFY(fakes_->prompts.shown.isEmpty());
}

void TstReportEditorWindow::refusedSaveShowsTheMessage()
{
    store({"4", "57", "3"}, {"A0 B C"});
    state_.report = {4, 57, 3};
    auto w = open();
    w->txtCheckins->selectAll();
    QTest::keyClicks(w->txtCheckins, "40000");
    QTest::mouseClick(w->CmdSave, Qt::LeftButton);
    QCOMPARE(fakes_->prompts.shown.size(), 1);
    QVERIFY(!fakes_->prompts.shown.at(0).text.isEmpty());
    QCOMPARE(fakes_->prompts.shown.at(0).icon, Prompts::Icon::Exclamation);
    QCOMPARE(storedFigures(), (QStringList{"4", "57", "3"}));
    QCOMPARE(state_.report, (NetReport{4, 57, 3}));
    // The figure can still be corrected and saved.
    QVERIFY(w->CmdSave->isEnabled());
    QCOMPARE(w->txtCheckins->text(), QString("40000"));
}

void TstReportEditorWindow::exitDiscards_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("EXIT") << 0;
    QTest::newRow("close box") << 1;
    QTest::newRow("Escape") << 2;
}

void TstReportEditorWindow::exitDiscards()
{
    QFETCH(int, how);
    store({"4", "57", "3"}, {"A0 B C"});
    state_.report = {4, 57, 3};
    auto w = open();
    typeInto(w->txtSessions, "9");
    typeInto(w->txtAdd, "N0NEW BOB TOWN");
    QTest::mouseClick(w->cmdAdd, Qt::LeftButton);
    if (how == 0) {
        QTest::mouseClick(w->cmdExit, Qt::LeftButton);
    } else if (how == 1) {
        QVERIFY(w->close());
    } else {
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_Escape);
    }
    QVERIFY(!w->isVisible());
    QVERIFY(!w->CmdSave->isEnabled());
    QCOMPARE(storedFigures(), (QStringList{"4", "57", "3"}));
    QCOMPARE(slotValues(2), (QStringList{"A0 B C", kMissing}));
    QCOMPARE(state_.report, (NetReport{4, 57, 3}));
}

void TstReportEditorWindow::centredOnScreen()
{
    auto w = open();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = w->frameGeometry();
    QVERIFY2(qAbs(frame.center().x() - screen.center().x()) <= 1, qPrintable(QString::number(frame.x())));
    QVERIFY2(qAbs(frame.center().y() - screen.center().y()) <= 1, qPrintable(QString::number(frame.y())));
}

void TstReportEditorWindow::layoutAndPicture()
{
    QStringList entries;
    for (int i = 0; i < 15; ++i)
        entries << QString("WB%1WWW MARGARET WALLINS WWWWWWWWWW MISSISSIPPI").arg(i % 10);
    store({"32767", "-32768", "32767"}, entries);
    auto w = open();
    clickLine(*w, 2);
    QTest::mouseClick(w->cmdEdit, Qt::LeftButton);
    QVERIFY(w->cmdMove->isVisible());
    verifyNothingCutOff(w.get());
    for (QListWidget* list : {w->lstNewMember}) {
        for (int i = 0; i < list->count(); ++i) {
            const int need = list->fontMetrics().horizontalAdvance(list->item(i)->text());
            QVERIFY2(need < list->viewport()->width() - 4, qPrintable(list->item(i)->text()));
        }
    }
    QVERIFY(w->txtAdd->fontMetrics().horizontalAdvance(w->txtAdd->text()) < w->txtAdd->width() - 8);
    for (QLineEdit* box : {w->txtSessions, w->txtCheckins, w->txtTraffic})
        QVERIFY2(box->fontMetrics().horizontalAdvance(box->text()) < box->width() - 8, qPrintable(box->objectName()));
    for (QPushButton* b : {w->cmdAdd, w->cmdMove, w->cmdEdit, w->cmdDelete, w->CmdSave, w->cmdExit})
        QCOMPARE(static_cast<FitButton*>(b)->fittedFont().pointSizeF(), b->font().pointSizeF());
    for (const QString& caption : {QString("ADD NEW MEMBERS"), QString("EDIT NEW MEMBER")}) {
        w->Label1->setText(caption);
        QCOMPARE(static_cast<FitLabel*>(w->Label1)->fittedFont().pointSizeF(), w->Label1->font().pointSizeF());
    }
    w->Label1->setText(w->model().entryTitle());
    const QPixmap shot = w->grab();
    QVERIFY(!shot.isNull());
    const QString dir = qEnvironmentVariable("VELN_SHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(shot.save(dir + "/frmReportEditor.png"));
}

VELN_TEST(TstReportEditorWindow)
#include "tst_report_editor_window.moc"
