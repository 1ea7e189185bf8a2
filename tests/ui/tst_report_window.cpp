#include "core/program_state.h"
#include "core/settings_store.h"
#include "fake_clipboard.h"
#include "fake_line_printer.h"
#include "fakes.h"
#include "test_home.h"
#include "test_main.h"
#include "widget_checks.h"
#include "ui/fit_widgets.h"
#include "ui/frm_month.h"
#include "report/report_month.h"
#include "ui/frm_report.h"
#include "ui/ui_style.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <memory>

using Answer = Prompts::Answer;

namespace {

const QString kMissing = QStringLiteral("<missing>");


// Clicks a button of the month window as soon as the report window has it
// open (modally); counts the windows answered.
void answerMonthWindow(const QString& button, int* answered, int triesLeft = 1000)
{
    QTimer::singleShot(0, qApp, [=] {
        if (auto* d = qobject_cast<frmMonth*>(QApplication::activeModalWidget())) {
            ++*answered;
            QTest::mouseClick(d->findChild<QPushButton*>(button), Qt::LeftButton);
        } else if (triesLeft > 0) {
            answerMonthWindow(button, answered, triesLeft - 1);
        }
    });
}

QStringList listed(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

using PrintedLines = QList<FakeLinePrinter::Line>;

}  // namespace

Q_DECLARE_METATYPE(PrintedLines)

// The monthly report window as the operator uses it.
class TstMonthlyReportWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Ui::installFontSubstitutes(); }
    void init();
    void cleanup();

    void controlsAndCaptions();
    void loadShowsTheStore_data();
    void loadShowsTheStore();
    void loadSetsYearFromToday();
    void copiedText_data();
    void copiedText();
    void copyTwiceGivesTheSameText();
    void copyQuestion();
    void printedLines_data();
    void printedLines();
    void printerFailure_data();
    void printerFailure();
    void noPrinterNoPrint();
    void reset_data();
    void reset();
    void closeButtonCloses();
    void openedAgainAfterClosing();
    void centredOnScreen();
    void layoutAndPicture();

