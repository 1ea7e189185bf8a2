#include "core/settings_store.h"
#include "fakes.h"
#include "report/report_store.h"
#include "report_fixtures.h"
#include "test_home.h"
#include "test_main.h"

#include <QTest>
#include <memory>

using namespace ReportKeys;

class TstReportStore : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        home_ = std::make_unique<TestHome>();
        store_ = std::make_unique<SettingsStore>(home_->settingsFile());
    }
    void cleanup()
    {
        store_.reset();
        home_.reset();
    }

    void parseCounter_data();
    void parseCounter();
    void loadCounters_data();
    void loadCounters();
    void addSession_data();
    void addSession();
    void addSessionAfterReset();
    void appendSlot_data();
    void appendSlot();
    void appendEntryText();
    void sixteenMembersInAMonth();
    void readList_data();
    void readList();
    void resetKeepsKeysEmpty();
    void deleteEntry_data();
    void deleteEntry();
    void saveEdited_data();
    void saveEdited();
    void saveEditedRefusesOutOfRange_data();
    void saveEditedRefusesOutOfRange();
    void reminder_data();
    void reminder();
    void reminderShownThroughPrompts();

private:
    SettingsStore& store() { return *store_; }
    std::unique_ptr<TestHome> home_;
    std::unique_ptr<SettingsStore> store_;
};

void TstReportStore::parseCounter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("word") << "none" << 0;
    QTest::newRow("digits") << "12" << 12;
    QTest::newRow("blanks and letters after") << "  12abc" << 12;
    QTest::newRow("negative") << "-7" << -7;
    QTest::newRow("0.5 to even 0") << "0.5" << 0;
    QTest::newRow("1.5 to even 2") << "1.5" << 2;
    QTest::newRow("2.5 to even 2") << "2.5" << 2;
    QTest::newRow("3.5 to even 4") << "3.5" << 4;
    QTest::newRow("-2.5 to even -2") << "-2.5" << -2;
    QTest::newRow("top of range") << "32767" << 32767;
    QTest::newRow("past the top stops there") << "40000" << 32767;
    QTest::newRow("32767.5 rounds past the top") << "32767.5" << 32767;
    QTest::newRow("past the bottom stops there") << "-40000" << -32768;
    QTest::newRow("endless digits") << QString(400, QLatin1Char('9')) << 32767;
}

void TstReportStore::parseCounter()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(int(ParseCounter(text)), value);
}

void TstReportStore::loadCounters_data()
{
    QTest::addColumn<QStringList>("stored");  // Sessions, Checkins, Traffic
    QTest::addColumn<QList<int>>("loaded");
    QTest::newRow("fresh store") << QStringList{kMissing, kMissing, kMissing} << QList<int>{0, 0, 0};
    QTest::newRow("plain") << QStringList{"4", "57", "3"} << QList<int>{4, 57, 3};
    QTest::newRow("odd texts") << QStringList{"4 sessions", "", "2.5"} << QList<int>{4, 0, 2};
    QTest::newRow("hand-typed past range") << QStringList{"1", "99999", "-99999"} << QList<int>{1, 32767, -32768};
}

void TstReportStore::loadCounters()
{
    QFETCH(QStringList, stored);
    QFETCH(QList<int>, loaded);
    const QString keys[] = {kSessions, kCheckins, kTraffic};
    for (int i = 0; i < 3; ++i) {
        if (stored.at(i) != kMissing)
            store().SaveSetting(kReport, keys[i], stored.at(i));
    }
    const NetReport r = LoadReportCounters(store());
    QCOMPARE((QList<int>{r.sessions, r.checkins, r.traffic}), loaded);
}

