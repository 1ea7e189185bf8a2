#include "core/paths.h"
#include "core/safe_write.h"
#include "member_files.h"
#include "core/text_number.h"
#include "test_home.h"
#include "test_main.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <memory>

class TstPaths : public QObject {
    Q_OBJECT
private slots:
    void init() { home_ = std::make_unique<TestHome>(); }
    void cleanup() { home_.reset(); }

    void trailingSeparator_data();
    void trailingSeparator();
    void foldersUnderTheHome();
    void documentsFolderOnAFreshAccount();
    void oldCallbookCacheMovedOnce_data();
    void oldCallbookCacheMovedOnce();
    void leadingNumber_data();
    void leadingNumber();
    void cleaningTouchesOnlyOwnFiles();

private:
    std::unique_ptr<TestHome> home_;
};

void TstPaths::trailingSeparator_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("plain") << "/a/b" << "/a/b/";
    QTest::newRow("slash") << "/a/b/" << "/a/b/";
    QTest::newRow("backslash") << "C:\\x\\" << "C:\\x\\";
    QTest::newRow("empty") << "" << "/";
}

void TstPaths::trailingSeparator()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(WithTrailingSeparator(in), out);
}

void TstPaths::foldersUnderTheHome()
{
    const Paths p = Paths::forCurrentUser();
    const QString root = home_->path() + "/VELN Net/";
    QCOMPARE(p.dataRoot, root);
    QCOMPARE(p.memberFile, root + "Version 1/Veln.dat");
    QCOMPARE(p.sessionsFolder, root + "Sessions/");
    QCOMPARE(p.tempFolder, root + "Temp");
    QCOMPARE(p.fileBackupFolder, root + "FileBackup");
    QCOMPARE(p.oldMailProgram, root + "Version 5/vbSendMail.exe");
    QCOMPARE(p.versionUpdateZip, root + "VelnVerUpdate.zip");
    QCOMPARE(p.buildUpdateZip, root + "VelnBldUpdate.zip");
    QCOMPARE(p.settingsFile, home_->settingsFile());
    QCOMPARE(p.documentsFolder, home_->path() + "/.local/share/Pellam Software/");
    QCOMPARE(p.callbookCache, home_->path() + "/.cache/VELN/callbook-cache.json");
    QCOMPARE(p.oldCallbookCache, root + "callbook-cache.json");
}

void TstPaths::documentsFolderOnAFreshAccount()
{
    QCOMPARE(Paths::documentsFolderFor(""), QString());
    QCOMPARE(Paths::documentsFolderFor(home_->path() + "/nowhere"), home_->path() + "/nowhere/Pellam Software/");
    QCOMPARE(Paths::documentsFolderFor(home_->path() + "/"), home_->path() + "/Pellam Software/");
    // No data folder yet: the documents still have their place, made at start.
    QDir(home_->path()).rmdir(".local/share");
    QVERIFY(Paths::forCurrentUser().documentsFolder.endsWith("/Pellam Software/"));
}

// Files given as their content; "-" for none; "blocked": a plain file where
// the cache folder should be.
void TstPaths::oldCallbookCacheMovedOnce_data()
{
    QTest::addColumn<QString>("oldBefore");
    QTest::addColumn<QString>("newBefore");
    QTest::addColumn<bool>("moved");
    QTest::addColumn<QString>("oldAfter");
    QTest::addColumn<QString>("newAfter");
    QTest::newRow("old place only") << "old" << "-" << true << "-" << "old";
    QTest::newRow("already moved") << "-" << "new" << true << "-" << "new";
    QTest::newRow("both: the new one wins") << "old" << "new" << true << "old" << "new";
    QTest::newRow("neither") << "-" << "-" << true << "-" << "-";
    QTest::newRow("cache folder blocked") << "old" << "blocked" << false << "old" << "-";
    QTest::newRow("blocked, nothing to move") << "-" << "blocked" << false << "-" << "-";
}

