#include "core/settings_store.h"
#include "fakes.h"
#include "member_files.h"
#include "test_home.h"
#include "test_main.h"
#include "ui/frm_main.h"
#include "ui/ui_style.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <memory>

// Fonts and colours: the Format menu, what it saves, and what the next start applies.
class TstAppearance : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void controlsFont();
    void formFontCapsPanels();
    void formFontCancelChangesNothing();
    void formDataFontCappedAt14();
    void colourItems_data();
    void colourItems();
    void cancelledDialogChangesNothing();
    void formBackground();
    void memberColourNotKept();
    void appearanceSurvivesRestart();
    void damagedValuesKeepDesign();
    void emptyLineColourIsBlack();
    void preambleFontStartValues_data();
    void preambleFontStartValues();
    void firstRunAppliesNothing();
    void firstRunLooksAsTheNext();
    void readableOnADarkDesktop();
    void captionsReadableAfterSecondStart_data();
    void captionsReadableAfterSecondStart();

private:
    std::unique_ptr<frmMain> open(bool show = true)
    {
        auto w = std::make_unique<frmMain>(fakes_->platform, state_, *settings_);
        w->setEndProgram([this] { ++endings_; });
        if (!show)
            return w;  // as loaded, before a resize rescales the fonts
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("window not exposed");
        return w;
    }
    void laterRun() { settings_->SaveSetting("First", "Firstime", "FALSE"); }
    QFont font(const char* family, double size, bool bold = false, bool italic = false)
    {
        QFont f(family);
        f.setPointSizeF(size);
        f.setBold(bold);
        f.setItalic(italic);
        return f;
    }

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<FakePlatform> fakes_;
    std::unique_ptr<SettingsStore> settings_;
    ProgramState state_;
    int endings_ = 0;
};

void TstAppearance::init()
{
    home_ = std::make_unique<TestHome>();
    fakes_ = std::make_unique<FakePlatform>();
    state_ = ProgramState();
    state_.paths = Paths::forCurrentUser();
    state_.netControlName = "JO";
    state_.netControlCall = "K9XYZ";
    state_.netManagerName = "PAT";
    state_.netManagerCall = "W0VEL";
    settings_ = std::make_unique<SettingsStore>(state_.paths.settingsFile);
    writeMemberFile(home_->memberFile(), {{"K9XYZ", "JO", "PEORIA IL"}});
    endings_ = 0;
}

void TstAppearance::cleanup()
{
    settings_.reset();
    fakes_.reset();
    home_.reset();
}

void TstAppearance::controlsFont()
{
    auto w = open();
    fakes_->prompts.fonts = {font("Liberation Serif", 10.5, true, true)};
    w->mnuFormatControlsFont->trigger();
    QCOMPARE(fakes_->prompts.fontsAsked.first().family(), QString("Arial"));  // opened on the roster's font
    for (QWidget* l : {static_cast<QWidget*>(w->lst1), static_cast<QWidget*>(w->lstNF), static_cast<QWidget*>(w->lstSG)}) {
        QCOMPARE(l->font().pointSizeF(), 10.0);
        QCOMPARE(l->font().family(), QString("Liberation Serif"));
        QVERIFY(l->font().italic());
    }
    QVERIFY(w->TxtChkin->font().italic());
    QCOMPARE(w->TxtChkin->font().family(), QString("Arial"));  // the check-in box takes bold and italic only
    QCOMPARE(settings_->GetSetting("Screen", "Size"), QString("10"));
}

