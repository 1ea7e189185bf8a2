#include "core/paths.h"
#include "core/settings_store.h"
#include "fake_http.h"
#include "fakes.h"
#include "full_disk.h"
#include "http_test_server.h"
#include "platform/qt_http_client.h"
#include "startup/update_checker.h"
#include "test_home.h"
#include "test_main.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>

namespace {
const QString kBase = "http://update.test";
const QString kVersion = kBase + "/updates/VelnVersion.txt";
const QString kBuild = kBase + "/updates/Velnbuild.txt";
const QString kVerZip = kBase + "/files/VelnVerUpdate.zip";
const QString kBldZip = kBase + "/files/VelnBldUpdate.zip";
const QString kPreDate = kBase + "/updates/VelnPreambleDate.txt";
const QString kInstDate = kBase + "/updates/VelnInstDate.txt";
const QString kPreDoc = kBase + "/files/VelnPreamble.rtf";
const QString kInstDoc = kBase + "/files/VelnInst.rtf";
const QByteArray kNewPreamble = "{\\rtf1 new preamble}";
const QByteArray kNewInstructions = "{\\rtf1 new instructions}";

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void setDate(const QString& path, QDate date)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime(date, QTime(12, 0)), QFileDevice::FileModificationTime));
}
}  // namespace

class TstUpdateChecker : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void serverDate_data();
    void serverDate();
    void noServerNoCheck();
    void versionTest_data();
    void versionTest();
    void parkedVersionOnlyWarns();
    void buildDownloadGoesOnToDocuments();
    void unwritableArchiveIsNotAnnounced();
    void failureEndsSilently_data();
    void failureEndsSilently();
    void looksLikeRtf_data();
    void looksLikeRtf();
    void skippedCheckAsksNothing();
    void oldMailProgramDeleted();
    void firstDocuments();
    void firstDocumentsRetriedAfterFailure();
    void documentDates_data();
    void documentDates();
    void missingDocumentFetchedAgain();
    void badDocumentNeverReplacesGoodOne_data();
    void badDocumentNeverReplacesGoodOne();
    void cutTransferLeavesOldDocument();
    void documentOnFullDiskKeepsOldFile();
    void hostileServerIsBounded_data();
    void hostileServerIsBounded();

private:
    UpdateChecker::Result run();
    void serverWithNothingNew();
    void documentsUpToDate(QDate date);

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<SettingsStore> settings_;
    Paths paths_;
    QString program_;
    FakeHttpClient http_;
    FakePrompts prompts_;
    QStringList captions_;
};

void TstUpdateChecker::init()
{
    home_ = std::make_unique<TestHome>();
    settings_ = std::make_unique<SettingsStore>(home_->settingsFile());
    settings_->SaveSetting("Servers", "Update", kBase);
    paths_ = Paths::forCurrentUser();
    QVERIFY(!paths_.documentsFolder.isEmpty());
    program_ = home_->path() + "/bin/veln";
    QVERIFY(writeFile(program_, "program bytes"));
    http_ = FakeHttpClient();
    prompts_ = FakePrompts();
    captions_.clear();
}

void TstUpdateChecker::cleanup()
{
    settings_.reset();
    home_.reset();
}

UpdateChecker::Result TstUpdateChecker::run()
{
    UpdateChecker checker(http_, prompts_, *settings_, paths_, program_);
    checker.onCaption = [this](const QString& c) { captions_.append(c); };
    return checker.run();
}

void TstUpdateChecker::serverWithNothingNew()
{
    http_.set(kVersion, "1");
    http_.set(kBuild, "1");
}

// Documents fetched before and stamped with the given date; the server's dates are the same.
void TstUpdateChecker::documentsUpToDate(QDate date)
{
    settings_->SaveSetting("Settings", "FileUpdate", "True");
    for (const char* name : {"VelnPreamble.rtf", "VelnInst.rtf"}) {
        QVERIFY(writeFile(paths_.documentsFolder + name, "{\\rtf1 old}"));
        setDate(paths_.documentsFolder + name, date);
    }
    const QByteArray text = date.toString("MM/dd/yy").toLatin1();
    http_.set(kPreDate, text);
    http_.set(kInstDate, text);
    http_.set(kPreDoc, kNewPreamble);
    http_.set(kInstDoc, kNewInstructions);
}

