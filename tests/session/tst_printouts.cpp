#include "core/member_table.h"
#include "fake_line_printer.h"
#include "member_files.h"
#include "session/printouts.h"
#include "test_home.h"
#include "test_main.h"

#include <QLocale>
#include <QTest>
#include <memory>

namespace {

PrintLine text(const QString& t) { return PrintLine::At(Printouts::kPrintColumn, t); }
const PrintLine kEmpty = PrintLine::Empty();

// What a fake printer recorded, in the printouts' terms.
Printout recorded(const FakeLinePrinter& p, int from = 0, int to = -1)
{
    Printout out;
    const int end = to < 0 ? int(p.lines.size()) : to;
    for (int i = from; i < end; ++i) {
        const FakeLinePrinter::Line& l = p.lines.at(i);
        out.append(l.text.isEmpty() && l.column == 1 ? PrintLine::Empty() : PrintLine::At(l.column, l.text));
    }
    return out;
}

// Slot 1 K1ABC, 2 free, 3 W9XYZ, 4 free, 5 AA1B, then the sentinel; a record
// after it is never read.
QList<MemberRecord> gappedMembers()
{
    return {{"K1ABC", "BOB", "BOSTON, MA"}, {},   {"W9XYZ", "ANN", "PEORIA, IL"},
            {},                             {"AA1B", "Jo", "ERIE, PA"}, {MemberTable::kSentinel, {}, {}},
            {"N0BAD", "GONE", "NOWHERE"}};
}

}  // namespace

class TstPrintouts : public QObject {
    Q_OBJECT
private slots:
    void init() { home_ = std::make_unique<TestHome>(); }
    void cleanup() { home_.reset(); }

    void sessionLayout();
    void sessionDate_data();
    void sessionDate();
    void sessionNumbersEveryLine();
    void eighthCharacterRule_data();
    void eighthCharacterRule();
    void emptySession();

    void slotOrderSkipsFreeSlotsAndSentinel();
    void sortedOrdersByCallUnderOwnSlot();
    void sortedTwiceListsEachMemberOncePerPrint();
    void duplicateCallsEachUnderOwnSlot();
    void emptyDatabase();
    void noSentinelStopsAtTableEnd();

    void printStopsAtFirstFailure_data();
    void printStopsAtFirstFailure();
    void printSendsEverythingAndEnds();

    void displaySlotOrderLines();
    void displaySortedLines();
    void displayCallsStartingAlike();

private:
    MemberTable load(const QList<MemberRecord>& records, bool withSentinel = true)
    {
        writeMemberFile(home_->memberFile(), records, withSentinel);
        MemberTable t;
        if (!t.LoadMemberTable(home_->memberFile()))
            qFatal("member file not loaded");
        return t;
    }
    std::unique_ptr<TestHome> home_;
};

void TstPrintouts::sessionLayout()
{
    const Printout out = Printouts::Session(QStringLiteral("12/8/2026"), QStringLiteral("2"), QStringLiteral(" 3"),
                                            {QStringLiteral(" K1ABC BOB BOSTON"), QStringLiteral(" W9XYZ ANN PEORIA")});
    const Printout expected = {kEmpty,
                               kEmpty,
                               kEmpty,
                               text(QStringLiteral("TARVEN SECTION NET SESSION    12/8/2026  Checkins: 2 Traffic:  3")),
                               kEmpty,
                               text(QStringLiteral("1  K1ABC BOB BOSTON")),
                               text(QStringLiteral("2  W9XYZ ANN PEORIA"))};
    QCOMPARE(out, expected);
}

void TstPrintouts::sessionDate_data()
{
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("expected");
    const QDate today(2026, 12, 8);
    QTest::newRow("file opened") << QStringLiteral("11/24/2026") << QStringLiteral("11/24/2026");
    QTest::newRow("no file opened") << QString() << QLocale::system().toString(today, QLocale::ShortFormat);
}

