#include "core/settings_store.h"
#include "fakes.h"
#include "member_files.h"
#include "session/session_file.h"
#include "test_home.h"
#include "test_main.h"
#include "ui/frm_ics309.h"
#include "ui/frm_main.h"
#include "ui/ui_style.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

// Session files and the end of a session, as the operator meets them.
class TstSessionWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void saveAsProposesTodaysName();
    void saveWritesOnlyChanges();
    void openReplacesRoster();
    void openAsksToSaveFirst_data();
    void openAsksToSaveFirst();
    void cancelledOpenKeepsRoster();
    void countDifferingFromLinesOpens();
    void savedSessionOpensAgain();
    void damagedFileLeavesRoster_data();
    void damagedFileLeavesRoster();
    void failedSaveKeepsRoster();
    void exitAsksToSaveFirst_data();
    void exitAsksToSaveFirst();
    void exitAnswers_data();
    void exitAnswers();
    void exitRefusesOverflowingTotals();
    void closeWithoutNetLabelsWritesNothing();
    void temporaryFolderKeptAfterUpdate_data();
    void temporaryFolderKeptAfterUpdate();
    void errorHandlerAnswers_data();
    void errorHandlerAnswers();
    void checkOutGreysLineAndExports();
    void netComesBackAfterACrash_data();
    void netComesBackAfterACrash();

private:
    std::unique_ptr<frmMain> open()
    {
        auto w = std::make_unique<frmMain>(fakes_->platform, state_, *settings_);
        w->setEndProgram([this] { ++endings_; });
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("window not exposed");
        return w;
    }
    void checkIn(frmMain& w, const QString& call)
    {
        w.TxtChkin->setText(call);
        w.txtChkin_KeyDown(13);
    }
    QString sessions() const { return state_.paths.sessionsFolder; }

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<FakePlatform> fakes_;
    std::unique_ptr<SettingsStore> settings_;
    ProgramState state_;
    int endings_ = 0;
};

void TstSessionWindow::init()
{
    home_ = std::make_unique<TestHome>();
    fakes_ = std::make_unique<FakePlatform>();
    fakes_->clock.current = QDateTime(QDate(2026, 3, 4), QTime(19, 30));
    state_ = ProgramState();
    state_.paths = Paths::forCurrentUser();
    state_.netControlName = "JO";
    state_.netControlCall = "K9XYZ";
    state_.netManagerName = "PAT";
    state_.netManagerCall = "W0VEL";
    settings_ = std::make_unique<SettingsStore>(state_.paths.settingsFile);
    writeMemberFile(home_->memberFile(), {{"W1AW", "HIRAM", "NEWINGTON, CT"}, {"K9XYZ", "JO", "PEORIA IL"}});
    endings_ = 0;
}

void TstSessionWindow::cleanup()
{
    settings_.reset();
    fakes_.reset();
    home_.reset();
}

void TstSessionWindow::saveAsProposesTodaysName()
{
    auto w = open();
    checkIn(*w, "W1AW");
    QVERIFY(!QDir(sessions()).exists());
    fakes_->prompts.files = {sessions() + "260304.txt"};
    w->mnuFileSave->trigger();  // no file yet: Save works as Save As
    QVERIFY(QDir(sessions()).exists());
    QCOMPARE(fakes_->prompts.fileDialogs.size(), 1);
    QCOMPARE(fakes_->prompts.fileDialogs[0], QStringList({"save", sessions() + "260304", "Text files (*.txt)|*.txt"}));
    QVERIFY(!w->roster().sessionChanged());
    QCOMPARE(readBytes(sessions() + "260304.txt"),
             QByteArray("2\r\n0\r\n3/4/2026\r\n K9XYZ JO PEORIA IL\r\n W1AW HIRAM NEWINGTON, CT\r\n"));
    QCOMPARE(w->sessionFileName(), sessions() + "260304.txt");
    // Cancelling the dialog writes nothing and keeps the file name.
    w->mnuFileSaveAs->trigger();
    QCOMPARE(w->sessionFileName(), sessions() + "260304.txt");
    // The proposed name taken as it stands is saved as a text file, so Open finds it.
    fakes_->prompts.files = {sessions() + "260304b"};
    w->mnuFileSaveAs->trigger();
    QVERIFY(QFile::exists(sessions() + "260304b.txt"));
    QCOMPARE(w->sessionFileName(), sessions() + "260304b.txt");
}

