#include "core/settings_store.h"
#include "fakes.h"
#include "member_files.h"
#include "session/journal.h"
#include "session/net_session.h"
#include "session/session_file.h"
#include "session/session_times.h"
#include "test_home.h"
#include "test_main.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>

using MemberEditor::Box;

// A net run with its journal, then brought back from that journal alone:
// whatever the evening did, the net that comes back is the net as it stood
// after its last operation.
class TstJournal : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void replay_data();
    void replay();
    void damaged_data();
    void damaged();
    void noWritesRecoveredFile();

private:
    NetSession& s() { return *session_; }
    // Runs "step; step; ..." on the live net, a minute apart.
    void run(const QString& script);
    QString journalPath() const { return home_->dataRoot() + Journal::kFileName; }
    // Everything a restore must bring back, as one comparable text.
    static QStringList state(const NetSession& net);

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<SettingsStore> settings_;
    FakeClock clock_;
    std::unique_ptr<Journal> journal_;
    std::unique_ptr<NetSession> session_;
};

void TstJournal::init()
{
    home_ = std::make_unique<TestHome>();
    settings_ = std::make_unique<SettingsStore>(home_->settingsFile());
    writeMemberFile(home_->memberFile(),
                    {{"W1AW", "HIRAM", "CT"}, {}, {"K9XYZ", "JO", "PEORIA IL"}, {"N2ABX", "LEE", "ALBANY NY"}});
    clock_.current = QDateTime(QDate(2024, 3, 7), QTime(19, 30), Qt::UTC);
    session_ = std::make_unique<NetSession>(*settings_, clock_);
    QVERIFY(session_->loadMemberTable(home_->memberFile()));
    session_->setNetControl("HIRAM", "W1AW");
    journal_ = std::make_unique<Journal>(journalPath());
    QVERIFY(journal_->start());
    session_->follow([this](const NetEvent& e) { QVERIFY(journal_->append(e)); });
}

void TstJournal::cleanup()
{
    session_.reset();
    journal_.reset();
    settings_.reset();
    home_.reset();
}

void TstJournal::run(const QString& script)
{
    for (const QString& raw : script.split(';', Qt::SkipEmptyParts)) {
        const QStringList w = raw.trimmed().split(' ');
        clock_.current = clock_.current.addSecs(60);
        const QString& verb = w.at(0);
        const int line = w.size() > 1 ? w.at(1).toInt() : 0;
        if (verb == "start") {
            s().startNet();
        } else if (verb == "in") {
            s().checkIn(w.at(1));
        } else if (verb == "out") {
            QVERIFY(s().checkOut(line));
        } else if (verb == "up" || verb == "down") {
            s().trafficClicked(verb == "down");
        } else if (verb == "clear") {
            s().clearSearchLists();
        } else if (verb == "edit") {  // edit <line> <name>
            QVERIFY(s().beginEdit(line));
            s().setEditorText(Box::Name, w.at(2));
            QVERIFY(s().saveEditor(line).editor.ok);
        } else if (verb == "recall") {  // recall <line> <new call>
            QVERIFY(s().beginChangeCall(line).ok);
            s().setEditorText(Box::NewCall, w.at(2));
            QVERIFY(s().saveEditor(line).editor.ok);
        } else if (verb == "remove" || verb == "delete") {
            QVERIFY(s().deleteLine(line, verb == "delete").ok);
        } else if (verb == "add") {  // add <call> <name>: saved and checked in
            s().beginAdd();
            s().setEditorText(Box::Call, w.at(1));
            s().setEditorText(Box::Name, w.at(2));
            QVERIFY(s().saveEditor(0).editor.ok);
        } else if (verb == "save") {
            QVERIFY(s().saveAs(home_->path() + "/net", clock_.today()).ok);
        } else if (verb == "open") {
            const QString path = home_->path() + "/older.txt";
            writeBytes(path, "2\r\n 4\r\n3/1/2024\r\n K9XYZ JO PEORIA IL\r\n N0NE OTHER\r\n");
            writeBytes(SessionTimes::PathFor(path),
                       "K9XYZ,2024-03-01T19:31:00Z,\r\n*TRAFFIC*,2024-03-01T19:40:00Z,4\r\n");
            QVERIFY(s().openSession(path, "W1AW").ok);
        } else {
            QFAIL(qPrintable("no such step: " + verb));
        }
    }
}

