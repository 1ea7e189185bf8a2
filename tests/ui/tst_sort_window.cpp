#include "core/member_table.h"
#include "fakes.h"
#include "member_files.h"
#include "session/printouts.h"
#include "test_home.h"
#include "test_main.h"
#include "ui/frm_sort.h"
#include "ui/ui_style.h"

#include <QDir>
#include <QListWidget>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <memory>

using Answer = Prompts::Answer;
Q_DECLARE_METATYPE(Prompts::Answer)

namespace {

QStringList items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

const QStringList kSlotOrder = {QStringLiteral("      1 W9XYZ ANN PEORIA, IL"), QStringLiteral("      3 K1ABC BOB BOSTON, MA"),
                                QStringLiteral("      4 AA1B Jo ERIE, PA")};
const QStringList kSorted = {QStringLiteral("  4 AA1B Jo ERIE, PA"), QStringLiteral("  3 K1ABC BOB BOSTON, MA"),
                             QStringLiteral("  1 W9XYZ ANN PEORIA, IL")};
const QStringList kStage = {QStringLiteral("     AA1B Jo ERIE, PA"), QStringLiteral("     K1ABC BOB BOSTON, MA"),
                            QStringLiteral("     W9XYZ ANN PEORIA, IL")};

}  // namespace

// The database display window as the main window's menu item opens it.
class TstSortWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Ui::installFontSubstitutes(); }
    void init();
    void cleanup();

    void question();
    void cancelOpensNothing();
    void layouts_data();
    void layouts();
    void repeatedUseShowsEachMemberOnce_data();
    void repeatedUseShowsEachMemberOnce();
    void closedWindowMakesWayForANewOne();
    void emptyDatabase();
    void fontsAndNothingCutOff();

private:
    std::unique_ptr<TestHome> home_;
    std::unique_ptr<FakePlatform> fake_;
    std::unique_ptr<QWidget> main_;
    MemberTable table_;
};

void TstSortWindow::init()
{
    home_ = std::make_unique<TestHome>();
    fake_ = std::make_unique<FakePlatform>();
    main_ = std::make_unique<QWidget>();
    writeMemberFile(home_->memberFile(),
                    {{"W9XYZ", "ANN", "PEORIA, IL"}, {}, {"K1ABC", "BOB", "BOSTON, MA"}, {"AA1B", "Jo", "ERIE, PA"}});
    table_ = MemberTable();
    QVERIFY(table_.LoadMemberTable(home_->memberFile()));
}

void TstSortWindow::cleanup()
{
    main_.reset();
    fake_.reset();
    home_.reset();
}

void TstSortWindow::question()
{
    fake_->prompts.answers = {Answer::No};
    QVERIFY(frmSort::DisplayDatabase(fake_->platform, table_, main_.get()));
    QCOMPARE(fake_->prompts.shown.size(), 1);
    const FakePrompts::Shown& q = fake_->prompts.shown.first();
    QCOMPARE(q.text, QStringLiteral("Do you want to Sort the Database?"));
    QCOMPARE(q.title, QStringLiteral("Display Database"));
    QCOMPARE(q.buttons, Prompts::Buttons::YesNoCancel);
    QCOMPARE(q.defaultAnswer, Answer::Cancel);
    QCOMPARE(q.icon, Prompts::Icon::Question);
}

void TstSortWindow::cancelOpensNothing()
{
    // No scripted answer: the default, Cancel.
    QVERIFY(!frmSort::DisplayDatabase(fake_->platform, table_, main_.get()));
    QVERIFY(main_->findChildren<frmSort*>().isEmpty());

    // Cancel on an open window leaves its lists as they were.
    fake_->prompts.answers = {Answer::No, Answer::Cancel};
    frmSort* w = frmSort::DisplayDatabase(fake_->platform, table_, main_.get());
    QVERIFY(w);
    QVERIFY(!frmSort::DisplayDatabase(fake_->platform, table_, main_.get()));
    QCOMPARE(items(w->List2), kSlotOrder);
    QVERIFY(w->isVisible());
}

void TstSortWindow::layouts_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QStringList>("list1");
    QTest::addColumn<QStringList>("list2");
    QTest::newRow("No: slot order") << Answer::No << QStringList() << kSlotOrder;
    QTest::newRow("Yes: sorted by call") << Answer::Yes << kStage << kSorted;
}

void TstSortWindow::layouts()
{
    QFETCH(Answer, answer);
    QFETCH(QStringList, list1);
    QFETCH(QStringList, list2);
    fake_->prompts.answers = {answer};
    frmSort* w = frmSort::DisplayDatabase(fake_->platform, table_, main_.get());
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Display Database"));
    QCOMPARE(items(w->List1), list1);
    QCOMPARE(items(w->List2), list2);
    QVERIFY(w->isVisible());
    QVERIFY(w->List2->isVisible());
    QVERIFY(!w->isModal());
    QVERIFY(w->isWindow());
}