void TstSessionWindow::saveWritesOnlyChanges()
{
    auto w = open();
    fakes_->prompts.files = {sessions() + "a.txt"};
    w->mnuFileSaveAs->trigger();
    const QString path = sessions() + "a.txt";
    QCOMPARE(readBytes(path), QByteArray("1\r\n0\r\n3/4/2026\r\n K9XYZ JO PEORIA IL\r\n"));
    QFile::remove(path);
    w->mnuFileSave->trigger();  // nothing changed since: nothing written
    QVERIFY(!QFile::exists(path));
    QTest::mouseClick(w->lblTraffic, Qt::LeftButton);
    checkIn(*w, "W1AW");
    w->mnuFileSave->trigger();
    QCOMPARE(readBytes(path), QByteArray("2\r\n 1\r\n3/4/2026\r\n K9XYZ JO PEORIA IL\r\n W1AW HIRAM NEWINGTON, CT\r\n"));
}

void TstSessionWindow::openReplacesRoster()
{
    QDir().mkpath(sessions());
    writeBytes(sessions() + "old.txt", "3\r\n 5\r\n2/1/2026\r\n W1AW HIRAM NEWINGTON, CT\r\n N0BODY X Y\r\n K9XYZ JO PEORIA IL\r\n");
    auto w = open();
    fakes_->prompts.files = {sessions() + "old.txt"};
    QVERIFY(!w->session().changed());  // the net control alone is nothing to save
    w->mnuFileOpen->trigger();
    QCOMPARE(fakes_->prompts.fileDialogs.last(),
             QStringList({"open", sessions(), "Text files (*.txt)|*.txt|All files (*)|*"}));
    QCOMPARE(w->lst1->count(), 3);
    QCOMPARE(w->lst1->item(0)->text(), QString(" W1AW HIRAM NEWINGTON, CT"));
    QCOMPARE(w->lblChkins->text(), QString("3"));
    QCOMPARE(w->lblTraffic->text(), QString("5"));  // leading blanks are not read back
    QCOMPARE(w->windowTitle(), frmMain::kDesignCaption + "  2/1/2026");
    QCOMPARE(w->Label4->text(), QString("ALT NET CONTROL"));
    QCOMPARE(w->lblNetCtl->text(), QString("HIRAM  W1AW"));
    QCOMPARE(w->roster().slotAt(1), 1);
    QCOMPARE(w->roster().slotAt(2), 0);  // no member: no slot
    QCOMPARE(w->roster().slotAt(3), 2);
    QVERIFY(!w->roster().sessionChanged());
    // Stations in the opened roster are not listed twice.
    checkIn(*w, "K9XYZ");
    QCOMPARE(w->lblStatus->text(), QString("\r\nDUPLICATE"));
    // Traffic counts on from the opened value.
    QTest::mouseClick(w->lblTraffic, Qt::LeftButton);
    QCOMPARE(w->lblTraffic->text(), QString(" 6"));
}

void TstSessionWindow::openAsksToSaveFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("opened");
    QTest::newRow("cancel") << int(Prompts::Answer::Cancel) << false;
    QTest::newRow("no") << int(Prompts::Answer::No) << true;
    QTest::newRow("yes, saved") << int(Prompts::Answer::Yes) << true;
}