void TstAppearance::formFontCapsPanels()
{
    auto w = open();
    fakes_->prompts.fonts = {font("Liberation Sans", 24, true)};
    w->mnuFormatFormFont->trigger();
    for (QWidget* c : {static_cast<QWidget*>(w->Label1), static_cast<QWidget*>(w->Label6),
                       static_cast<QWidget*>(w->fraAdd)})
        QCOMPARE(c->font().pointSizeF(), 24.0);
    for (QWidget* c : {static_cast<QWidget*>(w->LblNF1), static_cast<QWidget*>(w->lblSG), static_cast<QWidget*>(w->lblCS),
                       static_cast<QWidget*>(w->FraSearch), static_cast<QWidget*>(w->FraStations),
                       static_cast<QWidget*>(w->fraFormData)})
        QCOMPARE(c->font().pointSizeF(), 18.0);
    QCOMPARE(w->TxtChkin->font().family(), QString("Liberation Sans"));
    QCOMPARE(w->lblMode->font().family(), QString("Arial"));  // only at the next start
    QCOMPARE(settings_->GetSetting("Form", "Size"), QString("24"));
    QCOMPARE(settings_->GetSetting("Form", "Font"), QString("Liberation Sans"));
    QCOMPARE(settings_->GetSetting("Form", "Bold"), QString("True"));
}

void TstAppearance::formFontCancelChangesNothing()
{
    auto w = open();
    const QFont before = w->Label1->font();
    w->mnuFormatFormFont->trigger();  // the dialog is cancelled
    QVERIFY(fakes_->prompts.shown.isEmpty());
    QCOMPARE(endings_, 0);
    QCOMPARE(w->Label1->font(), before);
    QCOMPARE(settings_->GetSetting("Form", "Size"), QString());
}

void TstAppearance::formDataFontCappedAt14()
{
    auto w = open();
    const double chkinsSize = w->lblChkins->font().pointSizeF();
    fakes_->prompts.fonts = {font("Liberation Serif", 16)};
    w->mnuFormatFormDataFont->trigger();
    QCOMPARE(w->lblNetMgr->font().pointSizeF(), 14.0);
    QCOMPARE(w->lblNetCtl->font().pointSizeF(), 14.0);
    QCOMPARE(w->lblChkins->font().pointSizeF(), chkinsSize);
    QCOMPARE(w->lblChkins->font().family(), QString("Liberation Serif"));
    fakes_->prompts.answers = {Prompts::Answer::No};
    w->CmdExit_Click();
    QCOMPARE(settings_->GetSetting("FormData", "Size"), QString("14"));
}

void TstAppearance::colourItems_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("changed");
    QTest::addColumn<bool>("background");
    QTest::newRow("controls text") << "mnuFormatControlsColor"
                                   << QStringList({"lst1", "lstNF", "lstSG", "TxtNew", "txtCall", "txtName", "TxtCS", "TxtChkin"})
                                   << false;
    QTest::newRow("controls background") << "mnuFormatControlsBackgroundColor"
                                         << QStringList({"lst1", "rtfInfo", "lstNF", "lstSG", "TxtNew", "txtCall", "txtName",
                                                         "TxtCS", "TxtChkin"})
                                         << true;
    QTest::newRow("form text") << "mnuFormatFormFontColor"
                               << QStringList({"LblNew", "lblCall", "lblName", "lblCS", "optPreamble", "optInstructions",
                                               "Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "LblNF1", "lblSG",
                                               "FraStations", "FraSearch", "fraFormData", "fraAdd"})
                               << false;
    QTest::newRow("figures") << "mnuFormatFormDataFontColor"
                             << QStringList({"lblChkins", "lblNetCtl", "lblNetMgr", "lblTraffic"}) << false;
    QTest::newRow("member count") << "mnuFormatFormDataMemberColor" << QStringList({"lblMembers"}) << false;
}

void TstAppearance::colourItems()
{
    QFETCH(QString, item);
    QFETCH(QStringList, changed);
    QFETCH(bool, background);
    auto w = open();
    const QColor pick(12, 34, 56);
    fakes_->prompts.colours = {pick};
    w->findChild<QAction*>(item)->trigger();
    for (const QString& name : changed) {
        QWidget* c = w->findChild<QWidget*>(name);
        QVERIFY2(c, qPrintable(name));
        QCOMPARE(background ? Ui::background(c) : Ui::textColour(c), pick);
    }
    // Others keep theirs.
    QVERIFY(Ui::textColour(w->lblMode) != pick || changed.contains("lblMode"));
}

