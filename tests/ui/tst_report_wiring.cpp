#include "core/settings_store.h"
#include "fake_line_printer.h"
#include "fakes.h"
#include "member_files.h"
#include "test_home.h"
#include "test_main.h"
#include "ui/frm_main.h"
#include "ui/frm_report.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <memory>

// The report windows and the printer font as the main window handles them.
class TstReportWiring : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void monthlyReportIsOneModelessWindow();
    void printerFontKeptAcrossRuns_data();
    void printerFontKeptAcrossRuns();

private:
    std::unique_ptr<TestHome> home_;
    std::unique_ptr<FakePlatform> fakes_;
    FakeLinePrinter printer_;
    std::unique_ptr<SettingsStore> settings_;
    ProgramState state_;
};

void TstReportWiring::init()
{
    home_ = std::make_unique<TestHome>();
    fakes_ = std::make_unique<FakePlatform>();
    printer_ = FakeLinePrinter();
    fakes_->platform.printer = &printer_;
    state_ = ProgramState();
    state_.paths = Paths::forCurrentUser();
    state_.netControlName = "JO";
    state_.netControlCall = "K9XYZ";
    state_.netManagerName = "PAT";
    state_.netManagerCall = "W0VEL";
    settings_ = std::make_unique<SettingsStore>(state_.paths.settingsFile);
    writeMemberFile(home_->memberFile(), {});
}

void TstReportWiring::cleanup()
{
    settings_.reset();
    fakes_.reset();
    home_.reset();
}

void TstReportWiring::monthlyReportIsOneModelessWindow()
{
    frmMain w(fakes_->platform, state_, *settings_);
    w.show();
    w.mnuReportsMonthly->trigger();
    auto* report = w.findChild<FrmReport*>();
    QVERIFY(report);
    QVERIFY(report->isVisible());
    QVERIFY(!report->isModal());
    w.mnuReportsMonthly->trigger();
    QCOMPARE(w.findChildren<FrmReport*>().size(), 1);
    report->close();
    // Shown again, it is the same window.
    w.mnuReportsMonthly->trigger();
    QCOMPARE(w.findChildren<FrmReport*>().size(), 1);
    QVERIFY(report->isVisible());
}

void TstReportWiring::printerFontKeptAcrossRuns_data()
{
    QTest::addColumn<int>("printers");
    QTest::newRow("printer installed") << 1;
    QTest::newRow("no printer") << 0;
}

void TstReportWiring::printerFontKeptAcrossRuns()
{
    QFETCH(int, printers);
    fakes_->printers.installed = printers;
    settings_->SaveSetting("First", "Firstime", "FALSE");
    settings_->SaveSetting("Print", "Font", "Liberation Mono");
    settings_->SaveSetting("Print", "Bold", "True");
    settings_->SaveSetting("Print", "Size", "11.5");
    {
        frmMain w(fakes_->platform, state_, *settings_);
        if (printers > 0) {
            QCOMPARE(printer_.font().name, QString("Liberation Mono"));
            QVERIFY(printer_.font().bold);
            QCOMPARE(printer_.font().size, 11.5);
        } else {
            QCOMPARE(printer_.font().name, QString("Arial"));  // not read without a printer
        }
        PrinterFont f = printer_.font();
        f.size = 9;
        printer_.setFont(f);
        fakes_->prompts.answers = {Prompts::Answer::No};
        w.CmdExit_Click();
    }
    QCOMPARE(settings_->GetSetting("Print", "Size"), printers > 0 ? QString("9") : QString("11.5"));
}

VELN_TEST(TstReportWiring)
#include "tst_report_wiring.moc"