void TstSessionWindow::openAsksToSaveFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, opened);
    QDir().mkpath(sessions());
    writeBytes(sessions() + "old.txt", "1\r\n0\r\n2/1/2026\r\n K9XYZ JO PEORIA IL\r\n");
    auto w = open();
    checkIn(*w, "W1AW");
    fakes_->prompts.answers = {Prompts::Answer(answer)};
    if (answer == int(Prompts::Answer::Yes))
        fakes_->prompts.files = {sessions() + "saved.txt", sessions() + "old.txt"};
    else
        fakes_->prompts.files = {sessions() + "old.txt"};
    w->mnuFileOpen->trigger();
    const auto& asked = fakes_->prompts.shown.first();
    QCOMPARE(asked.text, QString("Do you want to Save the Session?"));
    QCOMPARE(asked.title, QString("Session"));
    QCOMPARE(asked.defaultAnswer, Prompts::Answer::Cancel);
    QCOMPARE(w->lst1->count(), opened ? 1 : 2);
    QCOMPARE(QFile::exists(sessions() + "saved.txt"), answer == int(Prompts::Answer::Yes));
    QCOMPARE(w->Label4->text(), QString("NET CONTROL"));  // the net control opened the session
}

void TstSessionWindow::cancelledOpenKeepsRoster()
{
    auto w = open();
    checkIn(*w, "W1AW");
    QDir().mkpath(sessions());
    fakes_->prompts.files = {sessions() + "kept.txt"};
    w->mnuFileSaveAs->trigger();
    w->mnuFileOpen->trigger();  // the dialog is cancelled
    QCOMPARE(w->lst1->count(), 2);
    QCOMPARE(w->lblChkins->text(), QString("2"));
}

void TstSessionWindow::countDifferingFromLinesOpens()
{
    QDir().mkpath(sessions());
    writeBytes(sessions() + "short.txt", "4\r\n0\r\n2/1/2026\r\n K9XYZ JO PEORIA IL\r\n W1AW HIRAM CT\r\n");
    auto w = open();
    fakes_->prompts.files = {sessions() + "short.txt"};
    w->mnuFileOpen->trigger();
    QCOMPARE(w->lst1->count(), 2);
    QCOMPARE(w->lblChkins->text(), QString("4"));
    QVERIFY(fakes_->prompts.shown.isEmpty());
    QCOMPARE(endings_, 0);
}

void TstSessionWindow::savedSessionOpensAgain()
{
    // A QTH ending in "-" is left out of the file, the count is not.
    writeMemberFile(home_->memberFile(),
                    {{"W1AW", "HIRAM", "NEWINGTON, CT"}, {"K9XYZ", "JO", "PEORIA IL"}, {"N2AB", "LEE", "TROY NY -"}});
    auto w = open();
    checkIn(*w, "N2AB");
    checkIn(*w, "W1AW");
    fakes_->prompts.files = {sessions() + "net", sessions() + "net.txt"};
    w->mnuFileSaveAs->trigger();
    checkIn(*w, "ZZ9");  // an unknown call changes nothing to save
    fakes_->prompts.answers = {Prompts::Answer::No};
    w->mnuFileOpen->trigger();
    QVERIFY(fakes_->prompts.shown.isEmpty());
    QCOMPARE(w->lblChkins->text(), QString("3"));
    QCOMPARE(w->lst1->count(), 2);
    QCOMPARE(w->lst1->item(1)->text(), QString(" W1AW HIRAM NEWINGTON, CT"));
}

void TstSessionWindow::damagedFileLeavesRoster_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("why");
    QTest::newRow("empty") << QByteArray() << "first three lines";
    QTest::newRow("short") << QByteArray("1\r\n0\r\n") << "first three lines";
    QTest::newRow("binary") << QByteArray("\x7f" "ELF\x02\x01\x01\x00\x00\x00", 10) << "control characters";
    QTest::newRow("foreign") << QByteArray("Minutes of the club meeting\r\nPresent: 12\r\nApologies: 2\r\n")
                             << "number from 0 to 32767";
    QTest::newRow("counter too big") << QByteArray("70000\r\n0\r\n1/2/2026\r\n W1AW A B\r\n") << "number from 0 to 32767";
}

