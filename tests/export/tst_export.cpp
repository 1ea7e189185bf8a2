#include "core/settings_store.h"
#include "export/ics309.h"
#include "export/ics309_setting.h"
#include "export/net_export.h"
#include "export/net_log.h"
#include "fakes.h"
#include "member_files.h"
#include "session/net_session.h"
#include "test_home.h"
#include "test_main.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <memory>

// The net as CSV and as the ICS 309 log, from a session driven by steps.
class TstExport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void csv_data();
    void csv();
    void events_data();
    void events();
    void target_data();
    void target();
    void ics309Pdf_data();
    void ics309Pdf();
    void ics309Details_data();
    void ics309Details();

private:
    // "19:42Z W1AW" checks in, "20:15Z out 2" checks line 2 out, "20:16Z
    // traffic" counts a message, "open <bytes>" opens a session file,
    // "reopen" saves the session and opens it again, "reopen damaged" with
    // its times file damaged in between.
    void run(const QStringList& steps)
    {
        for (const QString& step : steps) {
            if (step.startsWith("reopen")) {
                const QString path = home_->path() + "/saved.txt";
                QVERIFY(session_->writeSession(path, QDate(2024, 3, 7)).ok);
                if (step.endsWith("damaged"))
                    writeBytes(path + ".times", "W1AW,\"2024-03-07");
                QVERIFY(session_->openSession(path, "W1AW").ok);
                continue;
            }
            if (step.startsWith("open ")) {
                const QString path = home_->path() + "/opened.txt";
                writeBytes(path, step.mid(5).toLatin1());
                QVERIFY(session_->openSession(path, "W1AW").ok);
                continue;
            }
            clock_.current = QDateTime::fromString("2024-03-07T" + step.section(' ', 0, 0), Qt::ISODate);
            const QString verb = step.section(' ', 1, 1);
            if (verb == "out")
                QVERIFY(session_->checkOut(step.section(' ', 2, 2).toInt()));
            else if (verb == "traffic")
                session_->trafficClicked(false);
            else
                session_->checkIn(verb);
        }
    }
    std::unique_ptr<TestHome> home_;
    std::unique_ptr<SettingsStore> settings_;
    FakeClock clock_;
    std::unique_ptr<NetSession> session_;
};

void TstExport::init()
{
    home_ = std::make_unique<TestHome>();
    settings_ = std::make_unique<SettingsStore>(home_->settingsFile());
    writeMemberFile(home_->memberFile(),
                    {{"W1AW", "HIRAM", "NEWINGTON, CT"}, {"K9XYZ", "JO", "PEORIA \"IL\""}, {"N2ABX", "LEE", "ALBANY"}});
    session_ = std::make_unique<NetSession>(*settings_, clock_);
    QVERIFY(session_->table().LoadMemberTable(home_->memberFile()));
}

void TstExport::cleanup()
{
    session_.reset();
    settings_.reset();
    home_.reset();
}

namespace {
const QByteArray kHeader = "\xEF\xBB\xBF" "call,name,QTH,member,in UTC,out UTC\r\n";
}  // namespace

void TstExport::csv_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("no stations: nothing written") << QStringList{} << QByteArray();
    QTest::newRow("a comma and quotes in QTHs, one checked out")
        << QStringList{"19:42Z W1AW", "19:50Z K9XYZ", "20:15Z out 2"}
        << kHeader + "W1AW,HIRAM,\"NEWINGTON, CT\",yes,2024-03-07T19:42:00Z,\r\n"
                     "K9XYZ,JO,\"PEORIA \"\"IL\"\"\",yes,2024-03-07T19:50:00Z,2024-03-07T20:15:00Z\r\n";
    QTest::newRow("opened without times; a station without a member")
        << QStringList{"open 2\r\n0\r\n3/7/2024\r\n N2ABX LEE ALBANY\r\n W5OLD GONE EL PASO TX\r\n", "20:00Z out 2"}
        << kHeader + "N2ABX,LEE,ALBANY,yes,,\r\nW5OLD,GONE,EL PASO TX,no,,2024-03-07T20:00:00Z\r\n";
    QTest::newRow("cells a spreadsheet would run; accents")
        << QStringList{QString::fromUtf8("open 3\r\n0\r\n3/7/2024\r\n W5OLD =CMD|CALC @HOME\r\n"
                                         " N0ACC JOSÉ SAN JOSÉ\r\n N0NEG +1 -5 TX\r\n")}
        << kHeader + QString::fromUtf8("W5OLD,'=CMD|CALC,'@HOME,no,,\r\nN0ACC,JOSÉ,SAN JOSÉ,no,,\r\n"
                                       "N0NEG,'+1,'-5 TX,no,,\r\n").toUtf8();
}

