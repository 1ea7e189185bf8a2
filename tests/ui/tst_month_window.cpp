#include "core/report_types.h"
#include "test_main.h"
#include "widget_checks.h"
#include "ui/fit_widgets.h"
#include "ui/frm_month.h"
#include "ui/ui_style.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

// Every visible control has at least the room its caption needs, lies inside
// its parent and overlaps none of its siblings.

}  // namespace

// The month window as the report window opens it.
class TstMonthWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Ui::installFontSubstitutes(); }

    void captionsAndNoCancel();
    void eachButtonSetsMonthAndCloses_data();
    void eachButtonSetsMonthAndCloses();
    void decemberInJanuaryLowersYear();
    void decemberTwiceThenAnotherMonth();
    void decemberYearIsSixteenBit_data();
    void decemberYearIsSixteenBit();
    void acceleratorChooses_data();
    void acceleratorChooses();
    void sharedAcceleratorOnlyMovesFocus();
    void closingWithoutChoiceKeepsMonth_data();
    void closingWithoutChoiceKeepsMonth();
    void layoutAndPicture();

private:
    static void showActive(QWidget* w)
    {
        w->show();
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
};

void TstMonthWindow::captionsAndNoCancel()
{
    ReportPeriod period{"", "2026"};
    frmMonth d(period);
    d.show();
    QCOMPARE(d.windowTitle(), QString("REPORT MONTH"));
    QCOMPARE(d.findChild<QLabel*>("lblMonth"), d.lblMonth);
    QCOMPARE(d.lblMonth->text(), QString("Select Correct Month for Report"));
    QVERIFY(d.isModal());
    // The twelve month buttons are all there is to press.
    const QList<QPushButton*> buttons = d.findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 12);
    for (QPushButton* b : d.monthButtons())
        QVERIFY(buttons.contains(b));
}

void TstMonthWindow::eachButtonSetsMonthAndCloses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("year");
    const char* rows[12][3] = {
        {"cmdJan", "&JANUARY", "JANUARY"},       {"cmdFeb", "&FEBRUARY", "FEBRUARY"},
        {"cmdMar", "&MARCH", "MARCH"},           {"cmdApr", "&APRIL", "APRIL"},
        {"cmdMay", "MAY", "MAY"},                {"cmdJun", "&JUNE", "JUNE"},
        {"cmdJul", "&JULY", "JULY"},             {"cmdAug", "&AUGUST", "AUGUST"},
        {"cmdSep", "&SEPTEMBER", "SEPTEMBER"},   {"cmdOct", "&OCTOBER", "OCTOBER"},
        {"cmdNov", "&NOVEMBER", "NOVEMBER"},     {"cmdDec", "&DECEMBER", "DECEMBER"},
    };
    for (const auto& r : rows)
        QTest::newRow(r[0]) << r[0] << r[1] << r[2] << (QString(r[0]) == "cmdDec" ? "2026" : "2027");
}

void TstMonthWindow::eachButtonSetsMonthAndCloses()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, month);
    QFETCH(QString, year);
    ReportPeriod period{"APRIL", "2027"};
    frmMonth d(period);
    d.show();
    auto* b = d.findChild<QPushButton*>(name);
    QVERIFY(b);
    QCOMPARE(b->text(), caption);
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(period.month, month);
    QCOMPARE(period.year, year);
    QVERIFY(d.chosen());
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(!d.isVisible());
}

void TstMonthWindow::decemberInJanuaryLowersYear()
{
    // The report window set the year from today, 5 January 2027.
    ReportPeriod period{"", "2027"};
    frmMonth d(period);
    d.show();
    QTest::mouseClick(d.cmdDec, Qt::LeftButton);
    QCOMPARE(period, (ReportPeriod{"DECEMBER", "2026", true}));
}

void TstMonthWindow::decemberTwiceThenAnotherMonth()
{
    ReportPeriod period{"", "2027"};
    for (const char* expected : {"2026", "2025"}) {
        frmMonth d(period);
        d.show();
        QTest::mouseClick(d.cmdDec, Qt::LeftButton);
        QCOMPARE(period.year, QString(expected));
    }
    frmMonth d(period);
    d.show();
    QTest::mouseClick(d.cmdNov, Qt::LeftButton);
    QCOMPARE(period, (ReportPeriod{"NOVEMBER", "2025", true}));
}

