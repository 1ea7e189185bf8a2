#include "core/settings_store.h"
#include "fakes.h"
#include "report/report_editor_model.h"
#include "report/report_window_model.h"
#include "report_fixtures.h"
#include "test_home.h"
#include "test_main.h"

#include <QTest>
#include <memory>

using namespace ReportKeys;
using Answer = Prompts::Answer;

class TstReportWindow : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        home_ = std::make_unique<TestHome>();
        store_ = std::make_unique<SettingsStore>(home_->settingsFile());
        prompts_.shown.clear();
        prompts_.answers.clear();
        report_ = {};
        period_ = {};
    }
    void cleanup()
    {
        store_.reset();
        home_.reset();
    }

    void emptyStore();
    void loadReadsStoreAndYear();
    void copyTwiceGivesSameText();
    void copyBeforeAnyMonth();
    void decemberChosenInJanuary();
    void copyReadsEntriesAgain();
    void slotZeroEmptyShowsNoneButEditorDoes();
    void printWithoutPrinter();
    void printLines();
    void reset_data();
    void reset();

private:
    std::unique_ptr<TestHome> home_;
    std::unique_ptr<SettingsStore> store_;
    FakePrompts prompts_;
    NetReport report_;
    ReportPeriod period_;
};

void TstReportWindow::emptyStore()
{
    ReportWindowModel w(*store_, report_, period_);
    w.load(QDate(2026, 5, 4), true);
    QCOMPARE(w.figures().sessions, QString("0"));
    QCOMPARE(w.figures().checkins, QString("0"));
    QCOMPARE(w.figures().traffic, QString("0"));
    QVERIFY(w.newMembers().isEmpty());
    QCOMPARE(w.copyCaption(), QString("COPY REPORT TO CLIPBOARD"));
    QVERIFY(w.printEnabled());
    QVERIFY(w.resetEnabled());
}

void TstReportWindow::loadReadsStoreAndYear()
{
    store_->SaveSetting(kReport, kSessions, "4");
    store_->SaveSetting(kReport, kCheckins, "57.5");
    store_->SaveSetting(kReport, kTraffic, "3x");
    putSlots(*store_, {"A", "", "C"});
    period_ = {"DECEMBER", "2025", true};
    ReportWindowModel w(*store_, report_, period_);
    w.load(QDate(2026, 1, 9), false);
    QCOMPARE((QStringList{w.figures().sessions, w.figures().checkins, w.figures().traffic}),
             (QStringList{"4", "58", "3"}));
    QCOMPARE(report_, (NetReport{4, 58, 3}));  // the program-wide totals follow
    QCOMPARE(w.newMembers(), (QStringList{"A", "C"}));
    QCOMPARE(period_, (ReportPeriod{"DECEMBER", "2026", true}));  // year from today, the chosen month kept
    QVERIFY(!w.printEnabled());
}

void TstReportWindow::copyTwiceGivesSameText()
{
    putSlots(*store_, {"N0CALL JOHN SMALLTOWN MS"});
    store_->SaveSetting(kReport, kCheckins, "12");
    ReportWindowModel w(*store_, report_, period_);
    w.load(QDate(2026, 5, 4), true);
    period_.month = "APRIL";
    const QString first = w.copyReport(prompts_, {});
    const QString second = w.copyReport(prompts_, {});
    QCOMPARE(second, first);
    QVERIFY(first.contains("\r\nN0CALL JOHN SMALLTOWN MS\r\n\r\nTHIS NET"));
    QCOMPARE(w.copyCaption(), QString("REPORT COPIED"));
    QCOMPARE(store_->GetSetting(kReport, kSubject), QString("VELN Net REPORT FOR APRIL 2026"));
    QCOMPARE(prompts_.shown.size(), 2);  // asked each time
}

void TstReportWindow::copyBeforeAnyMonth()
{
    // Before any choice the question names this month.
    ReportWindowModel w(*store_, report_, period_);
    w.load(QDate(2026, 5, 4), true);
    prompts_.answers = {Answer::Yes};
    const QString text = w.copyReport(prompts_, [] { QFAIL("month window shown on Yes"); });
    QVERIFY(text.startsWith("VELN Net REPORT FOR MAY 2026\r\n\r\n"));
    const auto& q = prompts_.shown.at(0);
    QCOMPARE(q.text, QString("This Net Report is for the Month of MAY Is this correct?"));
    QCOMPARE(q.buttons, Prompts::Buttons::YesNo);
    QCOMPARE(q.defaultAnswer, Answer::No);  // a stray Enter leads to the month choice
    QCOMPARE(q.icon, Prompts::Icon::Exclamation);
    QCOMPARE(q.title, QString("Tarven Net"));
    QCOMPARE(store_->GetSetting(kReport, kSubject), QString("VELN Net REPORT FOR MAY 2026"));
}

