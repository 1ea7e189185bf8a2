#include "report/report_month.h"
#include "report/report_text.h"
#include "test_main.h"

#include <QTest>

namespace {

QStringList describe(const QList<ReportPrintLine>& lines)
{
    QStringList out;
    for (const ReportPrintLine& l : lines)
        out.append(QString::number(l.column) + QLatin1Char('|') + l.text);
    return out;
}

}  // namespace

class TstReportText : public QObject {
    Q_OBJECT
private slots:
    void clipboardText_data();
    void clipboardText();
    void printLines_data();
    void printLines();
    void monthQuestion_data();
    void monthQuestion();
    void defaultMonth_data();
    void defaultMonth();
    void chooseMonth_data();
    void chooseMonth();
};

void TstReportText::clipboardText_data()
{
    QTest::addColumn<QStringList>("figures");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty store") << QStringList{"0", "0", "0"} << QStringList{} << "MAY" << "2026"
                                 << "VELN Net REPORT FOR MAY 2026\r\n\r\n"
                                    "SESSIONS CALLED: 0\r\nTOTAL CHECKINS: 0\r\nTRAFFIC COUNT: 0\r\n\r\n"
                                    "NEW CHECKINS\r\n\r\n\r\n"
                                    "THIS NET REPORT WAS SENT VIA THE TSN V5 PROGRAM";
    QTest::newRow("entries") << QStringList{"4", "57", "3"}
                             << QStringList{"N0CALL JOHN SMALLTOWN MS", " K1AB ANN BIGTOWN CT"} << "APRIL" << "2026"
                             << "VELN Net REPORT FOR APRIL 2026\r\n\r\n"
                                "SESSIONS CALLED: 4\r\nTOTAL CHECKINS: 57\r\nTRAFFIC COUNT: 3\r\n\r\n"
                                "NEW CHECKINS\r\n\r\n"
                                "N0CALL JOHN SMALLTOWN MS\r\n K1AB ANN BIGTOWN CT\r\n\r\n"
                                "THIS NET REPORT WAS SENT VIA THE TSN V5 PROGRAM";
    QTest::newRow("no month chosen") << QStringList{"1", "9", "0"} << QStringList{"W1AW HIRAM CT"} << ""
                                     << "2026"
                                     << "VELN Net REPORT FOR  2026\r\n\r\n"
                                        "SESSIONS CALLED: 1\r\nTOTAL CHECKINS: 9\r\nTRAFFIC COUNT: 0\r\n\r\n"
                                        "NEW CHECKINS\r\n\r\nW1AW HIRAM CT\r\n\r\n"
                                        "THIS NET REPORT WAS SENT VIA THE TSN V5 PROGRAM";
    QTest::newRow("negative figure") << QStringList{"-2", "0", "0"} << QStringList{} << "JUNE" << "2026"
                                     << "VELN Net REPORT FOR JUNE 2026\r\n\r\n"
                                        "SESSIONS CALLED: -2\r\nTOTAL CHECKINS: 0\r\nTRAFFIC COUNT: 0\r\n\r\n"
                                        "NEW CHECKINS\r\n\r\n\r\n"
                                        "THIS NET REPORT WAS SENT VIA THE TSN V5 PROGRAM";
}

void TstReportText::clipboardText()
{
    QFETCH(QStringList, figures);
    QFETCH(QStringList, entries);
    QFETCH(QString, month);
    QFETCH(QString, year);
    QFETCH(QString, text);
    const ReportFigures f{figures[0], figures[1], figures[2]};
    const QString got = ReportClipboardText(f, entries, {month, year});
    QCOMPARE(got.toUtf8(), text.toUtf8());
    QCOMPARE(ReportSubject({month, year}), text.section(QStringLiteral("\r\n"), 0, 0));
}