void TstUpdateChecker::serverDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("mm/dd/yy") << "12/08/26" << QDate(2026, 12, 8);
    QTest::newRow("m/d/yy") << "3/7/26\r\n" << QDate(2026, 3, 7);
    QTest::newRow("last century") << "12/31/99" << QDate(1999, 12, 31);
    QTest::newRow("four digits") << "12/08/2026" << QDate(2026, 12, 8);
    QTest::newRow("iso") << "2026-12-08" << QDate(2026, 12, 8);
    QTest::newRow("words") << "December 8, 2026" << QDate(2026, 12, 8);
    QTest::newRow("with time") << "12/08/2026 10:15:00 AM" << QDate(2026, 12, 8);
    QTest::newRow("blanks") << "  12/08/26  \n" << QDate(2026, 12, 8);
    QTest::newRow("not a date") << "soon" << QDate();
    QTest::newRow("impossible") << "02/30/26" << QDate();
    QTest::newRow("empty") << "" << QDate();
    QTest::newRow("html") << "<html><body>404</body></html>" << QDate();
}

void TstUpdateChecker::serverDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    const std::optional<QDate> got = ParseServerDate(text);
    QCOMPARE(got.value_or(QDate()), date);
}

void TstUpdateChecker::noServerNoCheck()
{
    settings_->DeleteSetting("Servers", "Update");
    QVERIFY(writeFile(paths_.oldMailProgram, "old"));
    const UpdateChecker::Result r = run();
    QVERIFY(!r.checked);
    QVERIFY(http_.requested.isEmpty());
    QVERIFY(prompts_.shown.isEmpty());
    QVERIFY(QFile::exists(paths_.oldMailProgram));
    QCOMPARE(settings_->GetSetting("Settings", "FileUpdate"), QString());
}

void TstUpdateChecker::versionTest_data()
{
    QTest::addColumn<QByteArray>("remote");
    QTest::addColumn<bool>("download");
    QTest::newRow("same") << QByteArray("1") << false;
    QTest::newRow("older") << QByteArray("0.9") << false;
    QTest::newRow("half newer") << QByteArray("1.5") << true;
    QTest::newRow("newer with line end") << QByteArray("2\r\n") << true;
    QTest::newRow("leading blanks") << QByteArray("  3 is out") << true;
    QTest::newRow("not a number") << QByteArray("v2") << false;
    QTest::newRow("empty") << QByteArray("") << false;
    // Beyond single precision the numbers are equal.
    QTest::newRow("single precision") << QByteArray("1.00000001") << false;
}

void TstUpdateChecker::versionTest()
{
    QFETCH(QByteArray, remote);
    QFETCH(bool, download);
    documentsUpToDate(QDate(2026, 1, 1));
    http_.set(kVersion, remote);
    http_.set(kBuild, "1");
    http_.set(kVerZip, "PK archive");
    UpdateChecker checker(http_, prompts_, *settings_, paths_, program_);
    const UpdateChecker::Result r = run();
    QVERIFY(r.checked);
    QVERIFY2(r.stoppedBy.isEmpty(), qPrintable(r.stoppedBy));
    QCOMPARE(r.updateDownloaded, download);
    QCOMPARE(http_.count(kVerZip), download ? 1 : 0);
    if (!download) {
        QVERIFY(prompts_.shown.isEmpty());
        QVERIFY(http_.count(kBuild) == 1);
        QVERIFY(!QFile::exists(checker.parkedVersion()));
        return;
    }
    QCOMPARE(captions_, QStringList{"DOWNLOADING NEW VERSION"});
    QCOMPARE(prompts_.shown.size(), 1);
    QCOMPARE(prompts_.shown.first().text,
             "A NEWER VERSION HAS BEEN DOWNLOADED TO " + QDir::toNativeSeparators(paths_.tempFolder));
    QCOMPARE(prompts_.shown.first().buttons, Prompts::Buttons::Ok);
    QCOMPARE(readFile(checker.parkedVersion()), QByteArray("PK archive"));
    QVERIFY(!QFile::exists(paths_.versionUpdateZip));
    QCOMPARE(readFile(paths_.fileBackupFolder + "/veln"), QByteArray("program bytes"));
    // A new version ends the check: no build test, no documents.
    QCOMPARE(http_.requested, (QStringList{kVersion, kVerZip}));
}