void TstSessionWindow::damagedFileLeavesRoster()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    QDir().mkpath(sessions());
    writeBytes(sessions() + "bad", bytes);
    auto w = open();
    checkIn(*w, "W1AW");
    QTest::mouseClick(w->lblTraffic, Qt::LeftButton);
    fakes_->prompts.answers = {Prompts::Answer::No};
    fakes_->prompts.files = {sessions() + "bad"};
    w->mnuFileOpen->trigger();
    QCOMPARE(fakes_->prompts.shown.size(), 2);  // the save question, then why
    QVERIFY2(fakes_->prompts.shown[1].text.contains(why), qPrintable(fakes_->prompts.shown[1].text));
    QVERIFY(fakes_->prompts.shown[1].text.contains(sessions() + "bad"));
    QCOMPARE(endings_, 0);
    QCOMPARE(w->lst1->count(), 2);
    QCOMPARE(w->lblChkins->text(), QString("2"));
    QCOMPARE(w->lblTraffic->text(), QString(" 1"));
    QVERIFY(w->sessionFileName().isEmpty());  // a later Save never writes over it
}

void TstSessionWindow::failedSaveKeepsRoster()
{
    auto w = open();
    checkIn(*w, "W1AW");
    const QString gone = home_->path() + "/gone/260304.txt";
    fakes_->prompts.files = {gone};
    w->mnuFileSaveAs->trigger();
    QCOMPARE(endings_, 0);
    QCOMPARE(fakes_->prompts.shown.size(), 1);
    QCOMPARE(fakes_->prompts.shown[0].icon, Prompts::Icon::Critical);
    QVERIFY(fakes_->prompts.shown[0].text.contains(gone));
    QVERIFY(w->SaveFailed());
    QVERIFY(w->roster().sessionChanged());
    QCOMPARE(w->lst1->count(), 2);
    // Elsewhere it is saved.
    fakes_->prompts.files = {sessions() + "260304.txt"};
    w->mnuFileSaveAs->trigger();
    QVERIFY(QFile::exists(sessions() + "260304.txt"));
    QVERIFY(!w->SaveFailed());
    QVERIFY(!w->roster().sessionChanged());
}

void TstSessionWindow::exitAsksToSaveFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    QTest::newRow("cancel stays") << int(Prompts::Answer::Cancel) << false << false;
    QTest::newRow("no leaves unsaved") << int(Prompts::Answer::No) << true << false;
    QTest::newRow("yes saves") << int(Prompts::Answer::Yes) << true << true;
}

void TstSessionWindow::exitAsksToSaveFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    auto w = open();
    checkIn(*w, "W1AW");
    fakes_->prompts.answers = {Prompts::Answer(answer), Prompts::Answer::No};
    fakes_->prompts.files = {sessions() + "260304.txt"};
    QTest::mouseClick(w->CmdExit, Qt::LeftButton);
    QCOMPARE(fakes_->prompts.shown[0].text, QString("Do you want to Save the Session?"));
    QCOMPARE(fakes_->prompts.shown[0].defaultAnswer, Prompts::Answer::Cancel);
    QCOMPARE(!w->isVisible(), closed);
    QCOMPARE(QFile::exists(sessions() + "260304.txt"), saved);
    QCOMPARE(fakes_->prompts.shown.size(), closed ? 2 : 1);  // then the report question
    if (!closed) {
        // The window's close box asks the same.
        fakes_->prompts.answers = {Prompts::Answer::Cancel};
        w->close();
        QVERIFY(w->isVisible());
    }
}

void TstSessionWindow::exitAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("checkins");
    QTest::addColumn<bool>("closeBox");  // the window's close box instead of "73"
    QTest::newRow("cancel") << int(Prompts::Answer::Cancel) << false << "" << false;
    QTest::newRow("no") << int(Prompts::Answer::No) << true << "10" << false;
    QTest::newRow("yes") << int(Prompts::Answer::Yes) << true << "12" << false;
    QTest::newRow("close box, cancel") << int(Prompts::Answer::Cancel) << false << "" << true;
    QTest::newRow("close box, yes") << int(Prompts::Answer::Yes) << true << "12" << true;
}