void TstReportText::printLines_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QStringList>("lines");
    const QStringList head{"1|", "1|", "1|"};
    const QStringList figures{"1|", "1|SESSIONS CALLED:4", "1|TOTAL CHECKINS:57", "1|TRAFFIC COUNT:3", "1|",
                              "1|", "30|NEW CHECKINS ADDED THIS MONTH", "1|"};
    QTest::newRow("no entries") << QStringList{} << "APRIL"
                                << head + QStringList{"30|TARVEN SECTION NET REPORT FOR APRIL 2026"} + figures;
    QTest::newRow("entries") << QStringList{"N0CALL JOHN SMALLTOWN MS", " K1AB ANN CT"} << "APRIL"
                             << head + QStringList{"30|TARVEN SECTION NET REPORT FOR APRIL 2026"} + figures
                                    + QStringList{"30|N0CALL JOHN SMALLTOWN MS", "30| K1AB ANN CT"};
    QTest::newRow("no month chosen") << QStringList{} << ""
                                     << head + QStringList{"30|TARVEN SECTION NET REPORT FOR  2026"} + figures;
}

void TstReportText::printLines()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, month);
    QFETCH(QStringList, lines);
    const ReportFigures f{"4", "57", "3"};
    QCOMPARE(describe(ReportPrintLines(f, entries, {month, "2026"})), lines);
}

void TstReportText::monthQuestion_data()
{
    QTest::addColumn<bool>("print");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("question");
    QTest::newRow("copy") << false << "MARCH" << "This Net Report is for the Month of MARCH Is this correct?";
    QTest::newRow("print") << true << "MARCH" << "This Net Report is for the month of MARCH Is this correct?";
    QTest::newRow("copy, no month") << false << "" << "This Net Report is for the Month of  Is this correct?";
    QTest::newRow("print, no month") << true << "" << "This Net Report is for the month of  Is this correct?";
}

void TstReportText::monthQuestion()
{
    QFETCH(bool, print);
    QFETCH(QString, month);
    QFETCH(QString, question);
    QCOMPARE(MonthQuestion(print ? ReportAction::Print : ReportAction::Copy, month), question);
}

void TstReportText::chooseMonth_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<QList<int>>("picks");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("yearAfter");
    QTest::newRow("December lowers the year") << "2027" << QList<int>{12} << "DECEMBER" << "2026";
    QTest::newRow("December twice, twice") << "2027" << QList<int>{12, 12} << "DECEMBER" << "2025";
    QTest::newRow("other month keeps it") << "2027" << QList<int>{3} << "MARCH" << "2027";
    QTest::newRow("after December, keeps lowered") << "2027" << QList<int>{12, 5} << "MAY" << "2026";
    QTest::newRow("no such month") << "2027" << QList<int>{13} << "" << "2027";
    QTest::newRow("bottom of 16 bits stays") << "-32768" << QList<int>{12} << "DECEMBER" << "-32768";
}

void TstReportText::defaultMonth_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("year");
    QTest::newRow("May") << QDate(2026, 5, 7) << "MAY" << "2026";
    QTest::newRow("January") << QDate(2027, 1, 1) << "JANUARY" << "2027";
    QTest::newRow("December") << QDate(2026, 12, 31) << "DECEMBER" << "2026";
}

void TstReportText::defaultMonth()
{
    QFETCH(QDate, today);
    QFETCH(QString, month);
    QFETCH(QString, year);
    QCOMPARE(DefaultReportPeriod(today), (ReportPeriod{month, year}));
}

void TstReportText::chooseMonth()
{
    QFETCH(QString, year);
    QFETCH(QList<int>, picks);
    QFETCH(QString, month);
    QFETCH(QString, yearAfter);
    ReportPeriod p{{}, year};
    for (int pick : picks)
        ChooseReportMonth(p, pick);
    QCOMPARE(p.month, month);
    QCOMPARE(p.year, yearAfter);
}

VELN_TEST(TstReportText)
#include "tst_report_text.moc"
