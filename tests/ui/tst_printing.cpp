#include "core/member_table.h"
#include "core/printer_setting.h"
#include "core/settings_store.h"
#include "fake_line_printer.h"
#include "fakes.h"
#include "member_files.h"
#include "platform/qt_line_printer.h"
#include "session/printouts.h"
#include "test_home.h"
#include "test_main.h"
#include "ui/printing.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLocale>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <functional>
#include <memory>

using Answer = Prompts::Answer;
using Action = std::function<void(Platform&, const MemberTable&, const QString& docs)>;
Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(FakeLinePrinter::Line)

namespace {

const QByteArray kRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 GOOD EVENING\\par This is the net.\\par}";

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

bool isPdf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-";
}

// Closes the next modal dialog that opens (rejecting it) and remembers
// whether one did; a dialog left open would hang the test.
class ModalCloser : public QObject {
public:
    explicit ModalCloser(bool accept = false)
    {
        connect(&timer_, &QTimer::timeout, this, [this, accept] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = true;
                if (auto* d = qobject_cast<QDialog*>(modal))
                    accept ? d->accept() : d->reject();
                else
                    modal->close();
            }
        });
        timer_.start(20);
    }
    bool opened = false;

private:
    QTimer timer_;
};

}  // namespace

class TstPrinting : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void nothingWithoutPrinter_data();
    void nothingWithoutPrinter();

    void printerFontChosen();
    void printerFontCancelled();
    void pageSetupCancelChangesNothing();
    void pageSetupChoiceIsKept();
    void rememberedPrinterGoneLeavesDefault();

    void sessionHeaderDate_data();
    void sessionHeaderDate();
    void sessionFailureShowsError();

    void databaseQuestion();
    void databaseAnswers_data();
    void databaseAnswers();
    void databaseFailureShowsError();

    void documentGetsLeadingEmptyLines();
    void eachItemPrintsItsOwnDocument();
    void damagedDocumentPrintsWhatWasRead();

private:
    std::unique_ptr<TestHome> home_;
    std::unique_ptr<FakePlatform> fake_;
    std::unique_ptr<FakeLinePrinter> fake_printer_;
    FakeLinePrinter* printer_ = nullptr;
    MemberTable table_;
};

void TstPrinting::init()
{
    home_ = std::make_unique<TestHome>();
    fake_ = std::make_unique<FakePlatform>();
    fake_printer_ = std::make_unique<FakeLinePrinter>();
    printer_ = fake_printer_.get();
    fake_->platform.printer = printer_;
    writeMemberFile(home_->memberFile(), {{"W9XYZ", "ANN", "PEORIA"}, {}, {"K1ABC", "BOB", "BOSTON"}});
    table_ = MemberTable();
    QVERIFY(table_.LoadMemberTable(home_->memberFile()));
}

void TstPrinting::cleanup()
{
    fake_.reset();
    fake_printer_.reset();
    home_.reset();
}

void TstPrinting::nothingWithoutPrinter_data()
{
    QTest::addColumn<Action>("action");
    QTest::newRow("page setup") << Action([](Platform& p, const MemberTable&, const QString&) {
        QVERIFY(!Printing::PageSetup(p, nullptr));
    });
    QTest::newRow("printer font") << Action([](Platform& p, const MemberTable&, const QString&) {
        QVERIFY(!Printing::ChoosePrinterFont(p));
    });
    QTest::newRow("session") << Action([](Platform& p, const MemberTable&, const QString&) {
        Printing::PrintSession(p, QString(), QStringLiteral("1"), QStringLiteral("0"), {QStringLiteral(" K1ABC BOB")});
    });
    QTest::newRow("database") << Action(
        [](Platform& p, const MemberTable& t, const QString&) { Printing::PrintDatabase(p, t); });
    QTest::newRow("preamble") << Action(
        [](Platform& p, const MemberTable&, const QString& docs) { Printing::PrintPreamble(p, docs); });
    QTest::newRow("instructions") << Action(
        [](Platform& p, const MemberTable&, const QString& docs) { Printing::PrintInstructions(p, docs); });
}