void TstExport::csv()
{
    QFETCH(QStringList, steps);
    QFETCH(QByteArray, bytes);
    run(steps);
    const QString path = home_->path() + "/net.csv";
    const NetExport::Outcome out = NetExport::Write(*session_, {path, NetExport::Format::Csv}, {});
    if (bytes.isEmpty()) {
        QVERIFY(!out.ok);
        QCOMPARE(out.error, NetExport::kNothingToExport);
        QVERIFY(!QFile::exists(path));
        return;
    }
    QVERIFY2(out.ok, qPrintable(out.error));
    QCOMPARE(readBytes(path), bytes);
}

void TstExport::events_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("rows");  // time from>to subject; "-" no time
    const QStringList evening{"19:42Z W1AW", "19:50Z K9XYZ", "19:55Z traffic", "20:00Z out 1", "20:01Z traffic"};
    // The traffic counter's clicks are no messages: they never show.
    QTest::newRow("in time order, not roster order")
        << evening + QStringList{"20:02Z N2ABX"}
        << QStringList{"19:42 W1AW> check-in (net control)", "19:50 K9XYZ>W1AW check-in",
                       "20:00 W1AW> check-out (net control)", "20:02 N2ABX>W1AW check-in"};
    QTest::newRow("saved and opened again: the same log")
        << evening + QStringList{"reopen"}
        << QStringList{"19:42 W1AW> check-in (net control)", "19:50 K9XYZ>W1AW check-in",
                       "20:00 W1AW> check-out (net control)"};
    QTest::newRow("opened with its times damaged: listed untimed")
        << evening + QStringList{"reopen damaged"}
        << QStringList{"- W1AW> check-in (net control)", "- K9XYZ>W1AW check-in"};
    QTest::newRow("checked in and out in one minute")
        << QStringList{"19:42Z K9XYZ", "19:42Z out 1"}
        << QStringList{"19:42 K9XYZ>W1AW check-in", "19:42 K9XYZ>W1AW check-out"};
    QTest::newRow("opened without times: untimed first")
        << QStringList{"open 1\r\n3\r\n3/7/2024\r\n N2ABX LEE ALBANY\r\n", "20:10Z K9XYZ", "20:12Z out 1"}
        << QStringList{"- N2ABX>W1AW check-in", "20:10 K9XYZ>W1AW check-in", "20:12 N2ABX>W1AW check-out"};
}

void TstExport::events()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, rows);
    run(steps);
    const auto events = NetLog::Events(NetLog::Stations(session_->table(), session_->roster()), "W1AW");
    QStringList actual;
    for (const NetLog::Event& e : events)
        actual.append((e.at.isValid() ? e.at.toUTC().toString("HH:mm") : "-") + ' ' + e.from + '>' + e.to + ' '
                      + e.subject);
    QCOMPARE(actual, rows);
}

void TstExport::target_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("pdf");
    QTest::newRow("no extension, CSV filter") << "/s/net" << 0 << "/s/net.csv" << false;
    QTest::newRow("no extension, PDF filter") << "/s/net" << 1 << "/s/net.pdf" << true;
    QTest::newRow("the name wins over the filter") << "/s/net.CSV" << 1 << "/s/net.CSV" << false;
    QTest::newRow("pdf named, CSV filter") << "/s/net.pdf" << 0 << "/s/net.pdf" << true;
    QTest::newRow("another extension") << "/s/net.v1" << 1 << "/s/net.v1.pdf" << true;
}

void TstExport::target()
{
    QFETCH(QString, chosen);
    QFETCH(int, filter);
    QFETCH(QString, path);
    QFETCH(bool, pdf);
    const NetExport::Target t = NetExport::TargetFor(chosen, filter);
    QCOMPARE(t.path, path);
    QCOMPARE(t.format == NetExport::Format::Ics309Pdf, pdf);
}

void TstExport::ics309Pdf_data()
{
    QTest::addColumn<int>("checkins");  // W-calls one minute apart from 19:00Z
    QTest::addColumn<int>("pages");
    const int page = Ics309::RowsPerPage();
    QTest::newRow("no events") << 0 << 1;
    QTest::newRow("a full page") << page << 1;
    QTest::newRow("one row more") << page + 1 << 2;
    QTest::newRow("three pages") << 2 * page + 5 << 3;
}