void TstSessionWindow::exitAnswers()
{
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(QString, checkins);
    QFETCH(bool, closeBox);
    settings_->SaveSetting("First", "Firstime", "FALSE");
    settings_->SaveSetting("Report", "Sessions", "3");
    settings_->SaveSetting("Report", "Checkins", "10");
    settings_->SaveSetting("Report", "Traffic", "4");
    auto w = open();
    checkIn(*w, "W1AW");
    QTest::mouseClick(w->lblTraffic, Qt::LeftButton);
    fakes_->prompts.answers = {Prompts::Answer::No, Prompts::Answer(answer)};  // not saved, then the report
    if (closeBox)
        w->close();
    else
        QTest::mouseClick(w->CmdExit, Qt::LeftButton);
    const auto& asked = fakes_->prompts.shown.last();
    QCOMPARE(asked.text, QString("Do you want to save this Session's data to the monthly report?"));
    QCOMPARE(asked.title, QString("SAVE SESSION"));
    QCOMPARE(asked.defaultAnswer, Prompts::Answer::Cancel);
    QCOMPARE(!w->isVisible(), closed);
    if (!closed) {
        QCOMPARE(settings_->GetSetting("Screen", "Font"), QString());
        return;
    }
    QCOMPARE(settings_->GetSetting("Report", "Checkins"), checkins);
    QCOMPARE(settings_->GetSetting("Report", "Sessions"), answer == int(Prompts::Answer::Yes) ? QString("4") : QString("3"));
    QCOMPARE(settings_->GetSetting("Report", "Traffic"), answer == int(Prompts::Answer::Yes) ? QString("5") : QString("4"));
    // The closing routine kept the appearance.
    QCOMPARE(settings_->GetSetting("Screen", "Font"), QString("Arial"));
    QCOMPARE(settings_->GetSetting("Form", "Size"), SettingValue::fromSize(float(w->Label1->font().pointSizeF())));
    QCOMPARE(settings_->GetSetting("FormData", "FontColor"), QString("16711680"));  // blue
    QCOMPARE(settings_->GetSetting("Form", "LineColor"), QString("0"));
    QVERIFY(!fakes_->keyboard.caps);
}

void TstSessionWindow::exitRefusesOverflowingTotals()
{
    settings_->SaveSetting("First", "Firstime", "FALSE");
    settings_->SaveSetting("Report", "Checkins", "32767");
    auto w = open();
    fakes_->prompts.answers = {Prompts::Answer::Yes};
    w->mnuFileExit->trigger();
    QCOMPARE(settings_->GetSetting("Report", "Checkins"), QString("32767"));
    QCOMPARE(settings_->GetSetting("Report", "Sessions"), QString());
    QVERIFY(!fakes_->prompts.shown.last().text.isEmpty());
    QCOMPARE(fakes_->prompts.shown.last().icon, Prompts::Icon::Exclamation);
}

void TstSessionWindow::closeWithoutNetLabelsWritesNothing()
{
    state_.netManagerName.clear();
    state_.netManagerCall.clear();
    auto w = open();
    fakes_->prompts.answers = {Prompts::Answer::No};
    w->CmdExit_Click();
    QVERIFY(!w->isVisible());
    QCOMPARE(settings_->GetSetting("Screen", "Font"), QString());
    QCOMPARE(settings_->GetSetting("First", "Firstime"), QString());
    QVERIFY(!fakes_->keyboard.caps);  // given back on every way out
}

void TstSessionWindow::temporaryFolderKeptAfterUpdate_data()
{
    QTest::addColumn<bool>("updated");
    QTest::newRow("no update") << false;
    QTest::newRow("update parked") << true;
}