void TstUpdateChecker::parkedVersionOnlyWarns()
{
    documentsUpToDate(QDate(2026, 1, 1));
    UpdateChecker checker(http_, prompts_, *settings_, paths_, program_);
    QVERIFY(writeFile(checker.parkedVersion(), "waiting"));
    http_.set(kVersion, "2");
    http_.set(kBuild, "1");
    const UpdateChecker::Result r = run();
    QVERIFY(!r.updateDownloaded);
    QCOMPARE(prompts_.shown.size(), 1);
    QCOMPARE(prompts_.shown.first().text, QString("A NEW VERSION HAS BEEN DOWNLOADED BUT NOT INSTALLED!"));
    QCOMPARE(http_.count(kVerZip), 0);
    QCOMPARE(http_.count(kBuild), 1);
    QCOMPARE(http_.count(kPreDate), 1);
    QCOMPARE(readFile(checker.parkedVersion()), QByteArray("waiting"));
    QVERIFY(!QDir(paths_.fileBackupFolder).exists());
}

void TstUpdateChecker::buildDownloadGoesOnToDocuments()
{
    http_.set(kVersion, "1");
    http_.set(kBuild, "7");
    http_.set(kBldZip, "PK build");
    http_.set(kInstDoc, kNewInstructions);
    http_.set(kPreDoc, kNewPreamble);
    UpdateChecker checker(http_, prompts_, *settings_, paths_, program_);
    const UpdateChecker::Result r = run();
    QVERIFY2(r.stoppedBy.isEmpty(), qPrintable(r.stoppedBy));
    QVERIFY(r.updateDownloaded);
    QCOMPARE(captions_, QStringList{"DOWNLOADING NEW BUILD"});
    QCOMPARE(prompts_.shown.size(), 1);
    QCOMPARE(prompts_.shown.first().text,
             "A NEWER BUILD HAS BEEN  DOWNLOADED TO " + QDir::toNativeSeparators(paths_.tempFolder));
    QCOMPARE(readFile(checker.parkedBuild()), QByteArray("PK build"));
    QVERIFY(!QFile::exists(paths_.buildUpdateZip));
    QVERIFY(QFile::exists(paths_.fileBackupFolder + "/veln"));
    QCOMPARE(readFile(paths_.documentsFolder + "VelnInst.rtf"), kNewInstructions);
    QCOMPARE(readFile(paths_.documentsFolder + "VelnPreamble.rtf"), kNewPreamble);
}

void TstUpdateChecker::unwritableArchiveIsNotAnnounced()
{
    documentsUpToDate(QDate(2026, 1, 1));
    QVERIFY(QDir().mkpath(paths_.versionUpdateZip));  // a folder where the archive should go
    http_.set(kVersion, "2");
    http_.set(kBuild, "1");
    http_.set(kVerZip, "PK archive");
    UpdateChecker checker(http_, prompts_, *settings_, paths_, program_);
    const UpdateChecker::Result r = run();
    QVERIFY(!r.updateDownloaded);
    // Not announced as downloaded; the file that could not be written is named.
    QCOMPARE(prompts_.shown.size(), 1);
    QVERIFY2(prompts_.shown.first().text.contains(paths_.versionUpdateZip), qPrintable(prompts_.shown.first().text));
    QVERIFY(!QFile::exists(checker.parkedVersion()));
    QCOMPARE(http_.count(kBuild), 1);  // the check goes on with the build test
}

void TstUpdateChecker::failureEndsSilently_data()
{
    QTest::addColumn<QString>("failing");
    QTest::addColumn<int>("requests");
    QTest::newRow("version text") << kVersion << 1;
    QTest::newRow("version archive") << kVerZip << 2;
    QTest::newRow("build text") << kBuild << 2;
    QTest::newRow("preamble date") << kPreDate << 3;
    QTest::newRow("instructions date") << kInstDate << 4;
}