void TstReportStore::addSession_data()
{
    QTest::addColumn<QList<int>>("base");  // sessions, check-ins, traffic in memory
    QTest::addColumn<int>("checkins");
    QTest::addColumn<int>("traffic");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("first session") << QList<int>{0, 0, 0} << 12 << 3 << true << QStringList{"1", "12", "3"};
    QTest::newRow("adds to the base") << QList<int>{4, 50, 7} << 10 << 0 << true << QStringList{"5", "60", "7"};
    QTest::newRow("just fits") << QList<int>{32766, 32760, 32000} << 7 << 767 << true
                               << QStringList{"32767", "32767", "32767"};
    QTest::newRow("check-ins would pass 32767") << QList<int>{4, 32760, 7} << 8 << 1 << false
                                                << QStringList{"old", "old", "old"};
    QTest::newRow("sessions would pass 32767") << QList<int>{32767, 10, 7} << 1 << 1 << false
                                               << QStringList{"old", "old", "old"};
    QTest::newRow("traffic would pass 32767") << QList<int>{1, 1, 32767} << 1 << 1 << false
                                              << QStringList{"old", "old", "old"};
    QTest::newRow("huge session count") << QList<int>{0, 0, 0} << 2147483647 << 0 << false
                                        << QStringList{"old", "old", "old"};
}

void TstReportStore::addSession()
{
    QFETCH(QList<int>, base);
    QFETCH(int, checkins);
    QFETCH(int, traffic);
    QFETCH(bool, stored);
    QFETCH(QStringList, after);
    for (const QString& key : {kSessions, kCheckins, kTraffic})
        store().SaveSetting(kReport, key, "old");
    const NetReport r{qint16(base[0]), qint16(base[1]), qint16(base[2])};
    const ReportWriteOutcome out = AddSessionToReport(store(), r, checkins, traffic);
    QCOMPARE(out.stored, stored);
    QCOMPARE(out.message.isEmpty(), stored);
    QCOMPARE(storedFigures(store()), after);
}

void TstReportStore::addSessionAfterReset()
{
    NetReport r{9, 200, 14};
    store().SaveSetting(kReport, kCheckins, "200");
    ResetMonthlyReport(store(), r);
    QVERIFY(AddSessionToReport(store(), r, 17, 2).stored);
    QCOMPARE(storedFigures(store()), (QStringList{"1", "17", "2"}));
}

void TstReportStore::appendSlot_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("slot");
    QTest::newRow("fresh store") << QStringList{} << 0;
    QTest::newRow("after three") << entriesNamed(3) << 3;
    QTest::newRow("empty value is free") << QStringList{"A", "", "C"} << 1;
    QTest::newRow("missing key is free") << QStringList{"A", kMissing, "C"} << 1;
    QTest::newRow("hidden slot 15 taken") << entriesNamed(16) << 16;
    QTest::newRow("0 to 50 taken") << entriesNamed(51) << 51;
    QTest::newRow("0 to 51 taken: 51 again") << entriesNamed(52) << 51;
}

void TstReportStore::appendSlot()
{
    QFETCH(QStringList, before);
    QFETCH(int, slot);
    putSlots(store(), before);
    QCOMPARE(AppendNewMemberEntry(store(), "N0NEW", "ANN", "TOWN ST"), slot);
    QCOMPARE(store().GetSetting(kNewMember, QString::number(slot)), QString("N0NEW ANN TOWN ST"));
    // Nothing else moved.
    for (int i = 0; i < before.size(); ++i) {
        if (i != slot)
            QCOMPARE(store().GetSetting(kNewMember, QString::number(i), kMissing), before.at(i));
    }
}

void TstReportStore::appendEntryText()
{
    AppendNewMemberEntry(store(), "N0CALL", "JOHN", "SMALLTOWN MS");
    AppendNewMemberEntry(store(), "K1AB", "", "");  // fields kept as they stood
    QCOMPARE(readSlots(store(), 3), (QStringList{"N0CALL JOHN SMALLTOWN MS", "K1AB  ", kMissing}));
}

void TstReportStore::sixteenMembersInAMonth()
{
    for (int i = 0; i < 16; ++i)
        QCOMPARE(AppendNewMemberEntry(store(), "K" + QString::number(i), "N", "Q"), i);
    QCOMPARE(ReadNewMemberList(store(), true).size(), 15);
    QVERIFY(!ReadNewMemberList(store(), false).contains("K15 N Q"));
    NetReport r;
    ResetMonthlyReport(store(), r);
    QCOMPARE(store().GetSetting(kNewMember, "15"), QString("K15 N Q"));
    for (int i = 0; i < 15; ++i)
        QCOMPARE(AppendNewMemberEntry(store(), "W" + QString::number(i), "N", "Q"), i);
    QCOMPARE(AppendNewMemberEntry(store(), "W15", "N", "Q"), 16);
}