void TstPrinting::nothingWithoutPrinter()
{
    QFETCH(Action, action);
    const QString docs = home_->path() + QLatin1Char('/');
    writeFile(docs + Printing::kPreambleFile, kRtf);
    writeFile(docs + Printing::kInstructionsFile, kRtf);
    const QString pdf = home_->path() + QStringLiteral("/out.pdf");

    fake_->printers.installed = 0;
    fake_->prompts.answers = {Answer::Yes};
    fake_->prompts.fonts = {QFont(QStringLiteral("Courier New"), 14)};

    // Once with the line printer that records, once with a real one on a
    // file, so that neither a line nor a dialog nor a document gets through.
    action(fake_->platform, table_, docs);
    QtLinePrinter pdfPrinter(pdf);
    fake_->platform.printer = &pdfPrinter;
    ModalCloser closer;
    action(fake_->platform, table_, docs);
    QTest::qWait(60);

    QVERIFY(!closer.opened);
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(printer_->lines.isEmpty());
    QCOMPARE(printer_->calls, 0);
    QVERIFY(fake_->prompts.shown.isEmpty());
    QVERIFY(fake_->prompts.fontsAsked.isEmpty());
    QCOMPARE(printer_->font(), PrinterFont());
}

void TstPrinting::printerFontChosen()
{
    printer_->setFont({QStringLiteral("Times New Roman"), true, false, 11.5});
    QFont chosen(QStringLiteral("Courier New"));
    chosen.setPointSizeF(13.5);
    chosen.setBold(false);
    chosen.setItalic(true);
    fake_->prompts.fonts = {chosen};
    QVERIFY(Printing::ChoosePrinterFont(fake_->platform));

    QCOMPARE(fake_->prompts.fontsAsked.size(), 1);
    const QFont asked = fake_->prompts.fontsAsked.first();
    QCOMPARE(asked.family(), QStringLiteral("Times New Roman"));
    QVERIFY(asked.bold());
    QVERIFY(!asked.italic());
    QCOMPARE(asked.pointSizeF(), 11.5);
    QCOMPARE(printer_->font(), (PrinterFont{QStringLiteral("Courier New"), false, true, 13.5}));
    QVERIFY(fake_->prompts.shown.isEmpty());
}

void TstPrinting::printerFontCancelled()
{
    const PrinterFont before{QStringLiteral("Times New Roman"), true, true, 9.0};
    printer_->setFont(before);
    QVERIFY(!Printing::ChoosePrinterFont(fake_->platform));
    QCOMPARE(fake_->prompts.fontsAsked.size(), 1);
    QCOMPARE(printer_->font(), before);
    QVERIFY(fake_->prompts.shown.isEmpty());
}

void TstPrinting::pageSetupCancelChangesNothing()
{
    const QString pdf = home_->path() + QStringLiteral("/setup.pdf");
    QtLinePrinter pdfPrinter(pdf);
    fake_->platform.printer = &pdfPrinter;
    SettingsStore settings(home_->settingsFile());
    PrinterSetting setting(settings);
    setting.setPrinterName(QStringLiteral("Hall printer"));
    pdfPrinter.rememberChoiceIn(&setting);
    const QPageLayout before = pdfPrinter.printer().pageLayout();
    ModalCloser closer;
    QVERIFY(!Printing::PageSetup(fake_->platform, nullptr));
    QVERIFY(closer.opened);
    QVERIFY(pdfPrinter.printer().pageLayout().isEquivalentTo(before));
    QCOMPARE(setting.printerName(), QStringLiteral("Hall printer"));
    QVERIFY(fake_->prompts.shown.isEmpty());
    QVERIFY(!QFile::exists(pdf));
}

void TstPrinting::pageSetupChoiceIsKept()
{
    QtLinePrinter pdfPrinter(home_->path() + QStringLiteral("/setup.pdf"));
    fake_->platform.printer = &pdfPrinter;
    SettingsStore settings(home_->settingsFile());
    PrinterSetting setting(settings);
    setting.setPrinterName(QStringLiteral("Hall printer"));
    pdfPrinter.rememberChoiceIn(&setting);
    ModalCloser closer(true);
    QVERIFY(Printing::PageSetup(fake_->platform, nullptr));
    QVERIFY(closer.opened);
    // The choice made (here the file, which has no printer name) replaces the old one.
    QCOMPARE(setting.printerName(), pdfPrinter.printer().printerName());
    QCOMPARE(SettingsStore(home_->settingsFile()).GetSetting(QStringLiteral("print"), QStringLiteral("printer")),
             pdfPrinter.printer().printerName());
}

