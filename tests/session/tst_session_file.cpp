#include "full_disk.h"
#include "member_files.h"
#include "session/session_file.h"
#include "session/session_times.h"
#include "test_home.h"
#include "test_main.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <memory>

class TstSessionFile : public QObject {
    Q_OBJECT
private slots:
    void init() { home_ = std::make_unique<TestHome>(); }
    void cleanup() { home_.reset(); }

    void defaultName_data();
    void defaultName();
    void compose_data();
    void compose();
    void roundTripKeepsCommas();
    void parse_data();
    void parse();
    void oversizedFilesAreRefusedUnread_data();
    void oversizedFilesAreRefusedUnread();
    void withExtension_data();
    void withExtension();
    void writeLeavesNoHalfFile();
    void writeOnFullDiskKeepsOldFile();
    void longLinesAreCut_data();
    void longLinesAreCut();

private:
    std::unique_ptr<TestHome> home_;
};

void TstSessionFile::defaultName_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("dateText");
    QTest::newRow("one-digit month and day") << QDate(2026, 3, 4) << "260304" << "3/4/2026";
    QTest::newRow("two digits") << QDate(2026, 12, 18) << "261218" << "12/18/2026";
    QTest::newRow("new century year") << QDate(2100, 1, 31) << "000131" << "1/31/2100";
}

void TstSessionFile::defaultName()
{
    QFETCH(QDate, date);
    QFETCH(QString, name);
    QFETCH(QString, dateText);
    QCOMPARE(SessionFile::DefaultFileName(date), name);
    QCOMPARE(SessionFile::DateText(date), dateText);
}

void TstSessionFile::compose_data()
{
    QTest::addColumn<QString>("checkins");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty session") << "0" << QStringList() << QByteArray("0\r\n 3\r\n12/8/2026\r\n");
    QTest::newRow("two lines") << "2" << QStringList({" W1AW HIRAM CT", " K9XYZ JO IL"})
                               << QByteArray("2\r\n 3\r\n12/8/2026\r\n W1AW HIRAM CT\r\n K9XYZ JO IL\r\n");
    QTest::newRow("dash line left out") << "2" << QStringList({" W1AW HIRAM -", " K9XYZ JO IL"})
                                        << QByteArray("2\r\n 3\r\n12/8/2026\r\n K9XYZ JO IL\r\n");
    QTest::newRow("counter below lines") << "1" << QStringList({" W1AW HIRAM CT", " K9XYZ JO IL"})
                                         << QByteArray("1\r\n 3\r\n12/8/2026\r\n W1AW HIRAM CT\r\n");
    QTest::newRow("latin-1") << "1" << QStringList({QString::fromUtf8(" W1AW JOSÉ MONTRÉAL")})
                             << QByteArray("1\r\n 3\r\n12/8/2026\r\n W1AW JOS\xC9 MONTR\xC9" "AL\r\n");
    QTest::newRow("control bytes of a member record") << "2" << QStringList({" W1AW HI\aRAM CT", " K9XYZ \x01JO\rIL\x7F"})
                                                       << QByteArray("2\r\n 3\r\n12/8/2026\r\n W1AW HI RAM CT\r\n K9XYZ  JO IL \r\n");
}

void TstSessionFile::compose()
{
    QFETCH(QString, checkins);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);
    QCOMPARE(SessionFile::Compose(checkins, " 3", "12/8/2026", lines), bytes);
    // What Save writes, Open reads.
    QVERIFY(SessionFile::Parse(bytes).ok);
}

void TstSessionFile::roundTripKeepsCommas()
{
    const QString path = home_->path() + "/Sessions/261208.txt";
    QDir().mkpath(home_->path() + "/Sessions");
    const QStringList lines{" W1AW HIRAM NEWINGTON, CT", " K9XYZ JO \"PEORIA\" IL", " N2AB LEE "};
    QString error;
    QVERIFY(SessionFile::Write(path, SessionFile::Compose("3", " 7", "12/8/2026", lines), &error));
    const SessionFile::ReadResult r = SessionFile::Read(path);
    QVERIFY(r.ok);
    QCOMPARE(r.contents.checkins, QString("3"));
    QCOMPARE(r.contents.traffic, QString("7"));
    QCOMPARE(r.contents.date, QString("12/8/2026"));
    QCOMPARE(r.contents.lines, lines);
}