void TstReportStore::readList_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QStringList>("guarded");
    QTest::addColumn<QStringList>("unguarded");
    QTest::newRow("fresh store") << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("in order") << QStringList{"A", "B", "C"} << QStringList{"A", "B", "C"}
                              << QStringList{"A", "B", "C"};
    QTest::newRow("gap skipped") << QStringList{"A", "", kMissing, "D"} << QStringList{"A", "D"}
                                 << QStringList{"A", "D"};
    QTest::newRow("slot 0 empty") << QStringList{"", "B", "C"} << QStringList{} << QStringList{"B", "C"};
    QTest::newRow("slot 0 missing") << QStringList{kMissing, "B"} << QStringList{} << QStringList{"B"};
    QStringList sixteen = entriesNamed(16);
    QTest::newRow("slot 15 never read") << sixteen << sixteen.mid(0, 15) << sixteen.mid(0, 15);
}

void TstReportStore::readList()
{
    QFETCH(QStringList, values);
    QFETCH(QStringList, guarded);
    QFETCH(QStringList, unguarded);
    putSlots(store(), values);
    QCOMPARE(ReadNewMemberList(store(), true), guarded);
    QCOMPARE(ReadNewMemberList(store(), false), unguarded);
}

void TstReportStore::resetKeepsKeysEmpty()
{
    putSlots(store(), QStringList{"A", "B", "C", "D"} + QStringList(11, kMissing) + QStringList{"HIDDEN"});
    store().SaveSetting(kReport, kSessions, "4");
    store().SaveSetting(kReport, kCheckins, "61");
    store().SaveSetting(kReport, kTraffic, "5");
    store().SaveSetting(kReport, kResetReport, "False");
    NetReport r{4, 61, 5};
    ResetMonthlyReport(store(), r);
    QCOMPARE(r, NetReport{});
    QCOMPARE(storedFigures(store()), (QStringList{"0", "0", "0"}));
    QCOMPARE(store().GetSetting(kReport, kResetReport), QString("True"));
    // The four keys stay, empty; values never used are not created.
    QCOMPARE(readSlots(store(), 6), (QStringList{"", "", "", "", kMissing, kMissing}));
    QCOMPARE(store().GetSetting(kNewMember, "15"), QString("HIDDEN"));
    QCOMPARE(AppendNewMemberEntry(store(), "N0NEW", "A", "B"), 0);
}

void TstReportStore::deleteEntry_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QStringList>("after");  // values 0..4
    const QStringList abc{"A", "B", "C"};
    QTest::newRow("middle, later ones move down") << abc << "B" << 1 << QStringList{"A", "C", "", kMissing, kMissing};
    QTest::newRow("first: slot 0 not left empty") << abc << "A" << 0 << QStringList{"B", "C", "", kMissing, kMissing};
    QTest::newRow("last") << abc << "C" << 2 << QStringList{"A", "B", "", kMissing, kMissing};
    QTest::newRow("case matters") << abc << "b" << -1 << QStringList{"A", "B", "C", kMissing, kMissing};
    QTest::newRow("leading blank matters") << QStringList{" N0NEW X Y", "B"} << "N0NEW X Y" << -1
                                           << QStringList{" N0NEW X Y", "B", kMissing, kMissing, kMissing};
    QTest::newRow("leading blank matched") << QStringList{" N0NEW X Y", "B"} << " N0NEW X Y" << 0
                                           << QStringList{"B", "", kMissing, kMissing, kMissing};
    QTest::newRow("first of two equal") << QStringList{"A", "B", "A"} << "A" << 0
                                        << QStringList{"B", "A", "", kMissing, kMissing};
    QTest::newRow("empty text matches no free slot") << QStringList{"", "B"} << "" << -1
                                                     << QStringList{"", "B", kMissing, kMissing, kMissing};
    QTest::newRow("old gap closed too") << QStringList{"A", "", "C", "D"} << "D" << 3
                                        << QStringList{"A", "C", "", "", kMissing};
}