void TstSortWindow::repeatedUseShowsEachMemberOnce_data()
{
    QTest::addColumn<Answer>("first");
    QTest::addColumn<Answer>("second");
    QTest::addColumn<QStringList>("list1");
    QTest::addColumn<QStringList>("list2");
    QTest::newRow("sorted twice") << Answer::Yes << Answer::Yes << kStage << kSorted;
    QTest::newRow("slot order twice") << Answer::No << Answer::No << QStringList() << kSlotOrder;
    QTest::newRow("sorted, then slot order") << Answer::Yes << Answer::No << QStringList() << kSlotOrder;
    QTest::newRow("slot order, then sorted") << Answer::No << Answer::Yes << kStage << kSorted;
}

void TstSortWindow::repeatedUseShowsEachMemberOnce()
{
    QFETCH(Answer, first);
    QFETCH(Answer, second);
    QFETCH(QStringList, list1);
    QFETCH(QStringList, list2);
    fake_->prompts.answers = {first, second};
    frmSort* w1 = frmSort::DisplayDatabase(fake_->platform, table_, main_.get());
    frmSort* w2 = frmSort::DisplayDatabase(fake_->platform, table_, main_.get());
    QVERIFY(w1);
    QCOMPARE(w2, w1);
    QCOMPARE(main_->findChildren<frmSort*>().size(), 1);
    QCOMPARE(items(w2->List1), list1);
    QCOMPARE(items(w2->List2), list2);
}

void TstSortWindow::closedWindowMakesWayForANewOne()
{
    fake_->prompts.answers = {Answer::Yes, Answer::Yes};
    QPointer<frmSort> w1 = frmSort::DisplayDatabase(fake_->platform, table_, main_.get());
    QVERIFY(w1);
    QVERIFY(w1->close());
    // Not yet deleted, but never shown again.
    frmSort* w2 = frmSort::DisplayDatabase(fake_->platform, table_, main_.get());
    QVERIFY(w2);
    QVERIFY(w2 != w1.data());
    QTRY_VERIFY(w1.isNull());
    QVERIFY(w2->isVisible());
    QCOMPARE(items(w2->List2), kSorted);
}

void TstSortWindow::emptyDatabase()
{
    writeMemberFile(home_->memberFile(), {});
    MemberTable empty;
    QVERIFY(empty.LoadMemberTable(home_->memberFile()));
    fake_->prompts.answers = {Answer::Yes, Answer::No};
    frmSort* w = frmSort::DisplayDatabase(fake_->platform, empty, main_.get());
    QVERIFY(w);
    QCOMPARE(w->List1->count() + w->List2->count(), 0);
    QVERIFY(frmSort::DisplayDatabase(fake_->platform, empty, main_.get()));
    QCOMPARE(w->List1->count() + w->List2->count(), 0);
}

void TstSortWindow::fontsAndNothingCutOff()
{
    // The longest line a member can make: slot 999, every field full width.
    QList<MemberRecord> records = manyMembers(998);
    records.append({"WW9WWW", "MMMMMMMMMMMMMMM", "WWWWWWWWWWWWWWWWWWWWWWWWW"});
    writeMemberFile(home_->memberFile(), records);
    MemberTable full;
    QVERIFY(full.LoadMemberTable(home_->memberFile()));
    fake_->prompts.answers = {Answer::No};
    frmSort* w = frmSort::DisplayDatabase(fake_->platform, full, main_.get());
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowExposed(w));

    const QString family = Ui::font("MS Sans Serif", 8.25).family();
    QCOMPARE(w->List1->font().family(), family);
    QCOMPARE(w->List2->font().family(), family);

    // The reader's list fills the window and needs no sideways scrolling for
    // a typical line; the widest possible line fits too.
    QCOMPARE(w->List2->geometry(), w->rect());
    const QString widest = items(w->List2).last();
    QVERIFY(widest.contains(QStringLiteral("999 WW9WWW")));
    const int need = w->List2->fontMetrics().horizontalAdvance(widest);
    QVERIFY2(w->List2->viewport()->width() >= need,
             qPrintable(QStringLiteral("%1 < %2").arg(w->List2->viewport()->width()).arg(need)));
    QVERIFY(!w->List2->horizontalScrollBar()->isVisible());

    const QString shots = qEnvironmentVariable("VELN_SHOT_DIR");
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        w->List2->scrollToBottom();
        QVERIFY(w->grab().save(shots + QStringLiteral("/frmSort.png")));
    }
}

VELN_TEST(TstSortWindow)
#include "tst_sort_window.moc"