void TstAppearance::cancelledDialogChangesNothing()
{
    auto w = open();
    const QColor before = Ui::textColour(w->lst1);
    w->mnuFormatControlsColor->trigger();  // cancelled
    w->mnuFormatControlsFont->trigger();
    QCOMPARE(Ui::textColour(w->lst1), before);
    QCOMPARE(settings_->GetSetting("Screen", "Size"), QString());
    QVERIFY(fakes_->prompts.shown.isEmpty());
}

void TstAppearance::formBackground()
{
    auto w = open();
    const QColor pick(0, 64, 0);
    fakes_->prompts.colours = {pick};
    w->mnuFormatFormBackgroundColor->trigger();
    for (QWidget* c : {w->centralWidget(), static_cast<QWidget*>(w->Fra1), static_cast<QWidget*>(w->FraStations),
                       static_cast<QWidget*>(w->FraSearch), static_cast<QWidget*>(w->fraFormData),
                       static_cast<QWidget*>(w->fraAdd)})
        QCOMPARE(Ui::background(c), pick);
    QVERIFY(w->Fra1->isVisible() && w->FraStations->isVisible() && w->fraFormData->isVisible());
    QVERIFY(Ui::background(w->fraInfo) != pick);  // only at the next start
}

void TstAppearance::memberColourNotKept()
{
    laterRun();
    {
        auto w = open();
        fakes_->prompts.colours = {QColor(1, 2, 3)};
        w->mnuFormatFormDataMemberColor->trigger();
        fakes_->prompts.answers = {Prompts::Answer::No};
        w->CmdExit_Click();
    }
    auto w = open();
    QCOMPARE(Ui::textColour(w->lblMembers), QColor(Qt::blue));
}

void TstAppearance::appearanceSurvivesRestart()
{
    laterRun();
    const QColor lines(200, 0, 200), text(0, 0, 128), back(250, 250, 200);
    {
        auto w = open();
        fakes_->prompts.fonts = {font("Liberation Serif", 13, true, true), font("Liberation Mono", 11)};
        fakes_->prompts.colours = {text, back, lines};
        w->mnuFormatControlsFont->trigger();
        w->mnuFormatFormFont->trigger();
        w->mnuFormatControlsColor->trigger();
        w->mnuFormatFormBackgroundColor->trigger();
        w->mnuFormatFormLineColor->trigger();
        QCOMPARE(w->LineColor(), lines);
        fakes_->prompts.answers = {Prompts::Answer::No};
        w->CmdExit_Click();
    }
    QCOMPARE(settings_->GetSetting("Form", "LineColor"), SettingValue::fromColour(lines.rgb() & 0xFFFFFF));
    auto w = open(false);
    QCOMPARE(w->lst1->font().family(), QString("Liberation Serif"));
    QCOMPARE(w->lst1->font().pointSizeF(), 13.0);
    QVERIFY(w->txtName->font().italic());
    QVERIFY(!w->TxtChkin->font().italic());  // the check-in box keeps its design italic
    QVERIFY(w->TxtChkin->font().bold());
    QCOMPARE(Ui::textColour(w->TxtChkin), text);
    QCOMPARE(w->Label1->font().family(), QString("Liberation Mono"));
    QCOMPARE(w->lblMode->font().family(), QString("Liberation Mono"));
    QCOMPARE(Ui::background(w->centralWidget()), back);
    QCOMPARE(Ui::background(w->fraInfo), back);
    QCOMPARE(w->LineColor(), lines);
}