void TstReportStore::deleteEntry()
{
    QFETCH(QStringList, before);
    QFETCH(QString, text);
    QFETCH(int, slot);
    QFETCH(QStringList, after);
    putSlots(store(), before);
    QCOMPARE(DeleteNewMemberEntry(store(), text), slot);
    QCOMPARE(readSlots(store(), 5), after);
}

void TstReportStore::saveEdited_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("after");  // values 0..5
    QTest::newRow("same count") << QStringList{"A", "B"} << QStringList{"A", "X"} << -1
                                << QStringList{"A", "X", kMissing, kMissing, kMissing, kMissing};
    QTest::newRow("fewer: old ones above cleared") << QStringList{"A", "B", "C", "D"} << QStringList{"A", "C"} << -1
                                                   << QStringList{"A", "C", "", "", kMissing, kMissing};
    QTest::newRow("none left") << QStringList{"A", "B"} << QStringList{} << -1
                               << QStringList{"", "", kMissing, kMissing, kMissing, kMissing};
    QTest::newRow("more") << QStringList{"A"} << QStringList{"A", " N0NEW X Y", "C"} << 1
                          << QStringList{"A", " N0NEW X Y", "C", kMissing, kMissing, kMissing};
    QTest::newRow("emptied line left out, later ones kept")
        << QStringList{"A", "B", "C"} << QStringList{"A", "", "C"} << -1
        << QStringList{"A", "C", "", kMissing, kMissing, kMissing};
    QTest::newRow("selection above 1 removes the next key")
        << QStringList{"A", "B", "C"} << QStringList{"A", "B"} << 3
        << QStringList{"A", "B", kMissing, kMissing, kMissing, kMissing};
}

void TstReportStore::saveEdited()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, entries);
    QFETCH(int, selected);
    QFETCH(QStringList, after);
    putSlots(store(), before);
    store().SaveSetting(kNewMember, "15", "HIDDEN");
    const ReportWriteOutcome out = SaveEditedReport(store(), "5", "12abc", " 3", entries, selected);
    QVERIFY(out.stored);
    QCOMPARE(storedFigures(store()), (QStringList{"5", "12abc", " 3"}));  // as typed
    QCOMPARE(readSlots(store(), 6), after);
    QCOMPARE(store().GetSetting(kNewMember, "15"), QString("HIDDEN"));
}

void TstReportStore::saveEditedRefusesOutOfRange_data()
{
    QTest::addColumn<QStringList>("figures");
    QTest::addColumn<bool>("stored");
    QTest::newRow("top of range") << QStringList{"32767", "0", "0"} << true;
    QTest::newRow("words read as 0") << QStringList{"many", "", "x"} << true;
    QTest::newRow("past the top") << QStringList{"0", "32768", "0"} << false;
    QTest::newRow("rounds past the top") << QStringList{"0", "0", "32767.5"} << false;
    QTest::newRow("past the bottom") << QStringList{"-32769", "0", "0"} << false;
}

void TstReportStore::saveEditedRefusesOutOfRange()
{
    QFETCH(QStringList, figures);
    QFETCH(bool, stored);
    store().SaveSetting(kReport, kSessions, "1");
    store().SaveSetting(kReport, kCheckins, "2");
    store().SaveSetting(kReport, kTraffic, "3");
    putSlots(store(), {"A", "B"});
    const ReportWriteOutcome out = SaveEditedReport(store(), figures[0], figures[1], figures[2], {"Z"}, -1);
    QCOMPARE(out.stored, stored);
    QCOMPARE(out.message.isEmpty(), stored);
    QCOMPARE(storedFigures(store()), (stored ? figures : QStringList{"1", "2", "3"}));
    QCOMPARE(readSlots(store(), 2), (stored ? QStringList{"Z", ""} : QStringList{"A", "B"}));
}