private:
    std::unique_ptr<FrmReport> open(int printerCount = 1)
    {
        auto w = std::make_unique<FrmReport>(fakes_->platform, state_, *settings_, printerCount);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("window not exposed");
        return w;
    }
    void store(const QString& sessions, const QString& checkins, const QString& traffic, const QStringList& slotTexts)
    {
        const QStringList keys{"Sessions", "Checkins", "Traffic"};
        const QStringList values{sessions, checkins, traffic};
        for (int i = 0; i < 3; ++i) {
            if (values.at(i) != kMissing)
                settings_->SaveSetting("Report", keys.at(i), values.at(i));
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
    void setToday(const QDate& day) { fakes_->clock.current = QDateTime(day, QTime(20, 0)); }

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<FakePlatform> fakes_;
    FakeLinePrinter printer_;
    FakeClipboard clipboard_;
    ProgramState state_;
};

void TstMonthlyReportWindow::init()
{
    home_ = std::make_unique<TestHome>();
    settings_ = std::make_unique<SettingsStore>(home_->settingsFile());
    fakes_ = std::make_unique<FakePlatform>();
    printer_ = FakeLinePrinter();
    clipboard_ = FakeClipboard();
    fakes_->platform.printer = &printer_;
    fakes_->platform.clipboard = &clipboard_;
    state_ = ProgramState();
    setToday(QDate(2026, 4, 30));
}

void TstMonthlyReportWindow::cleanup()
{
    settings_.reset();
    fakes_.reset();
    home_.reset();
}

void TstMonthlyReportWindow::controlsAndCaptions()
{
    auto w = open();
    QCOMPARE(w->windowTitle(), QString("TSPN MONTHLY REPORT"));
    QVERIFY(!w->isModal());
    struct Control {
        const char* name;
        QWidget* member;
        QString caption;
    };
    const Control controls[] = {
        {"lblSessions", w->lblSessions, "SESSIONS CALLED:"}, {"lblSC", w->lblSC, "0"},
        {"Label1", w->Label1, "TOTAL CHECKINS:"},           {"lblTchkin", w->lblTchkin, "0"},
        {"Label2", w->Label2, "TRAFFIC COUNT:"},            {"lblTC", w->lblTC, "0"},
        {"lblAdditions", w->lblAdditions, "DATABASE ADDITIONS"},
        {"cmdCopy", w->cmdCopy, "COPY REPORT TO CLIPBOARD"}, {"cmdPrint", w->cmdPrint, "&PRINT"},
        {"cmdReset", w->cmdReset, "RESET REPORT"},           {"cmdClose", w->cmdClose, "&CLOSE"},
    };
    for (const Control& c : controls) {
        QVERIFY2(c.member, c.name);
        QCOMPARE(w->findChild<QWidget*>(c.name), c.member);
        if (auto* l = qobject_cast<QLabel*>(c.member))
            QCOMPARE(l->text(), c.caption);
        else
            QCOMPARE(qobject_cast<QPushButton*>(c.member)->text(), c.caption);
    }
    QCOMPARE(w->findChild<QListWidget*>("LstNewMem"), w->LstNewMem);
    QCOMPARE(w->LstNewMem->count(), 0);
    QVERIFY(w->cmdPrint->isEnabled());
    QVERIFY(w->cmdReset->isEnabled());
    QVERIFY(w->cmdCopy->isEnabled());
}

void TstMonthlyReportWindow::loadShowsTheStore_data()
{
    QTest::addColumn<QStringList>("stored");  // Sessions, Checkins, Traffic
    QTest::addColumn<QStringList>("slotTexts");
    QTest::addColumn<QStringList>("figures");
    QTest::addColumn<QStringList>("list");

    QTest::newRow("fresh store") << QStringList{kMissing, kMissing, kMissing} << QStringList{}
                                 << QStringList{"0", "0", "0"} << QStringList{};
    QTest::newRow("figures and entries")
        << QStringList{"4", "57", "3"} << QStringList{"N0CALL JOHN SMALLTOWN MS", "KB1ABC ANN LEE HILLTOP"}
        << QStringList{"4", "57", "3"} << QStringList{"N0CALL JOHN SMALLTOWN MS", "KB1ABC ANN LEE HILLTOP"};
    QTest::newRow("leading numbers") << QStringList{" 12abc", "7.5", "x"} << QStringList{}
                                     << QStringList{"12", "8", "0"} << QStringList{};
    QTest::newRow("free slotTexts skipped") << QStringList{"1", "2", "3"} << QStringList{"A1 B C", "", kMissing, "A3 B C"}
                                        << QStringList{"1", "2", "3"} << QStringList{"A1 B C", "A3 B C"};
    // The report shows nothing when slot "0" is free, whatever follows.
    QTest::newRow("slot 0 free") << QStringList{"1", "2", "3"} << QStringList{"", "A1 B C", "A2 B C"}
                                 << QStringList{"1", "2", "3"} << QStringList{};
    QStringList sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen << QString("K%1 NAME TOWN").arg(i);
    QTest::newRow("sixteen entries") << QStringList{"1", "2", "3"} << sixteen << QStringList{"1", "2", "3"}
                                     << sixteen.mid(0, 15);
}

void TstMonthlyReportWindow::loadShowsTheStore()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, slotTexts);
    QFETCH(QStringList, figures);
    QFETCH(QStringList, list);
    store(stored.at(0), stored.at(1), stored.at(2), slotTexts);
    auto w = open();
    QCOMPARE((QStringList{w->lblSC->text(), w->lblTchkin->text(), w->lblTC->text()}), figures);
    QCOMPARE(listed(w->LstNewMem), list);
    QCOMPARE((QStringList{QString::number(state_.report.sessions), QString::number(state_.report.checkins),
                          QString::number(state_.report.traffic)}),
             figures);
}

void TstMonthlyReportWindow::loadSetsYearFromToday()
{
    state_.reportPeriod = {"MAY", "1999", true};
    setToday(QDate(2027, 1, 5));
    auto w = open();
    QCOMPARE(state_.reportPeriod, (ReportPeriod{"MAY", "2027", true}));
}