void TstUpdateChecker::failureEndsSilently()
{
    QFETCH(QString, failing);
    QFETCH(int, requests);
    documentsUpToDate(QDate(2026, 1, 1));
    http_.set(kPreDate, "12/08/26");  // newer than the local documents
    http_.set(kInstDate, "12/08/26");
    http_.set(kVersion, failing == kVerZip ? "2" : "1");
    http_.set(kBuild, "1");
    http_.set(failing, FakeHttpClient::Failure());
    const UpdateChecker::Result r = run();
    QVERIFY(!r.stoppedBy.isEmpty());
    QVERIFY(!r.updateDownloaded);
    QVERIFY(prompts_.shown.isEmpty());
    QCOMPARE(http_.requested.size(), requests);
    QCOMPARE(http_.requested.last(), failing);
    QCOMPARE(readFile(paths_.documentsFolder + "VelnPreamble.rtf"), QByteArray("{\\rtf1 old}"));
    QVERIFY(!QDir(paths_.fileBackupFolder).exists());
}

void TstUpdateChecker::oldMailProgramDeleted()
{
    serverWithNothingNew();
    documentsUpToDate(QDate(2026, 1, 1));
    QVERIFY(writeFile(paths_.oldMailProgram, "old"));
    run();
    QVERIFY(!QFile::exists(paths_.oldMailProgram));
    QVERIFY(QDir(QFileInfo(paths_.oldMailProgram).absolutePath()).exists());
}

void TstUpdateChecker::firstDocuments()
{
    serverWithNothingNew();
    http_.set(kInstDoc, kNewInstructions);
    http_.set(kPreDoc, kNewPreamble);
    QVERIFY(!QDir(paths_.documentsFolder).exists());
    const UpdateChecker::Result r = run();
    QVERIFY2(r.stoppedBy.isEmpty(), qPrintable(r.stoppedBy));
    QCOMPARE(http_.requested, (QStringList{kVersion, kBuild, kInstDoc, kPreDoc}));
    QCOMPARE(readFile(paths_.documentsFolder + "VelnInst.rtf"), kNewInstructions);
    QCOMPARE(readFile(paths_.documentsFolder + "VelnPreamble.rtf"), kNewPreamble);
    QCOMPARE(settings_->GetSetting("Settings", "FileUpdate"), QString("True"));
}

void TstUpdateChecker::firstDocumentsRetriedAfterFailure()
{
    serverWithNothingNew();
    http_.set(kInstDoc, kNewInstructions);
    http_.set(kPreDoc, FakeHttpClient::Failure());
    run();
    QCOMPARE(settings_->GetSetting("Settings", "FileUpdate"), QString());
    http_.set(kPreDoc, kNewPreamble);
    http_.requested.clear();
    run();
    QCOMPARE(http_.requested, (QStringList{kVersion, kBuild, kInstDoc, kPreDoc}));
    QCOMPARE(readFile(paths_.documentsFolder + "VelnPreamble.rtf"), kNewPreamble);
    QCOMPARE(settings_->GetSetting("Settings", "FileUpdate"), QString("True"));
}

void TstUpdateChecker::documentDates_data()
{
    QTest::addColumn<QString>("preambleDate");
    QTest::addColumn<QString>("instructionsDate");
    QTest::addColumn<bool>("preamble");
    QTest::addColumn<bool>("instructions");
    // Local files are dated 06/15/2026.
    QTest::newRow("same day") << "06/15/26" << "06/15/26" << false << false;
    QTest::newRow("one day later") << "06/16/26" << "06/15/26" << true << false;
    QTest::newRow("instructions later") << "06/15/26" << "07/01/2026" << false << true;
    QTest::newRow("both later") << "2027-01-01" << "01/01/27" << true << true;
    QTest::newRow("older") << "06/14/26" << "01/01/99" << false << false;
}

void TstUpdateChecker::documentDates()
{
    QFETCH(QString, preambleDate);
    QFETCH(QString, instructionsDate);
    QFETCH(bool, preamble);
    QFETCH(bool, instructions);
    serverWithNothingNew();
    documentsUpToDate(QDate(2026, 6, 15));
    http_.set(kPreDate, preambleDate.toLatin1());
    http_.set(kInstDate, instructionsDate.toLatin1());
    const UpdateChecker::Result r = run();
    QVERIFY2(r.stoppedBy.isEmpty(), qPrintable(r.stoppedBy));
    QCOMPARE(http_.count(kPreDoc), preamble ? 1 : 0);
    QCOMPARE(http_.count(kInstDoc), instructions ? 1 : 0);
    QCOMPARE(readFile(paths_.documentsFolder + "VelnPreamble.rtf"),
             preamble ? kNewPreamble : QByteArray("{\\rtf1 old}"));
    QCOMPARE(readFile(paths_.documentsFolder + "VelnInst.rtf"),
             instructions ? kNewInstructions : QByteArray("{\\rtf1 old}"));
}