void TstReportStore::reminder_data()
{
    QTest::addColumn<QString>("netControl");
    QTest::addColumn<QString>("userName");
    QTest::addColumn<QString>("flag");  // stored "ResetReport"
    QTest::addColumn<QString>("checkins");
    QTest::addColumn<int>("day");
    QTest::addColumn<bool>("remind");
    QTest::addColumn<QString>("flagAfter");
    QTest::newRow("3rd, not reset, 12") << "PAT" << "PAT" << "False" << "12" << 3 << true << "False";
    QTest::newRow("3rd, not reset, 0") << "PAT" << "PAT" << "False" << "0" << 3 << false << "False";
    QTest::newRow("7th, not reset") << "PAT" << "PAT" << "False" << "1" << 7 << true << "False";
    QTest::newRow("8th, not reset: no reminder") << "PAT" << "PAT" << "False" << "12" << 8 << false << "False";
    QTest::newRow("3rd, reset") << "PAT" << "PAT" << "True" << "12" << 3 << false << "True";
    QTest::newRow("flag in other case") << "PAT" << "PAT" << "TRUE" << "12" << 3 << false << "TRUE";
    QTest::newRow("0.6 check-ins round to 1") << "PAT" << "PAT" << "False" << "0.6" << 3 << true << "False";
    QTest::newRow("8th re-arms") << "PAT" << "PAT" << "True" << "12" << 8 << false << "False";
    QTest::newRow("9th changes nothing") << "PAT" << "PAT" << "True" << "12" << 9 << false << "True";
    QTest::newRow("missing flag set") << "PAT" << "PAT" << kMissing << "12" << 3 << false << "True";
    QTest::newRow("missing flag on the 8th") << "PAT" << "PAT" << kMissing << "12" << 8 << false << "False";
    QTest::newRow("not net control") << "" << "PAT" << "False" << "12" << 3 << false << "False";
    QTest::newRow("no name either side") << "" << kMissing << "False" << "12" << 3 << false << "False";
    QTest::newRow("name differs in case") << "PAT" << "Pat" << "False" << "12" << 3 << false << "False";
}

void TstReportStore::reminder()
{
    QFETCH(QString, netControl);
    QFETCH(QString, userName);
    QFETCH(QString, flag);
    QFETCH(QString, checkins);
    QFETCH(int, day);
    QFETCH(bool, remind);
    QFETCH(QString, flagAfter);
    if (userName != kMissing)
        store().SaveSetting("Settings", "User Name", userName);
    if (flag != kMissing)
        store().SaveSetting(kReport, kResetReport, flag);
    store().SaveSetting(kReport, kCheckins, checkins);
    const QDate today(2026, 5, day);
    const ResetReminder check = ResetReminderCheck(store(), netControl, today);
    QCOMPARE(check.remind, remind);
    RearmResetFlag(store(), check, today);
    QCOMPARE(store().GetSetting(kReport, kResetReport, kMissing), flagAfter);
}

void TstReportStore::reminderShownThroughPrompts()
{
    store().SaveSetting("Settings", "User Name", "PAT");
    store().SaveSetting(kReport, kResetReport, "False");
    store().SaveSetting(kReport, kCheckins, "12");
    FakePrompts prompts;
    RunResetReminder(store(), prompts, "PAT", QDate(2026, 6, 3));
    QCOMPARE(prompts.shown.size(), 1);
    QCOMPARE(prompts.shown[0].text, QString("Your Net Report for last month has not been reset.\r\n"
                                            "Please reset your report before you save todays report!"));
    QCOMPARE(prompts.shown[0].title, QString("RESET NET REPORT"));
    QCOMPARE(prompts.shown[0].icon, Prompts::Icon::Exclamation);
    QCOMPARE(prompts.shown[0].buttons, Prompts::Buttons::Ok);
    // Not due: nothing shown.
    RunResetReminder(store(), prompts, "PAT", QDate(2026, 6, 12));
    QCOMPARE(prompts.shown.size(), 1);
}

VELN_TEST(TstReportStore)
#include "tst_report_store.moc"