void TstMonthlyReportWindow::copiedText_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("slotTexts");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<bool>("chooseDecember");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray footer = "THIS NET REPORT WAS SENT VIA THE TSN V5 PROGRAM";
    QTest::newRow("empty store") << QStringList{kMissing, kMissing, kMissing} << QStringList{} << "APRIL"
                                 << QDate(2026, 4, 30) << false
                                 << "VELN Net REPORT FOR APRIL 2026\r\n\r\n"
                                    "SESSIONS CALLED: 0\r\nTOTAL CHECKINS: 0\r\nTRAFFIC COUNT: 0\r\n\r\n"
                                    "NEW CHECKINS\r\n\r\n\r\n"
                                        + footer;
    QTest::newRow("entries") << QStringList{"4", "57", "3"}
                             << QStringList{"N0CALL JOHN SMALLTOWN MS", " KB1ABC ANN LEE HILLTOP"} << "APRIL"
                             << QDate(2026, 4, 30) << false
                             << "VELN Net REPORT FOR APRIL 2026\r\n\r\n"
                                "SESSIONS CALLED: 4\r\nTOTAL CHECKINS: 57\r\nTRAFFIC COUNT: 3\r\n\r\n"
                                "NEW CHECKINS\r\n\r\n"
                                "N0CALL JOHN SMALLTOWN MS\r\n KB1ABC ANN LEE HILLTOP\r\n\r\n"
                                    + footer;
    QTest::newRow("no month chosen") << QStringList{"1", "9", "0"} << QStringList{} << "" << QDate(2026, 5, 4)
                                     << false
                                     << "VELN Net REPORT FOR MAY 2026\r\n\r\n"
                                        "SESSIONS CALLED: 1\r\nTOTAL CHECKINS: 9\r\nTRAFFIC COUNT: 0\r\n\r\n"
                                        "NEW CHECKINS\r\n\r\n\r\n"
                                            + footer;
    QTest::newRow("December chosen in January")
        << QStringList{"8", "120", "2"} << QStringList{"W1AW HIRAM NEWINGTON CT"} << "" << QDate(2027, 1, 5) << true
        << "VELN Net REPORT FOR DECEMBER 2026\r\n\r\n"
           "SESSIONS CALLED: 8\r\nTOTAL CHECKINS: 120\r\nTRAFFIC COUNT: 2\r\n\r\n"
           "NEW CHECKINS\r\n\r\nW1AW HIRAM NEWINGTON CT\r\n\r\n"
               + footer;
    QTest::newRow("slot 0 free") << QStringList{"2", "3", "4"} << QStringList{"", "A1 B C"} << "JUNE"
                                 << QDate(2026, 6, 30) << false
                                 << "VELN Net REPORT FOR JUNE 2026\r\n\r\n"
                                    "SESSIONS CALLED: 2\r\nTOTAL CHECKINS: 3\r\nTRAFFIC COUNT: 4\r\n\r\n"
                                    "NEW CHECKINS\r\n\r\n\r\n"
                                        + footer;
}

void TstMonthlyReportWindow::copiedText()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, slotTexts);
    QFETCH(QString, month);
    QFETCH(QDate, today);
    QFETCH(bool, chooseDecember);
    QFETCH(QByteArray, expected);
    store(stored.at(0), stored.at(1), stored.at(2), slotTexts);
    state_.reportPeriod.month = month;
    state_.reportPeriod.chosen = !month.isEmpty();
    setToday(today);
    auto w = open();

    int answered = 0;
    if (chooseDecember) {
        fakes_->prompts.answers = {Answer::No};
        answerMonthWindow("cmdDec", &answered);
    } else {
        fakes_->prompts.answers = {Answer::Yes};
    }
    QTest::mouseClick(w->cmdCopy, Qt::LeftButton);

    QCOMPARE(answered, chooseDecember ? 1 : 0);
    QCOMPARE(clipboard_.calls, (QStringList{"clear", "setText"}));
    QCOMPARE(clipboard_.text().toUtf8(), expected);
    QCOMPARE(settings_->GetSetting("Report", "Subject").toUtf8(), expected.left(expected.indexOf("\r\n")));
    QCOMPARE(w->cmdCopy->text(), QString("REPORT COPIED"));
}

void TstMonthlyReportWindow::copyTwiceGivesTheSameText()
{
    store("3", "40", "1", {"N0CALL JOHN SMALLTOWN MS", "KB1ABC ANN LEE HILLTOP"});
    state_.reportPeriod.month = "APRIL";
    auto w = open();
    fakes_->prompts.answers = {Answer::Yes, Answer::Yes};
    QTest::mouseClick(w->cmdCopy, Qt::LeftButton);
    const QString first = clipboard_.text();
    QTest::mouseClick(w->cmdCopy, Qt::LeftButton);
    QCOMPARE(clipboard_.text(), first);
    QCOMPARE(clipboard_.calls, (QStringList{"clear", "setText", "clear", "setText"}));
    QCOMPARE(fakes_->prompts.shown.size(), 2);
    QCOMPARE(w->cmdCopy->text(), QString("REPORT COPIED"));
}