void TstPrinting::rememberedPrinterGoneLeavesDefault()
{
    SettingsStore settings(home_->settingsFile());
    PrinterSetting setting(settings);
    setting.setPrinterName(QStringLiteral("Printer taken away"));
    QtLinePrinter systemPrinter;
    systemPrinter.rememberChoiceIn(&setting);
    QCOMPARE(systemPrinter.printer().printerName(), QPrinterInfo::defaultPrinterName());
}

void TstPrinting::sessionHeaderDate_data()
{
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("jobName");
    QTest::newRow("no session file opened") << QString()
                                            << QLocale::system().toString(QDate(2026, 12, 8), QLocale::ShortFormat)
                                            << "VELN session 2026-12-08";
    QTest::newRow("session file opened") << "11/24/2026" << "11/24/2026" << "VELN session 2026-11-24";
    QTest::newRow("single-digit month and day") << "3/7/2026" << "3/7/2026" << "VELN session 2026-03-07";
    QTest::newRow("damaged date line") << "24.11.26" << "24.11.26" << "VELN session 24.11.26";
}

void TstPrinting::sessionHeaderDate()
{
    QFETCH(QString, opened);
    QFETCH(QString, date);
    QFETCH(QString, jobName);
    Printing::PrintSession(fake_->platform, opened, QStringLiteral("2"), QStringLiteral(" 1"),
                           {QStringLiteral(" K1ABC BOB BOSTON"), QStringLiteral(" W9XYZ ANN PEORIA")});
    QCOMPARE(printer_->lines.size(), 7);
    QCOMPARE(printer_->lines.at(3),
             (FakeLinePrinter::Line{30, QStringLiteral("TARVEN SECTION NET SESSION    ") + date
                                            + QStringLiteral("  Checkins: 2 Traffic:  1")}));
    QCOMPARE(printer_->lines.at(6), (FakeLinePrinter::Line{30, QStringLiteral("2  W9XYZ ANN PEORIA")}));
    QCOMPARE(printer_->endedAfter, QList<int>{7});
    QCOMPARE(printer_->endedNames, QStringList{jobName});
    QVERIFY(fake_->prompts.shown.isEmpty());
}

void TstPrinting::sessionFailureShowsError()
{
    printer_->failFromCall = 4;
    Printing::PrintSession(fake_->platform, QString(), QStringLiteral("1"), QStringLiteral("0"),
                           {QStringLiteral(" K1ABC BOB BOSTON")});
    QCOMPARE(printer_->lines.size(), 4);
    QCOMPARE(fake_->prompts.shown.size(), 1);
    const FakePrompts::Shown& e = fake_->prompts.shown.first();
    QCOMPARE(e.text, QStringLiteral("PRINTER ERROR - FIX PROBLEM AND TRY AGAIN!"));
    QCOMPARE(e.buttons, Prompts::Buttons::OkCancel);
    QCOMPARE(e.icon, Prompts::Icon::Exclamation);
    QCOMPARE(e.title, QStringLiteral("Tarven Net"));
}

void TstPrinting::databaseQuestion()
{
    fake_->prompts.answers = {Answer::No};
    Printing::PrintDatabase(fake_->platform, table_);
    QCOMPARE(fake_->prompts.shown.size(), 1);
    const FakePrompts::Shown& q = fake_->prompts.shown.first();
    QCOMPARE(q.text, QStringLiteral("PRINT SORTED?"));
    QCOMPARE(q.title, QStringLiteral("Print Database"));
    QCOMPARE(q.buttons, Prompts::Buttons::YesNoCancel);
    QCOMPARE(q.defaultAnswer, Answer::Yes);
    QCOMPARE(q.icon, Prompts::Icon::Information);
}