QStringList TstJournal::state(const NetSession& net)
{
    const CheckinRoster& r = net.roster();
    QStringList out;
    for (int k = 1; k <= r.lineCount(); ++k) {
        const StationRecord& s = r.station(k);
        out << QStringLiteral("%1|slot %2|%3|%4|marked %5")
                   .arg(RosterLine(s))
                   .arg(s.slot)
                   .arg(s.in.toString(Qt::ISODate), s.out.toString(Qt::ISODate))
                   .arg(r.isCheckedIn(s.slot));
    }
    QStringList traffic;
    for (const TrafficEvent& t : r.trafficLog())
        traffic << t.at.toString(Qt::ISODate) + "=" + QString::number(t.count);
    out << "checkins [" + r.checkinsCaption() + "] traffic [" + r.trafficCaption() + "] " + traffic.join(',');
    out << "unknown " + r.unknownCalls().join(',') + " suggested " + r.suggestions().join(',');
    out << "file " + net.fileName() + " date " + net.fileDate() + (net.changed() ? " unsaved" : " saved");
    out << "net control " + net.netControlCaption();
    return out;
}

void TstJournal::replay_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("lines");  // on the roster afterwards
    QTest::newRow("own check-in only") << "start" << 1;
    QTest::newRow("check-ins, unknown call") << "start; in K9XYZ; in W3ABX" << 2;
    QTest::newRow("out and back") << "start; in K9XYZ; out 2; out 1; out 2" << 2;
    QTest::newRow("traffic up and down") << "start; up; up; down; down; down" << 1;
    QTest::newRow("search lists cleared") << "start; in W3ABX; in K9ZZ; clear; in N2XX" << 1;
    QTest::newRow("line changed by an edit") << "start; in K9XYZ; save; edit 2 JOE" << 2;
    QTest::newRow("line changed by a new call") << "start; in K9XYZ; recall 2 K9NEW" << 2;
    QTest::newRow("line removed") << "start; in K9XYZ; in N2ABX; remove 2" << 2;
    QTest::newRow("member deleted") << "start; in K9XYZ; in N2ABX; delete 2; in K9XYZ" << 2;
    QTest::newRow("member added and checked in") << "start; in W3ABC; add W3ABC ANN; in W3ABC" << 2;
    QTest::newRow("saved") << "start; in K9XYZ; up; save" << 2;
    QTest::newRow("saved, then changed") << "start; in K9XYZ; save; out 2" << 2;
    QTest::newRow("opened") << "start; in K9XYZ; open" << 2;
    QTest::newRow("opened, then checked in") << "start; open; in W1AW; up" << 3;
}

void TstJournal::replay()
{
    QFETCH(QString, script);
    QFETCH(int, lines);
    run(script);
    QCOMPARE(s().roster().lineCount(), lines);

    const Journal::Found found = Journal::Read(journalPath());
    QCOMPARE(int(found.state), int(Journal::Found::State::Open));
    NetSession back(*settings_, clock_);
    QVERIFY(back.loadMemberTable(home_->memberFile()));
    back.setNetControl("HIRAM", "W1AW");
    back.restore(found.events);
    QCOMPARE(state(back), state(s()));
    QCOMPARE(back.sessionBytes(clock_.today()), s().sessionBytes(clock_.today()));

    // The same events made at another seat: the same net, each one told on.
    NetSession mirrored(*settings_, clock_);
    QVERIFY(mirrored.loadMemberTable(home_->memberFile()));
    mirrored.setNetControl("HIRAM", "W1AW");
    QList<NetEvent> heard;
    mirrored.follow([&heard](const NetEvent& e) { heard.append(e); });
    for (const NetEvent& e : found.events)
        mirrored.mirror(e);
    QCOMPARE(state(mirrored), state(s()));
    QCOMPARE(heard, found.events);

    // A normal end closes the net: nothing is offered next time.
    s().endNet();
    QCOMPARE(int(Journal::Read(journalPath()).state), int(Journal::Found::State::Closed));
}