void TstAppearance::damagedValuesKeepDesign()
{
    laterRun();
    settings_->SaveSetting("Screen", "Size", "huge");
    settings_->SaveSetting("Screen", "Bold", "perhaps");
    settings_->SaveSetting("Screen", "FGColor", "-5");
    settings_->SaveSetting("Form", "Size", "");
    settings_->SaveSetting("Form", "BGColor", "not a colour");
    settings_->SaveSetting("FormData", "Size", "x");
    auto w = open();
    QVERIFY(w->isVisible());
    QCOMPARE(w->designGeometry().empty(), false);
    QVERIFY(!w->lst1->font().bold());
    QCOMPARE(Ui::textColour(w->lst1), QColor(Qt::black));
    QCOMPARE(Ui::background(w->centralWidget()), Ui::kAppWorkspace);
}

void TstAppearance::emptyLineColourIsBlack()
{
    laterRun();
    settings_->SaveSetting("Form", "LineColor", "");
    auto w = open();
    QCOMPARE(w->LineColor(), QColor(Qt::black));
    settings_->SaveSetting("Form", "LineColor", "255");
    auto w2 = open();
    QCOMPARE(w2->LineColor(), QColor(255, 0, 0));
}

void TstAppearance::preambleFontStartValues_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<double>("size");
    QTest::newRow("1024x768") << QSize(1024, 768) << 8.0;
    QTest::newRow("1920x1080") << QSize(1920, 1080) << 10.0;
}

void TstAppearance::preambleFontStartValues()
{
    QFETCH(QSize, screen);
    QFETCH(double, size);
    state_.screenWidth = screen.width();
    state_.screenHeight = screen.height();
    auto w = open();
    w->rtfInfo->setPlainText("WELCOME TO THE NET");
    w->rtfInfo->selectAll();
    fakes_->prompts.fonts = {font("Liberation Mono", 14.5, false, true)};
    w->mnuFormatPreambleFont->trigger();
    const QFont asked = fakes_->prompts.fontsAsked.last();
    QCOMPARE(asked.family(), QString("Times New Roman"));
    QVERIFY(asked.bold());
    QVERIFY(!asked.italic());
    QCOMPARE(asked.pointSizeF(), size);
    const QTextCharFormat f = w->rtfInfo->textCursor().charFormat();
    QCOMPARE(f.fontFamilies().toStringList().value(0), QString("Liberation Mono"));
    QVERIFY(f.fontItalic());
    QCOMPARE(f.fontPointSize(), 14.0);
    fakes_->prompts.colours = {QColor(0, 128, 0)};
    w->mnuFormatPreambleFontColor->trigger();
    QCOMPARE(fakes_->prompts.coloursAsked.last(), QColor(Qt::black));
    QCOMPARE(w->rtfInfo->textCursor().charFormat().foreground().color(), QColor(0, 128, 0));
}

void TstAppearance::firstRunAppliesNothing()
{
    settings_->SaveSetting("Screen", "Font", "Liberation Mono");
    settings_->SaveSetting("Form", "LineColor", "255");
    auto w = open();
    QCOMPARE(w->lst1->font().family(), QString("Arial"));
    QCOMPARE(w->LineColor(), QColor(Qt::black));
}

void TstAppearance::firstRunLooksAsTheNext()
{
    // Colours and fonts of every control the stored look drives.
    auto look = [](frmMain& w) {
        QStringList out;
        for (QWidget* c : w.findChildren<QWidget*>()) {
            if (c->objectName().isEmpty())
                continue;
            const QPalette p = c->palette();
            out << QString("%1 %2 %3 %4 %5 %6")
                       .arg(c->objectName(), p.color(QPalette::WindowText).name(), p.color(QPalette::Window).name(),
                            p.color(QPalette::Text).name(), p.color(QPalette::Base).name(), c->font().toString());
        }
        return out;
    };
    QStringList first;
    {
        auto w = open();
        first = look(*w);
        QVERIFY(settings_->GetSetting("Screen", "BGColor").isEmpty());  // nothing written before the end
        fakes_->prompts.answers = {Prompts::Answer::No};
        w->CmdExit_Click();
    }
    QVERIFY(!settings_->GetSetting("Screen", "BGColor").isEmpty());
    auto again = open();
    QCOMPARE(look(*again), first);
}