void TstUpdateChecker::missingDocumentFetchedAgain()
{
    serverWithNothingNew();
    documentsUpToDate(QDate(2026, 6, 15));
    QVERIFY(QFile::remove(paths_.documentsFolder + "VelnPreamble.rtf"));
    const UpdateChecker::Result r = run();
    QVERIFY2(r.stoppedBy.isEmpty(), qPrintable(r.stoppedBy));
    QCOMPARE(readFile(paths_.documentsFolder + "VelnPreamble.rtf"), kNewPreamble);
    QCOMPARE(http_.count(kInstDoc), 0);
}

void TstUpdateChecker::badDocumentNeverReplacesGoodOne_data()
{
    QTest::addColumn<HttpResult>("reply");
    QTest::newRow("no reply") << FakeHttpClient::Failure();
    QTest::newRow("error page") << FakeHttpClient::Body("{\\rtf1 not here}", 404);
    QTest::newRow("empty") << FakeHttpClient::Body("");
    QTest::newRow("not rtf") << FakeHttpClient::Body("<html>maintenance</html>");
}

void TstUpdateChecker::badDocumentNeverReplacesGoodOne()
{
    QFETCH(HttpResult, reply);
    serverWithNothingNew();
    documentsUpToDate(QDate(2026, 6, 15));
    http_.set(kPreDate, "06/20/26");
    http_.set(kInstDate, "06/20/26");
    http_.set(kPreDoc, reply);
    const UpdateChecker::Result r = run();
    QVERIFY(!r.stoppedBy.isEmpty());
    QCOMPARE(readFile(paths_.documentsFolder + "VelnPreamble.rtf"), QByteArray("{\\rtf1 old}"));
    QCOMPARE(http_.count(kInstDoc), 0);
}

void TstUpdateChecker::cutTransferLeavesOldDocument()
{
    HttpTestServer server;
    server.reply("/updates/VelnVersion.txt", "1");
    server.reply("/updates/Velnbuild.txt", "1");
    server.reply("/updates/VelnPreambleDate.txt", "06/20/26");
    server.reply("/updates/VelnInstDate.txt", "06/20/26");
    server.closeMidBody("/files/VelnPreamble.rtf", "{\\rtf1 half of it", 5000);
    server.reply("/files/VelnInst.rtf", kNewInstructions);
    settings_->SaveSetting("Servers", "Update", server.base());
    documentsUpToDate(QDate(2026, 6, 15));
    QtHttpClient client;
    UpdateChecker checker(client, prompts_, *settings_, paths_, program_);
    const UpdateChecker::Result r = checker.run();
    QVERIFY(!r.stoppedBy.isEmpty());
    QCOMPARE(readFile(paths_.documentsFolder + "VelnPreamble.rtf"), QByteArray("{\\rtf1 old}"));
    QCOMPARE(QDir(paths_.documentsFolder).entryList(QDir::Files), (QStringList{"VelnInst.rtf", "VelnPreamble.rtf"}));
    QVERIFY(server.requestsFor("/files/VelnInst.rtf").isEmpty());
}

void TstUpdateChecker::documentOnFullDiskKeepsOldFile()
{
    FullDisk disk;
    REQUIRE_FULL_DISK(disk);
    serverWithNothingNew();
    documentsUpToDate(QDate(2026, 6, 15));
    paths_.documentsFolder = disk.folder() + "/";
    const QString preamble = paths_.documentsFolder + "VelnPreamble.rtf";
    QVERIFY(writeFile(preamble, "{\\rtf1 old}"));
    setDate(preamble, QDate(2026, 6, 15));
    http_.set(kPreDate, "06/20/26");
    http_.set(kPreDoc, "{\\rtf1 " + QByteArray(3000, 'n') + "}");
    disk.fill();
    const QString error = disk.attempt([&] {
        const UpdateChecker::Result r = run();
        return r.writeError + "|" + (prompts_.shown.isEmpty() ? QString() : prompts_.shown.first().text);
    });
    const QStringList told = error.split('|');
    QVERIFY2(told.first().contains(preamble), qPrintable("error: " + error));
    QCOMPARE(told.last(), told.first());  // said to the operator
    QCOMPARE(readFile(preamble), QByteArray("{\\rtf1 old}"));
}