void TstPrintouts::sessionDate()
{
    QFETCH(QString, opened);
    QFETCH(QString, expected);
    QCOMPARE(Printouts::SessionDate(opened, QDate(2026, 12, 8)), expected);
}

void TstPrintouts::sessionNumbersEveryLine()
{
    QStringList roster;
    for (int i = 1; i <= 12; ++i)
        roster.append(QStringLiteral(" K%1AA NAME TOWN").arg(QChar(u'A' + i)));
    const Printout out = Printouts::Session(QStringLiteral("d"), QStringLiteral("12"), QStringLiteral("0"), roster);
    QCOMPARE(out.size(), 5 + 12);
    for (int i = 1; i <= 12; ++i)
        QCOMPARE(out.at(4 + i), text(QString::number(i) + QLatin1Char(' ') + roster.at(i - 1)));
}

void TstPrintouts::eighthCharacterRule_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("printed");
    // Lines 1-9: the 8th printed character is the roster line's 6th; from
    // line 10 on it is the 5th.
    const QString dashSixth = QStringLiteral(" AB12-X NAME");
    const QString dashFifth = QStringLiteral(" ABC-DE NAME");
    QTest::newRow("line 1, dash 6th") << 1 << dashSixth << false;
    QTest::newRow("line 9, dash 6th") << 9 << dashSixth << false;
    QTest::newRow("line 10, dash 6th") << 10 << dashSixth << true;
    QTest::newRow("line 12, dash 6th") << 12 << dashSixth << true;
    QTest::newRow("line 1, dash 5th") << 1 << dashFifth << true;
    QTest::newRow("line 9, dash 5th") << 9 << dashFifth << true;
    QTest::newRow("line 10, dash 5th") << 10 << dashFifth << false;
    QTest::newRow("line 12, dash 5th") << 12 << dashFifth << false;
    QTest::newRow("dash 7th") << 3 << QStringLiteral(" ABCDE- NAME") << true;
    QTest::newRow("too short for an 8th") << 2 << QStringLiteral(" A") << true;
    QTest::newRow("all dashes") << 4 << QStringLiteral(" ----------") << false;
}

void TstPrintouts::eighthCharacterRule()
{
    QFETCH(int, position);
    QFETCH(QString, line);
    QFETCH(bool, printed);
    QStringList roster;
    for (int i = 1; i <= 12; ++i)
        roster.append(i == position ? line : QStringLiteral(" K1ZZZ FILL TOWN"));
    const Printout out = Printouts::Session(QStringLiteral("d"), QStringLiteral("12"), QStringLiteral("0"), roster);
    const PrintLine numbered = text(QString::number(position) + QLatin1Char(' ') + line);
    QCOMPARE(out.contains(numbered), printed);
    QCOMPARE(out.size(), 5 + 12 - (printed ? 0 : 1));
    // The other lines keep their own numbers.
    const int next = position == 12 ? 11 : position + 1;
    QVERIFY(out.contains(text(QString::number(next) + QStringLiteral("  K1ZZZ FILL TOWN"))));
}

void TstPrintouts::emptySession()
{
    const Printout out = Printouts::Session(QStringLiteral("d"), QStringLiteral("0"), QStringLiteral("0"), {});
    QCOMPARE(out.size(), 5);
    QCOMPARE(out.at(3), text(QStringLiteral("TARVEN SECTION NET SESSION    d  Checkins: 0 Traffic: 0")));
}

void TstPrintouts::slotOrderSkipsFreeSlotsAndSentinel()
{
    const MemberTable t = load(gappedMembers(), false);
    const Printout expected = {kEmpty,
                               kEmpty,
                               kEmpty,
                               kEmpty,
                               text(QStringLiteral("   1. K1ABC BOB BOSTON, MA")),
                               kEmpty,
                               text(QStringLiteral("   3. W9XYZ ANN PEORIA, IL")),
                               kEmpty,
                               text(QStringLiteral("   5. AA1B Jo ERIE, PA")),
                               kEmpty};
    QCOMPARE(Printouts::DatabaseSlotOrder(t), expected);
}

