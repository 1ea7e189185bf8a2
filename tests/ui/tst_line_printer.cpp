#include "fakes.h"
#include "platform/line_printer.h"
#include "platform/qt_clipboard.h"
#include "platform/qt_line_printer.h"
#include "test_main.h"
#include "ui/ui_style.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

namespace {

// Output of a poppler tool, or nothing when it could not run or failed.
std::optional<QString> runTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(p.readAllStandardOutput());
}

std::optional<QString> layoutText(const QString& pdf)
{
    return runTool("/usr/bin/pdftotext", {"-layout", pdf, "-"});
}

// Left edge (points) of the first word of the page equal to `word`.
std::optional<double> wordLeft(const QString& bboxHtml, const QString& word)
{
    static const QRegularExpression re(R"re(<word xMin="([0-9.]+)"[^>]*>([^<]*)</word>)re");
    for (auto it = re.globalMatch(bboxHtml); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(2) == word)
            return m.captured(1).toDouble();
    }
    return std::nullopt;
}

int leadingBlanks(const QString& line)
{
    int n = 0;
    while (n < line.size() && line.at(n) == QLatin1Char(' '))
        ++n;
    return n;
}

// The line of the text that contains `part`.
QString lineWith(const QString& text, const QString& part)
{
    for (const QString& line : text.split('\n')) {
        if (line.contains(part))
            return line;
    }
    return {};
}

const PrinterFont kMono{"Liberation Mono", false, false, 10.0};

// A line of digits at column 1: pdftotext -layout keeps blanks only where
// a full line shows it the character grid.
const QString kRuler = QStringLiteral("1234567890").repeated(8);

}  // namespace

// The printer and clipboard seams on the real toolkit.
class TstLinePrinter : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void columnsOnPaper();
    void columnInAProportionalFont();
    void fullPageGoesOnToANewPage();
    void longLineGoesOnBelowAtItsColumn();
    void lineBreakInTextStartsANewLineAtTheColumn();
    void fontIsKeptAndUsed();
    void openDocumentEndsWithThePrinter();
    void endWithNothingPrintedIsNoError();
    void failureIsReported();
    void clipboardKeepsTheTextAsItIs();

private:
    QTemporaryDir dir_;
};

void TstLinePrinter::initTestCase()
{
    Ui::installFontSubstitutes();
    QVERIFY(dir_.isValid());
    QVERIFY2(QFileInfo::exists("/usr/bin/pdftotext"), "poppler-utils is needed");
}

void TstLinePrinter::columnsOnPaper()
{
    const QString pdf = dir_.filePath("report.pdf");
    {
        QtLinePrinter printer(pdf);
        printer.setFont(kMono);
        for (int i = 0; i < 3; ++i)
            QVERIFY(printer.printEmptyLine());
        QVERIFY(printer.printLine("TARVEN SECTION NET REPORT FOR APRIL 2026", 30));
        QVERIFY(printer.printEmptyLine());
        QVERIFY(printer.printLine("SESSIONS CALLED:4", 1));
        QVERIFY(printer.printLine("TOTAL CHECKINS:57"));
        QVERIFY(printer.printLine("TRAFFIC COUNT:3"));
        QVERIFY(printer.printEmptyLine());
        QVERIFY(printer.printEmptyLine());
        QVERIFY(printer.printLine("NEW CHECKINS ADDED THIS MONTH", 30));
        QVERIFY(printer.printEmptyLine());
        QVERIFY(printer.printLine("N0CALL JOHN SMALLTOWN MS", 30));
        QVERIFY(printer.printLine(kRuler, 1));
        QVERIFY(printer.documentOpen());
        QVERIFY(printer.endDocument());
        QVERIFY(!printer.documentOpen());
    }
    const auto text = layoutText(pdf);
    QVERIFY(text);
    const QStringList order{"TARVEN SECTION NET REPORT FOR APRIL 2026", "SESSIONS CALLED:4", "TOTAL CHECKINS:57",
                            "TRAFFIC COUNT:3", "NEW CHECKINS ADDED THIS MONTH", "N0CALL JOHN SMALLTOWN MS"};
    qsizetype at = -1;
    for (const QString& part : order) {
        const qsizetype found = text->indexOf(part);
        QVERIFY2(found > at, qPrintable(part));
        at = found;
    }
    QCOMPARE(text->count('\f'), 1);  // one page

    // Column 30 starts 29 character widths right of column 1.
    const int margin = leadingBlanks(lineWith(*text, kRuler));
    QCOMPARE(leadingBlanks(lineWith(*text, "SESSIONS CALLED:4")), margin);
    QCOMPARE(leadingBlanks(lineWith(*text, "TOTAL CHECKINS:57")), margin);
    for (const QString& part : {QString("TARVEN SECTION"), QString("NEW CHECKINS ADDED"), QString("N0CALL JOHN")}) {
        const int shift = leadingBlanks(lineWith(*text, part)) - margin;
        QVERIFY2(qAbs(shift - 29) <= 1, qPrintable(part + ": " + QString::number(shift)));
    }
    // On paper: a 10-point monospaced character is 6 points wide.
    const QString html = dir_.filePath("report.html");
    QVERIFY(runTool("/usr/bin/pdftotext", {"-bbox", pdf, html}));
    QFile f(html);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString boxes = QString::fromUtf8(f.readAll());
    const auto left = wordLeft(boxes, "SESSIONS");
    const auto title = wordLeft(boxes, "TARVEN");
    QVERIFY(left && title);
    QVERIFY2(qAbs(*title - *left - 29 * 6.0) < 1.0, qPrintable(QString::number(*title - *left)));
    // Column 1 is the left margin, half an inch in a PDF file.
    QVERIFY2(qAbs(*left - 36.0) < 1.0, qPrintable(QString::number(*left)));

    const QString shots = qEnvironmentVariable("VELN_SHOT_DIR");
    if (!shots.isEmpty())
        QVERIFY(runTool("/usr/bin/pdftoppm", {"-png", "-r", "60", "-f", "1", "-l", "1", "-singlefile", pdf,
                                               shots + "/report_page"}));
}