void TstPaths::oldCallbookCacheMovedOnce()
{
    QFETCH(QString, oldBefore);
    QFETCH(QString, newBefore);
    QFETCH(bool, moved);
    QFETCH(QString, oldAfter);
    QFETCH(QString, newAfter);
    const Paths p = Paths::forCurrentUser();
    const auto put = [](QString path, const QString& content) {
        if (content == "-")
            return;
        if (content == "blocked")
            path = QFileInfo(path).absolutePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content.toUtf8());
    };
    const auto got = [](const QString& path) -> QString {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString("-");
    };
    put(p.oldCallbookCache, oldBefore);
    put(p.callbookCache, newBefore);
    QCOMPARE(MoveOldCallbookCache(p), moved);
    QCOMPARE(got(p.oldCallbookCache), oldAfter);
    QCOMPARE(got(p.callbookCache), newAfter);
    // The cache can write its first answer.
    QCOMPARE(QFileInfo(QFileInfo(p.callbookCache).absolutePath()).isDir(), moved);
}

void TstPaths::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "12" << 12.0;
    QTest::newRow("sign blank") << " 7" << 7.0;
    QTest::newRow("negative") << "-3" << -3.0;
    QTest::newRow("trailing words") << "3 NEW MEMBERS" << 3.0;
    QTest::newRow("word first") << "ABC 3" << 0.0;
    QTest::newRow("fraction") << "2.5x" << 2.5;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("inner blanks") << "1 2" << 12.0;
}

void TstPaths::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(LeadingNumber(text), value);
}

// Exit empties the temporary folder and a start removes a killed write's
// leftovers: never through a link, never a file the program did not make.
void TstPaths::cleaningTouchesOnlyOwnFiles()
{
    const QString victim = home_->path() + "/victim";
    QVERIFY(QDir().mkpath(victim));
    writeBytes(victim + "/VelnVerUpdate.exe", "not ours");
    writeBytes(victim + "/thesis.txt", "not ours");
    const QString linked = home_->path() + "/linked Temp";
    QVERIFY(QFile::link(victim, linked));
    const QStringList names{"VelnVerUpdate.exe", "VelnBldUpdate.exe"};
    RemoveOwnFiles(linked, names);
    QVERIFY(QFileInfo(linked).isSymLink());
    QCOMPARE(QDir(victim).entryList(QDir::Files).size(), 2);

    const QString temp = home_->path() + "/Temp";
    QVERIFY(QDir().mkpath(temp));
    writeBytes(temp + "/VelnVerUpdate.exe", "parked");
    writeBytes(temp + "/VelnVerUpdate.exe.Ab12Cd", "half");
    writeBytes(temp + "/mine.txt", "the operator's");
    QVERIFY(QFile::link(victim + "/thesis.txt", temp + "/VelnBldUpdate.exe"));
    RemoveOwnFiles(temp, names);
    QCOMPARE(QDir(temp).entryList(QDir::Files | QDir::System), QStringList({"mine.txt", "VelnBldUpdate.exe"}));
    QCOMPARE(readBytes(victim + "/thesis.txt"), QByteArray("not ours"));
    QVERIFY(QFile::remove(temp + "/mine.txt") && QFile::remove(temp + "/VelnBldUpdate.exe"));
    RemoveOwnFiles(temp, names);
    QVERIFY(!QFileInfo::exists(temp));  // an empty folder goes

    const QString sessions = home_->path() + "/Sessions";
    QVERIFY(QDir().mkpath(sessions));
    for (const char* name : {"261209.txt", "261209.txt.Xy9AbC", "261209.txt.times.q1W2e3", "261209.txt.backup",
                             "notes.doc.Xy9AbC"})
        writeBytes(sessions + "/" + name, "x");
    QStringList removed = RemoveWriteLeftovers(sessions, {"*.txt", "*.times"});
    removed.sort();
    QCOMPARE(removed, QStringList({"261209.txt.Xy9AbC", "261209.txt.times.q1W2e3"}));
    QCOMPARE(QDir(sessions).entryList(QDir::Files).size(), 3);
}

VELN_TEST(TstPaths)
#include "tst_paths.moc"
