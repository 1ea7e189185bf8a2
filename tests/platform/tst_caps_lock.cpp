#include "fakes.h"
#include "platform/caps_lock.h"
#include "test_main.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Caps Lock held by the program, given back where case matters and after a
// run that ended without giving it back.
class TstCapsLock : public QObject {
    Q_OBJECT
private slots:
    void nextStart_data();
    void nextStart();
    void fileDialogs_data();
    void fileDialogs();
};

void TstCapsLock::nextStart_data()
{
    QTest::addColumn<bool>("onBefore");    // Caps Lock before the last run held it
    QTest::addColumn<bool>("released");    // the last run ended normally
    QTest::addColumn<bool>("onAfter");     // at the next start, before anything is typed
    QTest::newRow("crashed holding it: turned off") << false << false << false;
    QTest::newRow("ended normally: off, nothing to do") << false << true << false;
    QTest::newRow("crashed, the user's own Caps Lock: left on") << true << false << true;
}

void TstCapsLock::nextStart()
{
    QFETCH(bool, onBefore);
    QFETCH(bool, released);
    QFETCH(bool, onAfter);
    QTemporaryDir dir;
    const QString mark = dir.filePath(".capslock");
    FakeKeyboard keyboard;
    keyboard.caps = onBefore;
    {
        CapsLock lastRun(keyboard);
        QVERIFY(!lastRun.recover(mark));
        lastRun.hold();
        QVERIFY(keyboard.caps);
        if (released)
            lastRun.release();
    }
    if (!released)
        keyboard.caps = true;  // a crash leaves the lock as it was
    CapsLock nextRun(keyboard);
    QCOMPARE(nextRun.recover(mark), !released && !onBefore);
    QCOMPARE(keyboard.caps, onAfter);
    QVERIFY(!QFile::exists(mark));
}

void TstCapsLock::fileDialogs_data()
{
    QTest::addColumn<bool>("open");  // else save
    QTest::addColumn<bool>("held");
    QTest::newRow("save, held on") << false << true;
    QTest::newRow("open, held on") << true << true;
    QTest::newRow("save, not held: stays off") << false << false;
}

void TstCapsLock::fileDialogs()
{
    QFETCH(bool, open);
    QFETCH(bool, held);
    FakePlatform fakes;
    if (held)
        fakes.capsLock.hold();
    QList<bool> capsWhileOpen;
    fakes.prompts.whileFileDialogOpen = [&] { capsWhileOpen.append(fakes.keyboard.caps); };
    fakes.prompts.files = {"/tmp/lower case.txt"};
    Prompts& prompts = fakes.prompts;
    const QString chosen = open ? prompts.askOpenFile("/tmp", "Text files (*.txt)|*.txt")
                                : prompts.askSaveFile("/tmp/a.txt", "Text files (*.txt)|*.txt");
    QCOMPARE(chosen, QString("/tmp/lower case.txt"));
    QCOMPARE(capsWhileOpen, QList<bool>{false});
    QCOMPARE(fakes.keyboard.caps, held);
}

VELN_TEST(TstCapsLock)
#include "tst_caps_lock.moc"