void TstPrintouts::sortedOrdersByCallUnderOwnSlot()
{
    const MemberTable t = load(gappedMembers(), false);
    const Printout expected = {kEmpty,
                               kEmpty,
                               text(QStringLiteral("5 AA1B Jo ERIE, PA")),
                               kEmpty,
                               text(QStringLiteral("1 K1ABC BOB BOSTON, MA")),
                               kEmpty,
                               text(QStringLiteral("3 W9XYZ ANN PEORIA, IL")),
                               kEmpty};
    QCOMPARE(Printouts::DatabaseSorted(t), expected);
}

void TstPrintouts::sortedTwiceListsEachMemberOncePerPrint()
{
    const MemberTable t = load(manyMembers(40));
    FakeLinePrinter p;
    QVERIFY(Printouts::Print(p, Printouts::DatabaseSorted(t)));
    QVERIFY(Printouts::Print(p, Printouts::DatabaseSorted(t)));
    QCOMPARE(p.endedAfter.size(), 2);
    const int first = p.endedAfter.at(0);
    QCOMPARE(first, 2 + 2 * 40);
    QCOMPARE(p.endedAfter.at(1), 2 * first);
    QCOMPARE(recorded(p, first), recorded(p, 0, first));
    // Every slot once, in call order.
    QStringList calls;
    QList<int> slotNumbers;
    for (const PrintLine& l : recorded(p, 0, first)) {
        if (l.empty)
            continue;
        const QStringList words = l.text.split(QLatin1Char(' '));
        slotNumbers.append(words.at(0).toInt());
        calls.append(words.at(1));
    }
    QStringList sortedCalls = calls;
    sortedCalls.sort();
    QCOMPARE(calls, sortedCalls);
    std::sort(slotNumbers.begin(), slotNumbers.end());
    QList<int> all;
    for (int s = 1; s <= 40; ++s)
        all.append(s);
    QCOMPARE(slotNumbers, all);
}

void TstPrintouts::duplicateCallsEachUnderOwnSlot()
{
    // A damaged file can hold a call twice; each member still prints once,
    // with its own slot beside its own name.
    const MemberTable t = load({{"K1ABC", "BOB", "BOSTON"}, {"W1XX", "AL", "ROME"}, {"K1ABC", "CAL", "SALEM"}});
    const Printout expected = {kEmpty,
                               kEmpty,
                               text(QStringLiteral("1 K1ABC BOB BOSTON")),
                               kEmpty,
                               text(QStringLiteral("3 K1ABC CAL SALEM")),
                               kEmpty,
                               text(QStringLiteral("2 W1XX AL ROME")),
                               kEmpty};
    QCOMPARE(Printouts::DatabaseSorted(t), expected);
}

void TstPrintouts::emptyDatabase()
{
    const MemberTable t = load({});
    QCOMPARE(Printouts::DatabaseSlotOrder(t), Printout(4, kEmpty));
    QCOMPARE(Printouts::DatabaseSorted(t), Printout(2, kEmpty));
    QVERIFY(DatabaseDisplay::SlotOrderLines(t).isEmpty());
    QVERIFY(DatabaseDisplay::SortedLines(t).isEmpty());
    QVERIFY(DatabaseDisplay::SortingItems(t).isEmpty());
}

void TstPrintouts::noSentinelStopsAtTableEnd()
{
    QList<MemberRecord> records = manyMembers(1000);
    records.append({"N0MORE", "OVER", "THE END"});
    const MemberTable t = load(records, false);
    QCOMPARE(t.EndSlot(), MemberTable::kSlots + 1);
    const Printout slotOrder = Printouts::DatabaseSlotOrder(t);
    QCOMPARE(slotOrder.size(), 4 + 2 * 1000);
    QCOMPARE(slotOrder.at(slotOrder.size() - 2).text.left(8), QStringLiteral("   1000."));
    QCOMPARE(Printouts::DatabaseSorted(t).size(), 2 + 2 * 1000);
}