void TstLinePrinter::columnInAProportionalFont()
{
    // The printer's usual font: the column still counts average widths, so it
    // lands between 29 of the narrowest and 29 of the widest letters.
    const QString pdf = dir_.filePath("proportional.pdf");
    {
        QtLinePrinter printer(pdf);
        QCOMPARE(printer.font(), PrinterFont{});
        QVERIFY(printer.printLine("LEFT", 1));
        QVERIFY(printer.printLine("RIGHT", 30));
        QVERIFY(printer.endDocument());
    }
    const QString html = dir_.filePath("proportional.html");
    QVERIFY(runTool("/usr/bin/pdftotext", {"-bbox", pdf, html}));
    QFile f(html);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString boxes = QString::fromUtf8(f.readAll());
    const auto left = wordLeft(boxes, "LEFT");
    const auto right = wordLeft(boxes, "RIGHT");
    QVERIFY(left && right);
    const double shift = *right - *left;
    QFont font = QtLinePrinter::toQFont(PrinterFont{});
    font.setPointSizeF(100);  // 100 points measured at 72 dpi: widths in hundredths of the size
    QPrinter scale(QPrinter::HighResolution);
    const QFontMetricsF m(font, &scale);
    const double perPoint = 72.0 / scale.resolution() / 10.0;  // device pixels at 100 pt to points at 10 pt
    QVERIFY2(shift > 29 * m.horizontalAdvance('i') * perPoint && shift < 29 * m.horizontalAdvance('W') * perPoint,
             qPrintable(QString::number(shift)));
}

void TstLinePrinter::fullPageGoesOnToANewPage()
{
    const QString pdf = dir_.filePath("long.pdf");
    {
        QtLinePrinter printer(pdf);
        printer.setFont({"Liberation Mono", false, false, 12.0});
        for (int i = 1; i <= 150; ++i)
            QVERIFY(printer.printLine(QString("LINE %1").arg(i, 3, 10, QChar('0')), 30));
        QVERIFY(printer.endDocument());
    }
    const auto text = layoutText(pdf);
    QVERIFY(text);
    const QStringList pages = text->split('\f', Qt::SkipEmptyParts);
    QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
    // Every line once, in order, none lost at a page's end.
    static const QRegularExpression numbered(R"(LINE (\d{3}))");
    int expected = 1;
    for (auto it = numbered.globalMatch(*text); it.hasNext(); ++expected)
        QCOMPARE(it.next().captured(1).toInt(), expected);
    QCOMPARE(expected, 151);
    QVERIFY(pages.at(0).contains("LINE 001") && !pages.at(0).contains("LINE 150"));
}