void TstJournal::damaged_data()
{
    QTest::addColumn<QByteArray>("tail");  // appended to a journal of three check-ins
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("events");
    using State = Journal::Found::State;
    QTest::newRow("whole") << QByteArray() << int(State::Open) << 3;
    QTest::newRow("torn last line") << QByteArray(R"({"event":"checked-in","at":"2024-03-07T19:3)") << int(State::Open)
                                    << 3;
    QTest::newRow("torn line of garbage") << QByteArray("\x01\x02zz") << int(State::Open) << 3;
    QTest::newRow("no event") << QByteArray("{\"event\":\"party\",\"at\":\"\",\"unsaved\":true}\n")
                              << int(State::Unreadable) << 0;
    QTest::newRow("not JSON") << QByteArray("checked in W1AW\n") << int(State::Unreadable) << 0;
    QTest::newRow("station without call")
        << QByteArray(R"({"event":"checked-in","at":"2024-03-07T19:40:00Z","unsaved":true,"station":{}})"
                      "\n")
        << int(State::Unreadable) << 0;
}

void TstJournal::damaged()
{
    QFETCH(QByteArray, tail);
    QFETCH(int, state);
    QFETCH(int, events);
    run("start; in K9XYZ");
    const QStringList before = TstJournal::state(s());
    journal_.reset();
    QFile file(journalPath());
    QVERIFY(file.open(QIODevice::Append));
    file.write(tail);
    file.close();

    const Journal::Found found = Journal::Read(journalPath());
    QCOMPARE(int(found.state), state);
    QCOMPARE(found.events.size(), events);
    if (found.state == Journal::Found::State::Open) {
        NetSession back(*settings_, clock_);
        back.setNetControl("HIRAM", "W1AW");
        back.restore(found.events);
        QCOMPARE(TstJournal::state(back), before);
        // Going on cuts the torn line off, so the next line stands on its own.
        Journal again(journalPath());
        QVERIFY(again.resume(found.completeBytes));
        NetEvent e;
        e.kind = NetEvent::Kind::SearchListsCleared;
        QVERIFY(again.append(e));
        // Readable before its sync: a killed program has lost nothing.
        QCOMPARE(Journal::Read(journalPath()).events.size(), events + 1);
        QVERIFY(again.sync());
    } else {
        const QString aside = Journal::KeepAside(journalPath(), clock_.current);
        QVERIFY(!aside.isEmpty());
        QVERIFY(!QFile::exists(journalPath()));
        QVERIFY(readBytes(aside).endsWith(tail));
    }
}

void TstJournal::noWritesRecoveredFile()
{
    run("start; in K9XYZ; in N2ABX; out 2; up; up");
    const QString folder = home_->dataRoot() + "Sessions/";
    QDir().mkpath(folder);
    writeBytes(folder + "240307-recovered.txt", "taken");  // an earlier recovery stays
    const Journal::Found found = Journal::Read(journalPath());

    const NetRecovery::Written w = NetRecovery::WriteRecovered(found.events, folder, *settings_, clock_);
    QVERIFY2(w.ok, qPrintable(w.error));
    QCOMPARE(w.path, folder + "240307-recovered-2.txt");
    QCOMPARE(readBytes(w.path), s().sessionBytes(QDate(2024, 3, 7)));
    const SessionTimes::Contents times = SessionTimes::Parse(readBytes(SessionTimes::PathFor(w.path)));
    QCOMPARE(times.damagedLines, 0);
    QCOMPARE(times.stations.size(), 3);
    QCOMPARE(times.stations.at(1).call, QString("K9XYZ"));
    QCOMPARE(times.stations.at(1).in, s().roster().station(2).in);
    QCOMPARE(times.stations.at(1).out, s().roster().station(2).out);
    QCOMPARE(times.traffic, s().roster().trafficLog());
    QCOMPARE(readBytes(folder + "240307-recovered.txt"), QByteArray("taken"));

    const NetRecovery::Summary sum = NetRecovery::Summarise(found.events);
    QCOMPARE(sum.checkins, 3);
    QCOMPARE(sum.traffic, 2);
    QCOMPARE(sum.started, QDateTime(QDate(2024, 3, 7), QTime(19, 31), Qt::UTC));
}

VELN_TEST(TstJournal)
#include "tst_journal.moc"