void TstSessionWindow::temporaryFolderKeptAfterUpdate()
{
    QFETCH(bool, updated);
    QDir().mkpath(state_.paths.tempFolder);
    writeBytes(state_.paths.tempFolder + "/VelnVerUpdate.exe", "parked");  // the program's own
    state_.updateDownloaded = updated;
    auto w = open();
    fakes_->prompts.answers = {Prompts::Answer::No};
    w->CmdExit_Click();
    QCOMPARE(QDir(state_.paths.tempFolder).exists(), updated);
    QCOMPARE(settings_->GetSetting("First", "Firstime"), QString("FALSE"));
}

void TstSessionWindow::errorHandlerAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("cancel") << int(Prompts::Answer::Cancel);
    QTest::newRow("no") << int(Prompts::Answer::No);
    QTest::newRow("yes") << int(Prompts::Answer::Yes);
}

void TstSessionWindow::errorHandlerAnswers()
{
    QFETCH(int, answer);
    auto w = open();
    fakes_->prompts.answers = {Prompts::Answer(answer)};
    w->ErrorHandler("Disk full");
    QCOMPARE(fakes_->prompts.shown[0].text, QString("Disk full"));
    QCOMPARE(fakes_->prompts.shown[0].icon, Prompts::Icon::Critical);
    QCOMPARE(fakes_->prompts.shown[0].title, Prompts::kProgramTitle);
    QCOMPARE(fakes_->prompts.shown[1].title, Prompts::kProgramTitle);
    QCOMPARE(endings_, answer == int(Prompts::Answer::Cancel) ? 0 : 1);
    QCOMPARE(w->ended(), answer != int(Prompts::Answer::Cancel));
    const bool yes = answer == int(Prompts::Answer::Yes);
    QCOMPARE(settings_->GetSetting("Report", "Sessions"), yes ? QString("1") : QString());
    QCOMPARE(settings_->GetSetting("Screen", "Font"), yes ? QString("Arial") : QString());
    // The narrower key set of this path.
    QCOMPARE(settings_->GetSetting("FormData", "Font"), QString());
    QCOMPARE(settings_->GetSetting("Form", "LineColor"), QString());
    QCOMPARE(settings_->GetSetting("First", "Firstime"), QString());
    // Closing after an ended program runs no closing routine.
    fakes_->prompts.answers = {Prompts::Answer::No};
    w->close();
    QCOMPARE(settings_->GetSetting("First", "Firstime"), answer == int(Prompts::Answer::Cancel) ? QString("FALSE") : QString());
}