void TstMonthlyReportWindow::copyQuestion()
{
    state_.reportPeriod.month = "APRIL";
    auto w = open();
    fakes_->prompts.answers = {Answer::Yes};
    QTest::mouseClick(w->cmdCopy, Qt::LeftButton);
    QCOMPARE(fakes_->prompts.shown.size(), 1);
    const auto& q = fakes_->prompts.shown.at(0);
    QCOMPARE(q.text, QString("This Net Report is for the Month of APRIL Is this correct?"));
    QCOMPARE(q.buttons, Prompts::Buttons::YesNo);
    QCOMPARE(q.icon, Prompts::Icon::Exclamation);
    QCOMPARE(q.title, QString("Tarven Net"));
    // Enter answers No, which leads to the month choice: a stray Enter never
    // confirms a report for the wrong (or no) month.
    QCOMPARE(q.defaultAnswer, Answer::No);
}

void TstMonthlyReportWindow::printedLines_data()
{
    QTest::addColumn<QStringList>("slotTexts");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<bool>("chooseDecember");
    QTest::addColumn<PrintedLines>("expected");

    const PrintedLines head{{1, ""}, {1, ""}, {1, ""}};
    auto body = [](const QString& title) {
        return PrintedLines{{30, title},
                            {1, ""},
                            {1, "SESSIONS CALLED:4"},
                            {1, "TOTAL CHECKINS:57"},
                            {1, "TRAFFIC COUNT:3"},
                            {1, ""},
                            {1, ""},
                            {30, "NEW CHECKINS ADDED THIS MONTH"},
                            {1, ""}};
    };
    QTest::newRow("entries") << QStringList{"N0CALL JOHN SMALLTOWN MS", " KB1ABC ANN LEE HILLTOP"} << "APRIL"
                             << QDate(2026, 4, 30) << false
                             << head + body("TARVEN SECTION NET REPORT FOR APRIL 2026")
                                    + PrintedLines{{30, "N0CALL JOHN SMALLTOWN MS"}, {30, " KB1ABC ANN LEE HILLTOP"}};
    QTest::newRow("no entries") << QStringList{} << "MAY" << QDate(2026, 5, 31) << false
                                << head + body("TARVEN SECTION NET REPORT FOR MAY 2026");
    QTest::newRow("slot 0 free") << QStringList{"", "A1 B C"} << "MAY" << QDate(2026, 5, 31) << false
                                 << head + body("TARVEN SECTION NET REPORT FOR MAY 2026");
    QTest::newRow("no month chosen") << QStringList{} << "" << QDate(2026, 5, 31) << false
                                     << head + body("TARVEN SECTION NET REPORT FOR MAY 2026");
    QTest::newRow("December chosen in January")
        << QStringList{"W1AW HIRAM NEWINGTON CT"} << "" << QDate(2027, 1, 5) << true
        << head + body("TARVEN SECTION NET REPORT FOR DECEMBER 2026") + PrintedLines{{30, "W1AW HIRAM NEWINGTON CT"}};
}

void TstMonthlyReportWindow::printedLines()
{
    QFETCH(QStringList, slotTexts);
    QFETCH(QString, month);
    QFETCH(QDate, today);
    QFETCH(bool, chooseDecember);
    QFETCH(PrintedLines, expected);
    store("4", "57", "3", slotTexts);
    state_.reportPeriod.month = month;
    state_.reportPeriod.chosen = !month.isEmpty();
    setToday(today);
    auto w = open();

    int answered = 0;
    if (chooseDecember) {
        fakes_->prompts.answers = {Answer::No};
        answerMonthWindow("cmdDec", &answered);
    } else {
        fakes_->prompts.answers = {Answer::Yes};
    }
    QTest::mouseClick(w->cmdPrint, Qt::LeftButton);

    QCOMPARE(answered, chooseDecember ? 1 : 0);
    QCOMPARE(printer_.lines, expected);
    QCOMPARE(printer_.endedAfter, QList<int>{int(expected.size())});
    QCOMPARE(printer_.endedNames, QStringList{"VELN monthly report"});
    QCOMPARE(fakes_->prompts.shown.size(), 1);
    // Before a choice the question names this month.
    const QString asked = month.isEmpty() ? DefaultReportPeriod(today).month : month;
    QCOMPARE(fakes_->prompts.shown.at(0).text, "This Net Report is for the month of " + asked + " Is this correct?");
}