void TstSessionFile::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("LF only") << QByteArray("1\n0\n1/2/2026\nW1AW HIRAM CT\n") << true << QStringList({" W1AW HIRAM CT"});
    QTest::newRow("no final line end") << QByteArray("1\r\n0\r\n1/2/2026\r\n W1AW A B") << true
                                       << QStringList({" W1AW A B"});
    // A saved roster leaves out lines ending in "-" but keeps the full count.
    QTest::newRow("fewer lines than counted") << QByteArray("3\r\n0\r\nd\r\n W1AW A\r\n K9XYZ B\r\n") << true
                                              << QStringList({" W1AW A", " K9XYZ B"});
    QTest::newRow("more lines than counted") << QByteArray("1\r\n0\r\nd\r\n W1AW A\r\n K9XYZ B\r\n") << true
                                             << QStringList({" W1AW A", " K9XYZ B"});
    QTest::newRow("blank lines skipped") << QByteArray("2\r\n 4\r\nd\r\n W1AW A\r\n\r\n   \r\n K9XYZ B\r\n") << true
                                         << QStringList({" W1AW A", " K9XYZ B"});
    QTest::newRow("largest counters") << QByteArray("32767\r\n32767\r\nd\r\n") << true << QStringList();
    QTest::newRow("non-numeric counter") << QByteArray("abc\r\n0\r\nd\r\n W1AW A\r\n") << false << QStringList();
    QTest::newRow("non-numeric traffic") << QByteArray("1\r\nlots\r\nd\r\n W1AW A\r\n") << false << QStringList();
    QTest::newRow("negative counter") << QByteArray("-4\r\n0\r\nd\r\n") << false << QStringList();
    QTest::newRow("counter past 32767") << QByteArray("32768\r\n0\r\nd\r\n") << false << QStringList();
    QTest::newRow("foreign text") << QByteArray("Dear Sir,\r\nthank you\r\nfor the letter\r\n") << false
                                  << QStringList();
    QTest::newRow("two lines only") << QByteArray("1\r\n0\r\n") << false << QStringList();
    QTest::newRow("empty file") << QByteArray() << false << QStringList();
    QTest::newRow("binary") << QByteArray("\x00\xff\x01", 3) << false << QStringList();
    QTest::newRow("binary after the counters") << QByteArray("1\r\n0\r\nd\r\n W1\x00\x01\r\n", 17) << false
                                               << QStringList();
    QTest::newRow("more stations than any net")
        << QByteArray("1\r\n0\r\nd\r\n") + QByteArray(" W1AW A\r\n").repeated(SessionFile::kMaxRosterLines + 1) << false
        << QStringList();
}

// A sparse file of 1 GB: refused by its size at once, never read.
void TstSessionFile::oversizedFilesAreRefusedUnread_data()
{
    QTest::addColumn<bool>("times");
    QTest::newRow("session file") << false;
    QTest::newRow("times file") << true;
}

void TstSessionFile::oversizedFilesAreRefusedUnread()
{
    QFETCH(bool, times);
    const QString path = home_->path() + "/261208.txt";
    {
        QFile f(times ? SessionTimes::PathFor(path) : path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(qint64(1) << 30));
    }
    QElapsedTimer timer;
    timer.start();
    const QString why = times ? SessionTimes::Read(path).damage : SessionFile::Read(path).error;
    QVERIFY(timer.elapsed() < 1000);
    QVERIFY2(why.contains(QString::number(qint64(1) << 30)), qPrintable(why));
}