void TstMonthWindow::decemberYearIsSixteenBit_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("lowered");
    QTest::newRow("four digits") << "2000" << "1999";
    QTest::newRow("leading zero") << "0100" << "99";
    // The lowest 16-bit number has no number below it.
    QTest::newRow("lowest") << "-32768" << "-32768";
}

void TstMonthWindow::decemberYearIsSixteenBit()
{
    QFETCH(QString, year);
    QFETCH(QString, lowered);
    ReportPeriod period{"", year};
    frmMonth d(period);
    d.show();
    d.cmdDec->click();
    QCOMPARE(period.year, lowered);
}

void TstMonthWindow::acceleratorChooses_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("month");
    QTest::newRow("Alt+F") << int(Qt::Key_F) << "FEBRUARY";
    QTest::newRow("Alt+M") << int(Qt::Key_M) << "MARCH";
    QTest::newRow("Alt+S") << int(Qt::Key_S) << "SEPTEMBER";
    QTest::newRow("Alt+O") << int(Qt::Key_O) << "OCTOBER";
    QTest::newRow("Alt+N") << int(Qt::Key_N) << "NOVEMBER";
    QTest::newRow("Alt+D") << int(Qt::Key_D) << "DECEMBER";
}

void TstMonthWindow::acceleratorChooses()
{
    QFETCH(int, key);
    QFETCH(QString, month);
    ReportPeriod period{"", "2027"};
    frmMonth d(period);
    showActive(&d);
    QTest::keyClick(&d, Qt::Key(key), Qt::AltModifier);
    // A button pressed by its accelerator clicks once its press is shown.
    QTRY_VERIFY(d.chosen());
    QCOMPARE(period.month, month);
    QVERIFY(!d.isVisible());
}

void TstMonthWindow::sharedAcceleratorOnlyMovesFocus()
{
    // JANUARY, JUNE and JULY share "J": the key moves among them and picks
    // none, so a month is never chosen by guessing.
    ReportPeriod period{"APRIL", "2027"};
    frmMonth d(period);
    showActive(&d);
    QTest::keyClick(&d, Qt::Key_J, Qt::AltModifier);
    QTRY_VERIFY(d.cmdJan->hasFocus() || d.cmdJun->hasFocus() || d.cmdJul->hasFocus());
    QVERIFY(d.isVisible());
    QVERIFY(!d.chosen());
    QCOMPARE(period, (ReportPeriod{"APRIL", "2027"}));
}

void TstMonthWindow::closingWithoutChoiceKeepsMonth_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("close box") << false;
    QTest::newRow("Escape") << true;
}

void TstMonthWindow::closingWithoutChoiceKeepsMonth()
{
    QFETCH(bool, escape);
    ReportPeriod period{"APRIL", "2027"};
    frmMonth d(period);
    showActive(&d);
    if (escape)
        QTest::keyClick(&d, Qt::Key_Escape);
    else
        QVERIFY(d.close());
    QVERIFY(!d.isVisible());
    QVERIFY(!d.chosen());
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(period, (ReportPeriod{"APRIL", "2027"}));
}

void TstMonthWindow::layoutAndPicture()
{
    ReportPeriod period{"", "2027"};
    frmMonth d(period);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    verifyNothingCutOff(&d);
    // Every caption is drawn at the window's own size, none squeezed.
    for (QPushButton* b : d.monthButtons())
        QCOMPARE(static_cast<FitButton*>(b)->fittedFont().pointSizeF(), b->font().pointSizeF());
    QCOMPARE(static_cast<FitLabel*>(d.lblMonth)->fittedFont().pointSizeF(), d.lblMonth->font().pointSizeF());
    const QPixmap shot = d.grab();
    QVERIFY(!shot.isNull());
    const QString dir = qEnvironmentVariable("VELN_SHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(shot.save(dir + "/frmMonth.png"));
}

VELN_TEST(TstMonthWindow)
#include "tst_month_window.moc"