void TstMonthlyReportWindow::printerFailure_data()
{
    QTest::addColumn<int>("failFromCall");
    QTest::addColumn<int>("linesPrinted");
    // Fourteen lines with two entries, then the end of the document.
    QTest::newRow("first line") << 0 << 0;
    QTest::newRow("the title") << 3 << 3;
    QTest::newRow("an entry") << 13 << 13;
    QTest::newRow("end of document") << 14 << 14;
}

void TstMonthlyReportWindow::printerFailure()
{
    QFETCH(int, failFromCall);
    QFETCH(int, linesPrinted);
    store("4", "57", "3", {"N0CALL JOHN SMALLTOWN MS", "KB1ABC ANN LEE HILLTOP"});
    state_.reportPeriod.month = "APRIL";
    auto w = open();
    printer_.failFromCall = failFromCall;
    fakes_->prompts.answers = {Answer::Yes, Answer::Cancel};
    QTest::mouseClick(w->cmdPrint, Qt::LeftButton);

    // Printing stops at the failure; the operator is told once.
    QCOMPARE(printer_.lines.size(), linesPrinted);
    QCOMPARE(printer_.calls, failFromCall + 1);
    QVERIFY(printer_.endedAfter.isEmpty());
    QCOMPARE(fakes_->prompts.shown.size(), 2);
    const auto& m = fakes_->prompts.shown.at(1);
    QCOMPARE(m.text, QString("PRINTER ERROR - FIX PROBLEM AND TRY AGAIN!"));
    QCOMPARE(m.buttons, Prompts::Buttons::OkCancel);
    QCOMPARE(m.icon, Prompts::Icon::Exclamation);
    QCOMPARE(m.title, QString("Tarven Net"));
    QVERIFY(w->isVisible());
    QVERIFY(w->cmdPrint->isEnabled());
}

void TstMonthlyReportWindow::noPrinterNoPrint()
{
    store("4", "57", "3", {"N0CALL JOHN SMALLTOWN MS"});
    auto w = open(0);
    QVERIFY(!w->cmdPrint->isEnabled());
    w->cmdPrint_Click();
    QVERIFY(fakes_->prompts.shown.isEmpty());
    QVERIFY(printer_.lines.isEmpty());
    QVERIFY(printer_.endedAfter.isEmpty());
    // Everything else works without a printer.
    QVERIFY(w->cmdCopy->isEnabled());
    QVERIFY(w->cmdReset->isEnabled());
}

void TstMonthlyReportWindow::reset_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("done");
    QTest::newRow("Yes") << int(Answer::Yes) << true;
    QTest::newRow("No") << int(Answer::No) << false;
}

void TstMonthlyReportWindow::reset()
{
    QFETCH(int, answer);
    QFETCH(bool, done);
    const QStringList entries{"A0 B C", "A1 B C", "A2 B C", "A3 B C"};
    store("4", "57", "3", entries);
    settings_->SaveSetting("Report", "ResetReport", "False");
    auto w = open();
    fakes_->prompts.answers = {Answer(answer)};
    QTest::mouseClick(w->cmdReset, Qt::LeftButton);

    QCOMPARE(fakes_->prompts.shown.size(), 1);
    const auto& q = fakes_->prompts.shown.at(0);
    QCOMPARE(q.text, QString("ARE YOU SURE!"));
    QCOMPARE(q.title, QString("DELETE MONTHLY REPORT"));
    QCOMPARE(q.buttons, Prompts::Buttons::YesNo);
    QCOMPARE(q.defaultAnswer, Answer::No);
    QCOMPARE(q.icon, Prompts::Icon::Question);

    const QStringList figures{w->lblSC->text(), w->lblTchkin->text(), w->lblTC->text()};
    const QStringList stored{settings_->GetSetting("Report", "Sessions"), settings_->GetSetting("Report", "Checkins"),
                             settings_->GetSetting("Report", "Traffic")};
    if (done) {
        QCOMPARE(figures, (QStringList{"0", "0", "0"}));
        QCOMPARE(stored, (QStringList{"0", "0", "0"}));
        QCOMPARE(state_.report, NetReport{});
        QCOMPARE(w->LstNewMem->count(), 0);
        // The keys stay, emptied.
        QCOMPARE(slotValues(4), (QStringList{"", "", "", ""}));
        QCOMPARE(settings_->GetSetting("Report", "ResetReport"), QString("True"));
        QVERIFY(!w->cmdReset->isEnabled());
    } else {
        QCOMPARE(figures, (QStringList{"4", "57", "3"}));
        QCOMPARE(stored, (QStringList{"4", "57", "3"}));
        QCOMPARE(listed(w->LstNewMem), entries);
        QCOMPARE(slotValues(4), entries);
        QCOMPARE(settings_->GetSetting("Report", "ResetReport"), QString("False"));
        QVERIFY(w->cmdReset->isEnabled());
    }
    // A zeroed report copies as zero.
    fakes_->prompts.answers = {Answer::Yes};
    QTest::mouseClick(w->cmdCopy, Qt::LeftButton);
    QCOMPARE(clipboard_.text().contains("SESSIONS CALLED: 0\r\n"), done);
}