void TstExport::ics309Pdf()
{
    QFETCH(int, checkins);
    QFETCH(int, pages);
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const QDateTime start(QDate(2024, 3, 7), QTime(19, 0), Qt::UTC);
    QList<NetLog::Event> events;
    // Given out of order: the log puts them in time order.
    for (int i = checkins - 1; i >= 0; --i)
        events.append({start.addSecs(60 * i), QStringLiteral("W%1AA").arg(i, 3, 10, QChar('0')), "K9XYZ", "check-in"});
    std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) { return a.at < b.at; });
    const Ics309::Header header{"VELNOR Association Net", "TAC ONE", QDateTime(QDate(2024, 3, 7), QTime(18, 30), Qt::UTC),
                                QDateTime(QDate(2024, 3, 8), QTime(0, 45), Qt::UTC), "JO", "K9XYZ",
                                QDateTime(QDate(2024, 3, 8), QTime(1, 5), Qt::UTC)};
    const QString path = home_->path() + "/log.pdf";
    writeBytes(path, Ics309::Pdf(header, events));
    QProcess p;
    p.start(pdftotext, {"-layout", path, "-"});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString& field : {QString("COMMUNICATIONS LOG (ICS 309)"), QString("1. Incident Name:"),
                                 QString("VELNOR Association Net"), QString("TAC ONE"),
                                 QString("4. Radio Operator (Name, Call Sign):"), QString("JO, K9XYZ"),
                                 QString("6. Prepared By (Name, Call Sign):"), QString("2024-03-08 01:05Z")})
        QVERIFY2(text.contains(field), qPrintable(field));
    // The period given, not the log's first and last times.
    QVERIFY2(text.contains(QRegularExpression("Date From: 2024-03-07\\s+Date To: 2024-03-08")), qPrintable(text));
    QVERIFY(text.contains(QRegularExpression("Time From: 18:30Z\\s+Time To: 00:45Z")));
    QCOMPARE(text.count("JO, K9XYZ"), 2 * pages);  // boxes 4 and 6
    QCOMPARE(text.count(QRegularExpression("Page \\d+ of \\d+")), pages);
    for (int n = 1; n <= pages; ++n)
        QVERIFY(text.contains(QString("Page %1 of %2").arg(n).arg(pages)));
    // Every row once, in time order, across the pages.
    const QRegularExpression row("(\\d\\d:\\d\\dZ)\\s+(W\\d{3}AA)\\s+K9XYZ\\s+check-in");
    QStringList calls;
    for (auto m = row.globalMatch(text); m.hasNext();)
        calls.append(m.next().captured(2));
    QCOMPARE(calls.size(), checkins);
    for (int i = 0; i < checkins; ++i)
        QCOMPARE(calls.at(i), QString("W%1AA").arg(i, 3, 10, QChar('0')));
    const QString pdfinfo = QStandardPaths::findExecutable("pdfinfo");
    if (!pdfinfo.isEmpty()) {
        p.start(pdfinfo, {path});
        QVERIFY(p.waitForFinished(30000));
        QVERIFY(QString::fromUtf8(p.readAllStandardOutput()).contains(QRegularExpression("Creator: +" + Ics309::kCreator)));
    }
}

void TstExport::ics309Details_data()
{
    QTest::addColumn<QStringList>("kept");     // incident, net, from, to as given last time; none: nothing kept
    QTest::addColumn<QStringList>("offered");  // incident, net, from, to (ISO)
    QTest::newRow("first export: the net's name and its times")
        << QStringList{} << QStringList{"VELN Net", "VELN Net", "2024-03-07T19:02:00Z", "2024-03-07T19:47:00Z"};
    QTest::newRow("the last export's names and hours, on this net's date")
        << QStringList{"Flood 2024-7", "RED CROSS", "2024-02-29T19:00:00Z", "2024-02-29T20:30:00Z"}
        << QStringList{"Flood 2024-7", "RED CROSS", "2024-03-07T19:00:00Z", "2024-03-07T20:30:00Z"};
    QTest::newRow("a period passing midnight")
        << QStringList{"Drill", "TAC 2", "2024-02-29T23:00:00Z", "2024-03-01T01:00:00Z"}
        << QStringList{"Drill", "TAC 2", "2024-03-07T23:00:00Z", "2024-03-08T01:00:00Z"};
}

void TstExport::ics309Details()
{
    QFETCH(QStringList, kept);
    QFETCH(QStringList, offered);
    auto at = [](const QString& iso) { return QDateTime::fromString(iso, Qt::ISODate).toUTC(); };
    if (!kept.isEmpty())
        Ics309Setting(*settings_).keep({kept[0], kept[1], at(kept[2]), at(kept[3])});
    run({"19:02Z K9XYZ", "19:30Z W1AW", "19:47Z out 1"});
    // What is kept outlives the store that wrote it.
    SettingsStore later(home_->settingsFile());
    const Ics309Details d =
        NetExport::OfferIcs309(*session_, Ics309Setting(later), "VELN Net", QDateTime::currentDateTimeUtc());
    QCOMPARE((QStringList{d.incidentName, d.netName, d.periodFrom.toString(Qt::ISODate), d.periodTo.toString(Qt::ISODate)}),
             offered);
}

VELN_TEST(TstExport)
#include "tst_export.moc"