void TstPrintouts::printStopsAtFirstFailure_data()
{
    QTest::addColumn<int>("failFrom");
    QTest::newRow("first line") << 0;
    QTest::newRow("an empty line") << 1;
    QTest::newRow("a text line") << 3;
    QTest::newRow("the end of the document") << 5;
}

void TstPrintouts::printStopsAtFirstFailure()
{
    QFETCH(int, failFrom);
    const Printout out = {kEmpty, kEmpty, kEmpty, text(QStringLiteral("A")), text(QStringLiteral("B"))};
    FakeLinePrinter p;
    p.failFromCall = failFrom;
    QVERIFY(!Printouts::Print(p, out));
    QCOMPARE(recorded(p), out.mid(0, failFrom));
    QVERIFY(p.endedAfter.isEmpty());
    // Nothing is tried after the failure.
    QCOMPARE(p.calls, failFrom + 1);
}

void TstPrintouts::printSendsEverythingAndEnds()
{
    const Printout out = {kEmpty, PrintLine::At(30, QStringLiteral("X")), PrintLine::At(1, QStringLiteral("Y"))};
    FakeLinePrinter p;
    QVERIFY(Printouts::Print(p, out));
    QCOMPARE(p.lines, (QList<FakeLinePrinter::Line>{{1, {}}, {30, QStringLiteral("X")}, {1, QStringLiteral("Y")}}));
    QCOMPARE(p.endedAfter, QList<int>{3});
}

void TstPrintouts::displaySlotOrderLines()
{
    const MemberTable t = load(gappedMembers(), false);
    QCOMPARE(DatabaseDisplay::SlotOrderLines(t),
             QStringList({QStringLiteral("      1 K1ABC BOB BOSTON, MA"), QStringLiteral("      3 W9XYZ ANN PEORIA, IL"),
                          QStringLiteral("      5 AA1B Jo ERIE, PA")}));
}

void TstPrintouts::displaySortedLines()
{
    QList<MemberRecord> records = gappedMembers().mid(0, 5);
    // A member without a QTH: its display line loses the trailing blank.
    records.append({"KB2Q", "MAX", ""});
    const MemberTable t = load(records);
    QCOMPARE(DatabaseDisplay::SortingItems(t),
             QStringList({QStringLiteral("     AA1B Jo ERIE, PA"), QStringLiteral("     K1ABC BOB BOSTON, MA"),
                          QStringLiteral("     KB2Q MAX "), QStringLiteral("     W9XYZ ANN PEORIA, IL")}));
    QCOMPARE(DatabaseDisplay::SortedLines(t),
             QStringList({QStringLiteral("  5 AA1B Jo ERIE, PA"), QStringLiteral("  1 K1ABC BOB BOSTON, MA"),
                          QStringLiteral("  6 KB2Q MAX"), QStringLiteral("  3 W9XYZ ANN PEORIA, IL")}));
}

void TstPrintouts::displayCallsStartingAlike()
{
    // The blank after a call sorts before any letter, so K1A comes before
    // K1AB; mixed-case names sort as a list box sorts them, case folded.
    const MemberTable t = load({{"K1AB", "al", "X"}, {"K1A", "ZED", "Y"}, {"K1AC", "Bo", "Z"}, {"K1AC", "ann", "W"}});
    QCOMPARE(DatabaseDisplay::SortedLines(t),
             QStringList({QStringLiteral("  2 K1A ZED Y"), QStringLiteral("  1 K1AB al X"),
                          QStringLiteral("  4 K1AC ann W"), QStringLiteral("  3 K1AC Bo Z")}));
}

VELN_TEST(TstPrintouts)
#include "tst_printouts.moc"
