#include "core/paths.h"
#include "fakes.h"
#include "member_files.h"
#include "startup/single_instance.h"
#include "startup/startup_sequence.h"
#include "test_home.h"
#include "test_main.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <memory>

#include <sys/wait.h>
#include <unistd.h>

class TstSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void init() { home_ = std::make_unique<TestHome>(); }
    void cleanup() { home_.reset(); }

    void twoFirstStartsNeverBothRun();
    void lockThatCannotBeMadeStopsTheStart();
    void lockOfAnEndedCopyIsTakenOver_data();
    void lockOfAnEndedCopyIsTakenOver();
    void secondStartRaisesTheRunningCopy_data();
    void secondStartRaisesTheRunningCopy();

private:
    std::unique_ptr<TestHome> home_;
};

// Two processes on a home without a data root, let go at the same moment.
void TstSingleInstance::twoFirstStartsNeverBothRun()
{
    const QString lockFile = Paths::forCurrentUser().lockFile;
    QVERIFY(!QFileInfo::exists(home_->dataRoot()));
    int go[2], answers[2], hold[2];
    QVERIFY(pipe(go) == 0 && pipe(answers) == 0 && pipe(hold) == 0);
    pid_t children[2];
    for (pid_t& child : children) {
        child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            close(go[1]);
            close(hold[1]);
            char c;
            (void)!read(go[0], &c, 1);
            SingleInstance guard(lockFile);
            const char outcome = char('0' + int(guard.acquire()));
            (void)!write(answers[1], &outcome, 1);
            (void)!read(hold[0], &c, 1);  // holds the lock until the parent has both answers
            _exit(0);
        }
    }
    close(go[0]);
    close(answers[1]);
    close(hold[0]);
    const char both[2] = {'g', 'g'};
    QCOMPARE(write(go[1], both, 2), ssize_t(2));
    char got[2] = {0, 0};
    for (char& c : got)
        QCOMPARE(read(answers[0], &c, 1), ssize_t(1));
    close(hold[1]);
    close(go[1]);
    close(answers[0]);
    for (pid_t child : children)
        waitpid(child, nullptr, 0);

    const char acquired = char('0' + int(SingleInstance::Outcome::Acquired));
    const char held = char('0' + int(SingleInstance::Outcome::HeldByAnother));
    std::sort(std::begin(got), std::end(got));
    QVERIFY2(got[0] == std::min(acquired, held) && got[1] == std::max(acquired, held), QByteArray(got, 2).constData());
}

void TstSingleInstance::lockThatCannotBeMadeStopsTheStart()
{
    // A plain file where the data root should be.
    const QString root = home_->dataRoot().chopped(1);
    writeBytes(root, "in the way");
    const QString lockFile = Paths::forCurrentUser().lockFile;
    SingleInstance guard(lockFile);
    FakePrompts prompts;
    QVERIFY(!AcquireSingleInstance(guard, prompts));
    QCOMPARE(prompts.shown.size(), 1);
    QVERIFY2(prompts.shown.first().text.contains(lockFile), qPrintable(prompts.shown.first().text));
    QVERIFY(prompts.shown.first().text.contains(Startup::kNotStartedUnguarded));
    QVERIFY(!prompts.shown.first().text.contains("Unknown error"));
}

void TstSingleInstance::lockOfAnEndedCopyIsTakenOver_data()
{
    QTest::addColumn<QByteArray>("left");
    QTest::newRow("empty, as a full disk leaves it") << QByteArray();
    QTest::newRow("cut short") << QByteArray("12");
    QTest::newRow("garbage") << QByteArray("\xff\xfe\0x", 4);
    QTest::newRow("a copy that crashed") << QByteArray("999999999\nVELN\nnohost\n");
}

void TstSingleInstance::lockOfAnEndedCopyIsTakenOver()
{
    QFETCH(QByteArray, left);
    const QString lockFile = Paths::forCurrentUser().lockFile;
    QVERIFY(QDir().mkpath(home_->dataRoot()));
    writeBytes(lockFile, left);
    QFile file(lockFile);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    file.close();
    SingleInstance guard(lockFile);
    QCOMPARE(guard.acquire(), SingleInstance::Outcome::Acquired);
    // And it guards again: a second copy is refused.
    SingleInstance second(lockFile);
    QCOMPARE(second.acquire(), SingleInstance::Outcome::HeldByAnother);
}

void TstSingleInstance::secondStartRaisesTheRunningCopy_data()
{
    QTest::addColumn<bool>("staleSocket");  // a crashed copy left its socket file
    QTest::addColumn<bool>("listens");      // false: a copy without the socket (an older release)
    QTest::addColumn<bool>("answers");      // false: its event loop is busy past the second
    QTest::newRow("running copy answers") << false << true << true;
    QTest::newRow("socket of a crashed copy") << true << true << true;
    QTest::newRow("running copy busy") << false << true << false;
    QTest::newRow("running copy without socket") << false << false << false;
}

void TstSingleInstance::secondStartRaisesTheRunningCopy()
{
    QFETCH(bool, staleSocket);
    QFETCH(bool, listens);
    QFETCH(bool, answers);
    const QString lockFile = Paths::forCurrentUser().lockFile;
    if (staleSocket)
        writeBytes(lockFile + ".socket", "left by a crash");
    SingleInstance first(lockFile);
    int raised = 0;
    first.onRaiseAsked([&raised] { ++raised; });
    QCOMPARE(first.acquire(), SingleInstance::Outcome::Acquired);
    if (listens)
        QVERIFY(first.listen());

    // The second start blocks on its socket, as main() does; the first
    // answers on its event loop, which runs here only when it "answers".
    SingleInstance second(lockFile);
    FakePrompts prompts;
    bool runs = true;
    std::unique_ptr<QThread> start(QThread::create([&] { runs = AcquireSingleInstance(second, prompts); }));
    start->start();
    if (answers)
        QTRY_VERIFY_WITH_TIMEOUT(start->isFinished(), 10000);
    else
        QVERIFY(start->wait(10000));
    QVERIFY(!runs);
    QCOMPARE(second.handedOver(), answers);
    QCOMPARE(raised, answers ? 1 : 0);
    if (answers) {
        QVERIFY(prompts.shown.isEmpty());
    } else {
        QCOMPARE(prompts.shown.size(), 1);
        QCOMPARE(prompts.shown[0].text, Startup::kSecondCopyRefused);
    }
}

VELN_TEST(TstSingleInstance)
#include "tst_single_instance.moc"