void TstAppearance::readableOnADarkDesktop()
{
    // A dark desktop palette: light text everywhere the program sets none.
    const QPalette before = QApplication::palette();
    QPalette dark;
    for (auto [role, colour] : {std::pair{QPalette::Window, QColor(40, 40, 40)}, {QPalette::WindowText, Qt::white},
                                {QPalette::Base, QColor(30, 30, 30)}, {QPalette::Text, Qt::white},
                                {QPalette::Button, QColor(50, 50, 50)}, {QPalette::ButtonText, Qt::white}})
        dark.setColor(role, colour);
    QApplication::setPalette(dark);
    auto w = open();
    w->lst1->setCurrentRow(0);  // the net control checked in at start
    w->mnuEditCheckOut->trigger();  // a checked-out line, drawn fainter
    QApplication::setPalette(before);
    for (QWidget* c : w->findChildren<QWidget*>()) {
        if (c->objectName().isEmpty() || !c->isVisible() || c->objectName().startsWith("qt_"))
            continue;
        const double ratio = Ui::contrast(Ui::textColour(c), Ui::effectiveBackground(c));
        QVERIFY2(ratio >= 4.5, qPrintable(QString("%1: %2 on %3, %4:1")
                                              .arg(c->objectName(), Ui::textColour(c).name(),
                                                   Ui::effectiveBackground(c).name())
                                              .arg(ratio, 0, 'f', 2)));
    }
    QListWidgetItem* out = w->lst1->item(0);
    QVERIFY(out);
    QVERIFY(Ui::contrast(out->foreground().color(), Ui::background(w->lst1)) >= 4.5);
}

void TstAppearance::captionsReadableAfterSecondStart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("window");
    // What the first run's closing stores, and a choice of the operator's.
    QTest::newRow("as the first run left it") << "16777215" << "11250603";
    QTest::newRow("white window") << "16777215" << "16777215";
    QTest::newRow("black on black") << "0" << "0";
}

void TstAppearance::captionsReadableAfterSecondStart()
{
    QFETCH(QString, text);
    QFETCH(QString, window);
    laterRun();
    settings_->SaveSetting("Form", "FGCOLOR", text);
    settings_->SaveSetting("Form", "BGCOLOR", window);
    auto w = open();
    w->resize(1160, 760);
    w->mnuEditAdd->trigger();  // the mode caption shows "ADD"
    QCoreApplication::processEvents();
    const QImage shot = w->grab().toImage();
    QVERIFY(!shot.isNull());
    const QString dir = qEnvironmentVariable("VELN_SHOT_DIR");
    if (!dir.isEmpty())
        shot.save(dir + "/frmMain-second-start-" + QString(QTest::currentDataTag()).replace(' ', '-') + ".png");
    const double scale = shot.devicePixelRatio();
    for (QWidget* c : std::initializer_list<QWidget*>{w->Label1, w->Label2, w->Label3, w->Label4, w->Label5, w->Label6,
                                                      w->lblCall, w->lblName, w->lblCS, w->lblMode, w->LblNF1, w->lblSG,
                                                      w->optPreamble, w->optInstructions}) {
        // A corner of the caption is what stands behind its text.
        const QPoint at = c->mapTo(w.get(), QPoint(c->width() - 2, 1)) * scale;
        const QColor behind = shot.pixelColor(at);
        const double ratio = Ui::contrast(Ui::textColour(c), behind);
        QVERIFY2(ratio >= 4.5, qPrintable(QString("%1: %2 on %3, contrast %4")
                                              .arg(c->objectName(), Ui::textColour(c).name(), behind.name())
                                              .arg(ratio, 0, 'f', 2)));
    }
}

VELN_TEST(TstAppearance)
#include "tst_appearance.moc"