void TstUpdateChecker::hostileServerIsBounded_data()
{
    QTest::addColumn<QString>("hostile");  // the path that misbehaves
    QTest::addColumn<bool>("drips");       // else: far too large
    QTest::newRow("huge version text") << "/updates/VelnVersion.txt" << false;
    QTest::newRow("huge date text") << "/updates/VelnPreambleDate.txt" << false;
    QTest::newRow("huge document") << "/files/VelnPreamble.rtf" << false;
    QTest::newRow("dripping version text") << "/updates/VelnVersion.txt" << true;
    QTest::newRow("dripping document") << "/files/VelnPreamble.rtf" << true;
}

void TstUpdateChecker::hostileServerIsBounded()
{
    QFETCH(QString, hostile);
    QFETCH(bool, drips);
    HttpTestServer server;
    server.reply("/updates/VelnVersion.txt", "1");
    server.reply("/updates/Velnbuild.txt", "1");
    server.reply("/updates/VelnPreambleDate.txt", "06/20/26");
    server.reply("/updates/VelnInstDate.txt", "06/20/26");
    server.reply("/files/VelnPreamble.rtf", kNewPreamble);
    server.reply("/files/VelnInst.rtf", kNewInstructions);
    if (drips)
        server.drip(hostile, 20);
    else  // no length declared: only counting what arrives stops it
        server.huge(hostile, 80 * 1024 * 1024, false);
    settings_->SaveSetting("Servers", "Update", server.base());
    documentsUpToDate(QDate(2026, 6, 15));
    QtHttpClient client;
    UpdateChecker checker(client, prompts_, *settings_, paths_, program_);
    // A dripping server is cut off by the bound on the whole check; a huge
    // reply by its size cap long before that.
    if (drips)
        checker.budgetMs = 800;
    const UpdateChecker::Result r = checker.run();
    QVERIFY2(r.stoppedBy.contains(drips ? "ran out of time" : "larger than")
                 || (drips && r.stoppedBy.contains("No complete reply")),
             qPrintable(r.stoppedBy));
    QCOMPARE(readFile(paths_.documentsFolder + "VelnPreamble.rtf"), QByteArray("{\\rtf1 old}"));
    QCOMPARE(QDir(paths_.documentsFolder).entryList(QDir::Files), (QStringList{"VelnInst.rtf", "VelnPreamble.rtf"}));
    QVERIFY(prompts_.shown.isEmpty());
}

void TstUpdateChecker::looksLikeRtf_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("rtf");
    QTest::newRow("plain") << QByteArray("{\\rtf1\\ansi x}") << true;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF{\\rtf1 x}") << true;
    QTest::newRow("blank lines first") << QByteArray("\r\n\r\n  {\\rtf1 x}") << true;
    QTest::newRow("mark and blank line") << QByteArray("\xEF\xBB\xBF\n{\\rtf1 x}") << true;
    QTest::newRow("web page") << QByteArray("<html><body>{\\rtf1</body>") << false;
    QTest::newRow("mark before a web page") << QByteArray("\xEF\xBB\xBF<html>") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TstUpdateChecker::looksLikeRtf()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, rtf);
    QCOMPARE(LooksLikeRtf(head), rtf);
}

void TstUpdateChecker::skippedCheckAsksNothing()
{
    documentsUpToDate(QDate(2026, 1, 1));
    http_.set(kVersion, "2");
    http_.setCancelCheck([] { return true; });  // SKIP pressed
    const UpdateChecker::Result r = run();
    QVERIFY(!r.stoppedBy.isEmpty());
    QVERIFY(!r.updateDownloaded);
    QVERIFY(http_.requested.isEmpty());
    QVERIFY(prompts_.shown.isEmpty());
}

VELN_TEST(TstUpdateChecker)
#include "tst_update_checker.moc"