void TstReportWindow::decemberChosenInJanuary()
{
    ReportWindowModel w(*store_, report_, period_);
    w.load(QDate(2027, 1, 5), true);
    prompts_.answers = {Answer::No};
    const QString text = w.copyReport(prompts_, [&] { ChooseReportMonth(period_, 12); });
    QVERIFY(text.startsWith("VELN Net REPORT FOR DECEMBER 2026\r\n\r\nSESSIONS CALLED: 0\r\n"));
    // Opened again, the year comes from today once more.
    ReportWindowModel again(*store_, report_, period_);
    again.load(QDate(2027, 1, 5), true);
    QCOMPARE(period_, (ReportPeriod{"DECEMBER", "2027", true}));
}

void TstReportWindow::copyReadsEntriesAgain()
{
    ReportWindowModel w(*store_, report_, period_);
    w.load(QDate(2026, 5, 4), true);
    AppendNewMemberEntry(*store_, "N0NEW", "ANN", "TOWN");
    QVERIFY(w.newMembers().isEmpty());  // the list shown is not refreshed ...
    QVERIFY(w.copyReport(prompts_, {}).contains("\r\nN0NEW ANN TOWN\r\n"));  // ... the copy is
}

void TstReportWindow::slotZeroEmptyShowsNoneButEditorDoes()
{
    putSlots(*store_, {"", "K1AB ANN CT", "W1AW HIRAM CT"});
    ReportWindowModel w(*store_, report_, period_);
    w.load(QDate(2026, 5, 4), true);
    QVERIFY(w.newMembers().isEmpty());
    QVERIFY(w.copyReport(prompts_, {}).contains("NEW CHECKINS\r\n\r\n\r\nTHIS NET"));
    QCOMPARE(w.printReport(prompts_, {}).size(), 12);  // no entry lines
    ReportEditorModel editor(*store_, report_);
    editor.load();
    QCOMPARE(editor.lines(), (QStringList{"K1AB ANN CT", "W1AW HIRAM CT"}));
}

void TstReportWindow::printWithoutPrinter()
{
    ReportWindowModel w(*store_, report_, period_);
    w.load(QDate(2026, 5, 4), false);
    QVERIFY(w.printReport(prompts_, {}).isEmpty());
    QVERIFY(prompts_.shown.isEmpty());
}

void TstReportWindow::printLines()
{
    store_->SaveSetting(kReport, kSessions, "4");
    putSlots(*store_, {"N0CALL JOHN SMALLTOWN MS"});
    ReportWindowModel w(*store_, report_, period_);
    w.load(QDate(2026, 5, 4), true);
    prompts_.answers = {Answer::No};
    const auto lines = w.printReport(prompts_, [&] { ChooseReportMonth(period_, 4); });
    QCOMPARE(prompts_.shown[0].text, QString("This Net Report is for the month of MAY Is this correct?"));
    QCOMPARE(lines.size(), 13);
    QCOMPARE(lines[3], (ReportPrintLine{30, "TARVEN SECTION NET REPORT FOR APRIL 2026"}));
    QCOMPARE(lines[5], (ReportPrintLine{1, "SESSIONS CALLED:4"}));
    QCOMPARE(lines[12], (ReportPrintLine{30, "N0CALL JOHN SMALLTOWN MS"}));
}

void TstReportWindow::reset_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("done");
    QTest::newRow("Yes") << int(Answer::Yes) << true;
    QTest::newRow("No") << int(Answer::No) << false;
}

void TstReportWindow::reset()
{
    QFETCH(int, answer);
    QFETCH(bool, done);
    store_->SaveSetting(kReport, kSessions, "4");
    store_->SaveSetting(kReport, kCheckins, "57");
    store_->SaveSetting(kReport, kTraffic, "3");
    putSlots(*store_, {"A", "B"});
    ReportWindowModel w(*store_, report_, period_);
    w.load(QDate(2026, 5, 4), true);
    prompts_.answers = {Answer(answer)};
    QCOMPARE(w.resetReport(prompts_), done);
    const auto& q = prompts_.shown.at(0);
    QCOMPARE(q.text, QString("ARE YOU SURE!"));
    QCOMPARE(q.title, QString("DELETE MONTHLY REPORT"));
    QCOMPARE(q.defaultAnswer, Answer::No);
    QCOMPARE(q.icon, Prompts::Icon::Question);
    QCOMPARE(w.resetEnabled(), !done);
    QCOMPARE(w.figures().checkins, QString(done ? "0" : "57"));
    QCOMPARE(w.newMembers(), (done ? QStringList{} : QStringList{"A", "B"}));
    QCOMPARE(storedFigures(*store_), (done ? QStringList{"0", "0", "0"} : QStringList{"4", "57", "3"}));
    QCOMPARE(readSlots(*store_, 2), (done ? QStringList{"", ""} : QStringList{"A", "B"}));
    QCOMPARE(report_, (done ? NetReport{} : NetReport{4, 57, 3}));
    // Once reset, the button stays off: a second reset asks nothing.
    if (done) {
        QVERIFY(!w.resetReport(prompts_));
        QCOMPARE(prompts_.shown.size(), 1);
    }
}

VELN_TEST(TstReportWindow)
#include "tst_report_window.moc"