void TstPrinting::databaseAnswers_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QList<FakeLinePrinter::Line>>("lines");
    QTest::addColumn<QList<int>>("ended");
    const FakeLinePrinter::Line e{1, {}};
    // Cancel sends nothing, so no stray empty lines wait in an open job.
    QTest::newRow("Cancel") << Answer::Cancel << QList<FakeLinePrinter::Line>() << QList<int>();
    QTest::newRow("Yes") << Answer::Yes
                         << QList<FakeLinePrinter::Line>{e, e, {30, QStringLiteral("3 K1ABC BOB BOSTON")}, e,
                                                         {30, QStringLiteral("1 W9XYZ ANN PEORIA")}, e}
                         << QList<int>{6};
    QTest::newRow("No") << Answer::No
                        << QList<FakeLinePrinter::Line>{e, e, e, e, {30, QStringLiteral("   1. W9XYZ ANN PEORIA")}, e,
                                                        {30, QStringLiteral("   3. K1ABC BOB BOSTON")}, e}
                        << QList<int>{8};
}

void TstPrinting::databaseAnswers()
{
    QFETCH(Answer, answer);
    QFETCH(QList<FakeLinePrinter::Line>, lines);
    QFETCH(QList<int>, ended);
    fake_->prompts.answers = {answer};
    Printing::PrintDatabase(fake_->platform, table_);
    QCOMPARE(printer_->lines, lines);
    QCOMPARE(printer_->endedAfter, ended);
    QCOMPARE(printer_->endedNames, ended.isEmpty() ? QStringList() : QStringList{"VELN member database"});
    QCOMPARE(fake_->prompts.shown.size(), 1);
}

void TstPrinting::databaseFailureShowsError()
{
    fake_->prompts.answers = {Answer::Yes};
    printer_->failFromCall = 2;
    Printing::PrintDatabase(fake_->platform, table_);
    QCOMPARE(printer_->lines.size(), 2);
    QVERIFY(printer_->endedAfter.isEmpty());
    QCOMPARE(fake_->prompts.shown.size(), 2);
    QCOMPARE(fake_->prompts.shown.last().text, LinePrinter::kErrorMessage);
}

void TstPrinting::documentGetsLeadingEmptyLines()
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("GOOD EVENING\nThis is the net."));
    for (int n : {0, 1, 2}) {
        const std::unique_ptr<QTextDocument> copy = Printing::WithLeadingEmptyLines(doc, n);
        QCOMPARE(copy->blockCount(), 2 + n);
        for (int i = 0; i < n; ++i)
            QVERIFY(copy->findBlockByNumber(i).text().isEmpty());
        QCOMPARE(copy->findBlockByNumber(n).text(), QStringLiteral("GOOD EVENING"));
        QCOMPARE(copy->findBlockByNumber(n + 1).text(), QStringLiteral("This is the net."));
    }
    QCOMPARE(doc.blockCount(), 2);
}

void TstPrinting::eachItemPrintsItsOwnDocument()
{
    // Only the preamble exists: it prints, the instructions print nothing.
    const QString docs = home_->path() + QLatin1Char('/');
    writeFile(docs + Printing::kPreambleFile, kRtf);
    const QString pdf = home_->path() + QStringLiteral("/doc.pdf");
    QtLinePrinter pdfPrinter(pdf);
    fake_->platform.printer = &pdfPrinter;

    Printing::PrintInstructions(fake_->platform, docs);
    QVERIFY(!QFile::exists(pdf));
    Printing::PrintPreamble(fake_->platform, docs);
    QVERIFY(isPdf(pdf));
    QCOMPARE(pdfPrinter.printer().docName(), QStringLiteral("VELN preamble"));
    QVERIFY(!pdfPrinter.documentOpen());
    QVERIFY(fake_->prompts.shown.isEmpty());
}

void TstPrinting::damagedDocumentPrintsWhatWasRead()
{
    const QString docs = home_->path() + QLatin1Char('/');
    const QString pdf = home_->path() + QStringLiteral("/doc.pdf");
    QtLinePrinter pdfPrinter(pdf);
    fake_->platform.printer = &pdfPrinter;

    writeFile(docs + Printing::kInstructionsFile, "plain text, not RTF");
    Printing::PrintInstructions(fake_->platform, docs);
    QVERIFY(!QFile::exists(pdf));

    writeFile(docs + Printing::kInstructionsFile, kRtf.left(kRtf.size() - 8));
    Printing::PrintInstructions(fake_->platform, docs);
    QVERIFY(isPdf(pdf));
    QCOMPARE(pdfPrinter.printer().docName(), QStringLiteral("VELN instructions"));
    QVERIFY(fake_->prompts.shown.isEmpty());
}

VELN_TEST(TstPrinting)
#include "tst_printing.moc"