void TstLinePrinter::longLineGoesOnBelowAtItsColumn()
{
    const QString pdf = dir_.filePath("wide.pdf");
    QStringList words;
    for (int i = 1; i <= 40; ++i)
        words << QString("WORD%1").arg(i, 2, 10, QChar('0'));
    {
        QtLinePrinter printer(pdf);
        printer.setFont(kMono);
        QVERIFY(printer.printLine(kRuler, 1));
        QVERIFY(printer.printLine(words.join(' '), 30));
        QVERIFY(printer.endDocument());
    }
    const auto text = layoutText(pdf);
    QVERIFY(text);
    const int margin = leadingBlanks(lineWith(*text, kRuler));
    QStringList found;
    int lines = 0;
    for (const QString& line : text->split('\n')) {
        if (!line.contains("WORD"))
            continue;
        ++lines;
        QVERIFY2(qAbs(leadingBlanks(line) - margin - 29) <= 1, qPrintable(line));
        found << line.simplified().split(' ');
    }
    QVERIFY(lines > 1);
    QCOMPARE(found, words);  // whole words, none cut
}

void TstLinePrinter::lineBreakInTextStartsANewLineAtTheColumn()
{
    const QString pdf = dir_.filePath("breaks.pdf");
    {
        QtLinePrinter printer(pdf);
        printer.setFont(kMono);
        QVERIFY(printer.printLine(kRuler, 1));
        QVERIFY(printer.printLine("FIRST\r\nSECOND\nTHIRD", 30));
        QVERIFY(printer.endDocument());
    }
    const auto text = layoutText(pdf);
    QVERIFY(text);
    const int margin = leadingBlanks(lineWith(*text, kRuler));
    for (const QString& word : {QString("FIRST"), QString("SECOND"), QString("THIRD")}) {
        const QString line = lineWith(*text, word);
        QCOMPARE(line.trimmed(), word);
        QVERIFY2(qAbs(leadingBlanks(line) - margin - 29) <= 1, qPrintable(line));
    }
}

void TstLinePrinter::fontIsKeptAndUsed()
{
    const QString pdf = dir_.filePath("font.pdf");
    const PrinterFont chosen{"Liberation Serif", true, true, 14.5};
    {
        QtLinePrinter printer(pdf);
        printer.setFont(chosen);
        QCOMPARE(printer.font(), chosen);
        QVERIFY(printer.printLine("SERIF TEXT", 30));
        QVERIFY(printer.endDocument());
        // Kept for the next document.
        QCOMPARE(printer.font(), chosen);
    }
    const auto fonts = runTool("/usr/bin/pdffonts", {pdf});
    QVERIFY(fonts);
    QVERIFY2(fonts->contains("LiberationSerif-BoldItalic"), qPrintable(*fonts));
    QVERIFY2(!fonts->contains("LiberationSans"), qPrintable(*fonts));
}

void TstLinePrinter::openDocumentEndsWithThePrinter()
{
    // A document left open (a cancelled print leaves its empty lines in the
    // job) still comes out when the program ends.
    const QString pdf = dir_.filePath("left_open.pdf");
    {
        QtLinePrinter printer(pdf);
        QVERIFY(printer.printEmptyLine());
        QVERIFY(printer.printLine("STILL PRINTED", 30));
        QVERIFY(printer.documentOpen());
    }
    const auto text = layoutText(pdf);
    QVERIFY(text);
    QVERIFY(text->contains("STILL PRINTED"));
}

void TstLinePrinter::endWithNothingPrintedIsNoError()
{
    const QString pdf = dir_.filePath("nothing.pdf");
    QtLinePrinter printer(pdf);
    QVERIFY(printer.endDocument());
    QVERIFY(!printer.documentOpen());
    QVERIFY(!QFile::exists(pdf));
}

void TstLinePrinter::failureIsReported()
{
    QtLinePrinter printer(dir_.filePath("no such folder/out.pdf"));
    for (int i = 0; i < 2; ++i)
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    QVERIFY(!printer.printEmptyLine());
    QVERIFY(!printer.printLine("TEXT", 30));
    QVERIFY(!printer.documentOpen());

    FakePrompts prompts;
    ShowPrinterError(prompts);
    QCOMPARE(prompts.shown.size(), 1);
    QCOMPARE(prompts.shown.at(0).text, QString("PRINTER ERROR - FIX PROBLEM AND TRY AGAIN!"));
    QCOMPARE(prompts.shown.at(0).buttons, Prompts::Buttons::OkCancel);
    QCOMPARE(prompts.shown.at(0).icon, Prompts::Icon::Exclamation);
    QCOMPARE(prompts.shown.at(0).title, QString("Tarven Net"));
}

void TstLinePrinter::clipboardKeepsTheTextAsItIs()
{
    QtClipboard clipboard;
    const QString text = "VELN Net REPORT FOR  2026\r\n\r\nSESSIONS CALLED: 0\r\nTHIS NET";
    clipboard.setText(text);
    QCOMPARE(clipboard.text(), text);
    clipboard.clear();
    QCOMPARE(clipboard.text(), QString());
}

VELN_TEST(TstLinePrinter)
#include "tst_line_printer.moc"