void TstSessionFile::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(QStringList, lines);
    const SessionFile::ReadResult r = SessionFile::Parse(bytes);
    QCOMPARE(r.ok, ok);
    QCOMPARE(r.error.isEmpty(), ok);
    QCOMPARE(r.contents.lines, lines);
}

void TstSessionFile::withExtension_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("proposed name") << "/s/261208" << "/s/261208.txt";
    QTest::newRow("already .txt") << "/s/261208.txt" << "/s/261208.txt";
    QTest::newRow("other extension kept") << "/s/net.log" << "/s/net.log";
    QTest::newRow("dotted folder") << "/home/a.b/261208" << "/home/a.b/261208.txt";
}

void TstSessionFile::withExtension()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QCOMPARE(SessionFile::WithExtension(chosen), written);
}

void TstSessionFile::writeLeavesNoHalfFile()
{
    QString error;
    // A folder that does not exist cannot take the file; nothing is left behind.
    QVERIFY(!SessionFile::Write(home_->path() + "/missing/x.txt", "1\r\n", &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QDir(home_->path() + "/missing").exists());
    const StationRecord s = SessionFile::StationOfLine(" W1AW HIRAM CT");
    QCOMPARE(s.call, QString("W1AW"));
    QCOMPARE(s.name, QString("HIRAM"));
}

void TstSessionFile::writeOnFullDiskKeepsOldFile()
{
    FullDisk disk;
    REQUIRE_FULL_DISK(disk);
    const QString path = disk.folder() + "/261208.txt";
    const QByteArray old = SessionFile::Compose("2", " 0", "12/8/2026", {" W1AW HIRAM CT", " K9XYZ JO IL"});
    writeBytes(path, old);
    QStringList roster;
    for (int i = 0; i < 80; ++i)
        roster.append(QString(" N%1ABC SOMEBODY SOMEWHERE").arg(i));
    const QByteArray bigger = SessionFile::Compose("80", " 0", "12/8/2026", roster);
    disk.fill();
    const QString error = disk.attempt([&] {
        QString e;
        return SessionFile::Write(path, bigger, &e) ? QString() : e;
    });
    QVERIFY2(error.contains(path), qPrintable("error: " + error));
    QCOMPARE(readBytes(path), old);
}

void TstSessionFile::longLinesAreCut_data()
{
    QTest::addColumn<int>("longLine");  // 0-based line that is 50 MB long
    QTest::addColumn<bool>("opens");    // a counter that long is no counter: refused at once
    QTest::newRow("check-ins counter") << 0 << false;
    QTest::newRow("traffic counter") << 1 << false;
    QTest::newRow("date") << 2 << true;
    QTest::newRow("roster line") << 3 << true;
    QTest::newRow("last roster line, no line end") << 4 << true;
}

void TstSessionFile::longLinesAreCut()
{
    QFETCH(int, longLine);
    QFETCH(bool, opens);
    QList<QByteArray> lines{"2", " 3", "12/8/2026", " W1AW HIRAM CT", " K9XYZ JO IL"};
    lines[longLine] += QByteArray(50 * 1024 * 1024, longLine == 0 ? '1' : 'X');
    QByteArray bytes = lines.join("\r\n");
    if (longLine != 4)
        bytes += "\r\n";
    const SessionFile::ReadResult r = SessionFile::Parse(bytes);
    QCOMPARE(r.ok, opens);
    if (!opens) {
        QVERIFY(r.error.size() < 200);
        return;
    }
    QVERIFY(r.contents.checkins.size() <= 20);
    QVERIFY(r.contents.traffic.size() <= 20);
    QVERIFY(r.contents.date.size() <= 20);
    QVERIFY(r.contents.lines.size() >= 2);
    for (const QString& line : r.contents.lines)
        QVERIFY(line.size() <= 81);
    QCOMPARE(r.contents.lines.first().left(5), QString(" W1AW"));
    QCOMPARE(r.contents.lines.at(1).left(6), QString(" K9XYZ"));
}

VELN_TEST(TstSessionFile)
#include "tst_session_file.moc"