void TstSessionWindow::checkOutGreysLineAndExports()
{
    fakes_->clock.current = QDateTime(QDate(2026, 3, 4), QTime(19, 31), Qt::UTC);
    auto w = open();  // the net control checks in on line 1
    fakes_->clock.current = QDateTime(QDate(2026, 3, 4), QTime(19, 42), Qt::UTC);
    checkIn(*w, "W1AW");
    QListWidgetItem* line = w->lst1->item(1);
    QCOMPARE(line->toolTip(), QString("in 19:42Z"));
    const QBrush normal = line->foreground();
    w->lst1->setCurrentRow(1);
    fakes_->clock.current = QDateTime(QDate(2026, 3, 4), QTime(20, 15), Qt::UTC);
    QVERIFY(w->mnuEdit->actions().contains(w->mnuEditCheckOut));
    w->mnuEditCheckOut->trigger();
    QCOMPARE(w->lst1->item(1)->text(), QString(" W1AW HIRAM NEWINGTON, CT"));  // keeps its place
    // Fainter and slanted, and still readable on the list's colour.
    QVERIFY(line->foreground().color() != normal.color());
    QVERIFY(line->font().italic());
    QVERIFY(Ui::contrast(line->foreground().color(), Ui::background(w->lst1)) >= 4.5);
    QCOMPARE(line->toolTip(), QString("in 19:42Z, out 20:15Z"));
    QCOMPARE(w->lblChkins->text(), QString("2"));
    QVERIFY(w->roster().sessionChanged());
    QCOMPARE(w->lst1->item(0)->toolTip(), QString("in 19:31Z"));
    QCOMPARE(w->lst1->item(0)->foreground(), normal);

    // Both exports through the menu: the filter chooses the format; the log
    // asks for its incident and net, typed with Caps Lock off.
    fakes_->prompts.files = {sessions() + "net", sessions() + "log"};
    fakes_->prompts.filterIndexes = {0, 1};
    w->mnuFileExport->trigger();
    QVERIFY(fakes_->keyboard.caps);
    bool capsWhileAsked = true;
    QTimer::singleShot(0, this, [&] {
        auto* d = qobject_cast<frmIcs309*>(QApplication::activeModalWidget());
        QVERIFY(d);
        capsWhileAsked = fakes_->keyboard.caps;
        d->txtIncident->setText("Winter Field Day");
        d->accept();
    });
    w->mnuFileExport->trigger();
    QVERIFY(!capsWhileAsked);
    QVERIFY(fakes_->keyboard.caps);
    QCOMPARE(settings_->GetSetting("ICS309", "IncidentName"), QString("Winter Field Day"));
    QCOMPARE(fakes_->prompts.fileDialogs.first().at(1), sessions() + "260304");
    QCOMPARE(readBytes(sessions() + "net.csv"),
             QByteArray("\xEF\xBB\xBF" "call,name,QTH,member,in UTC,out UTC\r\n"
                        "K9XYZ,JO,PEORIA IL,yes,2026-03-04T19:31:00Z,\r\n"
                        "W1AW,HIRAM,\"NEWINGTON, CT\",yes,2026-03-04T19:42:00Z,2026-03-04T20:15:00Z\r\n"));
    QVERIFY(readBytes(sessions() + "log.pdf").startsWith("%PDF"));
    QVERIFY(fakes_->prompts.shown.isEmpty());

    // Check Out again brings the station back.
    w->lst1->setCurrentRow(1);
    w->mnuEditCheckOut->trigger();
    QCOMPARE(line->foreground(), normal);
    QCOMPARE(line->toolTip(), QString("in 19:42Z"));
}

void TstSessionWindow::netComesBackAfterACrash_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes, the default") << true;
    QTest::newRow("no: kept as a file") << false;
}

void TstSessionWindow::netComesBackAfterACrash()
{
    QFETCH(bool, yes);
    QStringList shown;
    {
        auto w = open();
        checkIn(*w, "W1AW");
        QTest::mouseClick(w->lblTraffic, Qt::LeftButton);
        for (int i = 0; i < w->lst1->count(); ++i)
            shown << w->lst1->item(i)->text();
        // The window goes without its normal end, as in a crash.
        w.reset();
    }
    fakes_->prompts.shown.clear();
    fakes_->prompts.answers = {yes ? Prompts::Answer::Yes : Prompts::Answer::No};
    auto w = open();
    QCOMPARE(fakes_->prompts.shown.first().title, QString("RESTORE NET"));
    QCOMPARE(fakes_->prompts.shown.first().defaultAnswer, Prompts::Answer::Yes);
    QVERIFY(fakes_->prompts.shown.first().text.contains("2 check-ins"));
    QStringList now;
    for (int i = 0; i < w->lst1->count(); ++i)
        now << w->lst1->item(i)->text();
    if (yes) {
        QCOMPARE(now, shown);
        QCOMPARE(w->lblTraffic->text(), QString(" 1"));
        QVERIFY(w->session().changed());
    } else {
        const QString file = sessions() + SessionFile::DefaultFileName(fakes_->clock.today()) + "-recovered.txt";
        QVERIFY(fakes_->prompts.shown.at(1).text.contains(QDir::toNativeSeparators(file)));
        QVERIFY(readBytes(file).contains(shown.last().toLatin1()));
        QCOMPARE(now.size(), 1);  // a new net: the net control alone
    }
}

VELN_TEST(TstSessionWindow)
#include "tst_session_window.moc"