void TstMonthlyReportWindow::closeButtonCloses()
{
    auto w = open();
    QTest::mouseClick(w->cmdClose, Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QVERIFY(fakes_->prompts.shown.isEmpty());
}

void TstMonthlyReportWindow::openedAgainAfterClosing()
{
    store("4", "57", "3", {"A0 B C"});
    auto w = open();
    fakes_->prompts.answers = {Answer::Yes, Answer::Yes};
    QTest::mouseClick(w->cmdCopy, Qt::LeftButton);
    QTest::mouseClick(w->cmdReset, Qt::LeftButton);
    QVERIFY(!w->cmdReset->isEnabled());
    QTest::mouseClick(w->cmdClose, Qt::LeftButton);

    // Meanwhile the session's figures were added to the store.
    store("1", "12", "2", {"N0NEW BOB TOWN"});
    w->show();
    QCOMPARE((QStringList{w->lblSC->text(), w->lblTchkin->text(), w->lblTC->text()}), (QStringList{"1", "12", "2"}));
    QCOMPARE(listed(w->LstNewMem), QStringList{"N0NEW BOB TOWN"});
    QVERIFY(w->cmdReset->isEnabled());
    QCOMPARE(w->cmdCopy->text(), QString("COPY REPORT TO CLIPBOARD"));
}

void TstMonthlyReportWindow::centredOnScreen()
{
    auto w = open();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect frame = w->frameGeometry();
    QVERIFY2(qAbs(frame.center().x() - screen.center().x()) <= 1, qPrintable(QString::number(frame.x())));
    QVERIFY2(qAbs(frame.center().y() - screen.center().y()) <= 1, qPrintable(QString::number(frame.y())));
}

void TstMonthlyReportWindow::layoutAndPicture()
{
    // Fifteen entries of the longest kind: call 6, name 15, QTH 25 characters.
    QStringList entries;
    for (int i = 0; i < 15; ++i)
        entries << QString("WB%1WWW MARGARET WALLINS WWWWWWWWWW MISSISSIPPI").arg(i % 10);
    store("32767", "-32768", "32767", entries);
    auto w = open();
    verifyNothingCutOff(w.get());
    for (int i = 0; i < w->LstNewMem->count(); ++i) {
        const QListWidgetItem* item = w->LstNewMem->item(i);
        const int need = w->LstNewMem->fontMetrics().horizontalAdvance(item->text());
        QVERIFY2(need < w->LstNewMem->viewport()->width() - 4, qPrintable(item->text()));
    }
    fakes_->prompts.answers = {Answer::Yes};
    QTest::mouseClick(w->cmdCopy, Qt::LeftButton);
    // Every caption, the copied one too, is drawn at its own size.
    for (QPushButton* b : {w->cmdCopy, w->cmdPrint, w->cmdReset, w->cmdClose})
        QCOMPARE(static_cast<FitButton*>(b)->fittedFont().pointSizeF(), b->font().pointSizeF());
    for (QLabel* l : {w->lblSessions, w->lblSC, w->Label1, w->lblTchkin, w->Label2, w->lblTC, w->lblAdditions})
        QCOMPARE(static_cast<FitLabel*>(l)->fittedFont().pointSizeF(), l->font().pointSizeF());
    const QPixmap shot = w->grab();
    QVERIFY(!shot.isNull());
    const QString dir = qEnvironmentVariable("VELN_SHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(shot.save(dir + "/FrmReport.png"));
}

VELN_TEST(TstMonthlyReportWindow)
#include "tst_report_window.moc"
