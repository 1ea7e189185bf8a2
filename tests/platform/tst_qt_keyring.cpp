#include "core/settings_store.h"
#include "lookup/callbook_login.h"
#include "lookup/password_vault.h"
#include "platform/qt_keyring.h"
#include "test_home.h"
#include "test_main.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <memory>

namespace {
using namespace std::chrono_literals;

// What tests/desktop/keyring.sh started this run beside: "unlocked" (a
// keyring daemon that stores), "locked" (one that cannot store without a
// prompt nobody answers), or nothing (no session bus at all).
QByteArray surroundings() { return qgetenv("VELN_KEYRING"); }

Keyring::Answer answerOf(const std::function<void(Keyring::Then)>& call)
{
    std::optional<Keyring::Answer> got;
    call([&got](const Keyring::Answer& a) { got = a; });
    if (!QTest::qWaitFor([&got] { return got.has_value(); }, 10000))
        return {Keyring::Outcome::Failed, {}, QStringLiteral("no answer in 10 s")};
    return *got;
}

QString secretTool(const QString& key)
{
    QProcess tool;
    tool.start(QStringLiteral("secret-tool"), {"lookup", "server", "VELN", "user", key});
    if (!tool.waitForFinished(10000))
        return QStringLiteral("<secret-tool hung>");
    return QString::fromUtf8(tool.readAllStandardOutput());
}
}  // namespace

// The real keyring through QtKeychain. The suite itself runs without a
// session bus; the keyring test runs this class again on a private bus with
// a keyring daemon of its own, never the user's.
class TstQtKeyring : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void withoutSessionBus();
    void unlockedKeyringKeepsThePassword();
    void keyringThatCannotStore();

private:
    // A run of the program: settings from the file, passwords through the keyring.
    void start(std::chrono::milliseconds answerWithin)
    {
        CallbookLogin::useVault(nullptr);
        vault_ = std::make_unique<PasswordVault>(keyring_, answerWithin);
        settings_ = std::make_unique<SettingsStore>(home_->settingsFile());
        CallbookLogin::useVault(vault_.get());
        CallbookLogin(*settings_).openKeyring();
    }
    QByteArray settingsBytes() const
    {
        QFile f(home_->settingsFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    std::unique_ptr<TestHome> home_;
    QtKeyring keyring_;
    std::unique_ptr<PasswordVault> vault_;
    std::unique_ptr<SettingsStore> settings_;
};

void TstQtKeyring::init() { home_ = std::make_unique<TestHome>(); }

void TstQtKeyring::cleanup()
{
    CallbookLogin::useVault(nullptr);
    vault_.reset();
    settings_.reset();
    home_.reset();
}

void TstQtKeyring::withoutSessionBus()
{
    if (!surroundings().isEmpty())
        QSKIP("runs in the suite, without a session bus");
    // Never the tester's own keyring, and no bus started on the way.
    qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArray("unix:path=" + home_->path().toLocal8Bit() + "/no-bus"));
    const Keyring::Answer read = answerOf([this](Keyring::Then t) { keyring_.read("QRZ password", t); });
    QCOMPARE(read.outcome, Keyring::Outcome::Failed);
    QVERIFY(!read.error.isEmpty());
    const Keyring::Answer wrote = answerOf([this](Keyring::Then t) { keyring_.write("QRZ password", "s3cret", t); });
    QCOMPARE(wrote.outcome, Keyring::Outcome::Failed);

    start(10s);
    QVERIFY(CallbookLogin(*settings_).store("N0CALL", "s3cret"));
    QVERIFY(QTest::qWaitFor([this] { return settings_->GetSetting("Settings", "QRZ PW") == "password=s3cret"; }, 10000));
    QCOMPARE(vault_->place(), PasswordVault::Place::SettingsFile);
    QVERIFY(CallbookLogin(*settings_).passwordPlace().startsWith("No keyring answered"));
}

void TstQtKeyring::unlockedKeyringKeepsThePassword()
{
    if (surroundings() != "unlocked")
        QSKIP("needs a keyring daemon of its own: run by the keyring test (tests/desktop/keyring.sh)");
    const Keyring::Answer none = answerOf([this](Keyring::Then t) { keyring_.read("no such entry", t); });
    QCOMPARE(none.outcome, Keyring::Outcome::NotFound);

    // An earlier release left both passwords in the settings file.
    {
        SettingsStore before(home_->settingsFile());
        CallbookLogin(before).store("N0CALL", "s3cret");
        CallbookLogin(before).storeHamQth("n0call", "h&m pw");
    }
    QVERIFY(settingsBytes().contains("s3cret"));
    start(10s);
    QVERIFY(QTest::qWaitFor([this] { return !settingsBytes().contains("s3cret") && !settingsBytes().contains("h&m pw"); },
                            10000));
    QCOMPARE(secretTool("QRZ password"), QString("s3cret"));
    QCOMPARE(secretTool("HamQTH password"), QString("h&m pw"));
    QCOMPARE(CallbookLogin(*settings_).passwordPlace(), QString("Passwords are kept in the desktop's keyring."));

    // A new password from the login window goes there too.
    QVERIFY(CallbookLogin(*settings_).store("N0CALL", "n3w"));
    QVERIFY(QTest::qWaitFor([] { return secretTool("QRZ password") == "n3w"; }, 10000));
    QVERIFY(!settingsBytes().contains("n3w"));

    // The next run reads it back.
    start(10s);
    QVERIFY(QTest::qWaitFor(
        [this] {
            const CallbookLogin login(*settings_);
            return login.password() == "n3w" && login.hamQthPassword() == "h&m pw";
        },
        10000));
}

void TstQtKeyring::keyringThatCannotStore()
{
    if (surroundings() != "locked")
        QSKIP("needs a keyring daemon of its own: run by the keyring test (tests/desktop/keyring.sh)");
    {
        SettingsStore before(home_->settingsFile());
        CallbookLogin(before).store("N0CALL", "s3cret");
    }
    start(1s);
    // The move to the keyring waits on a prompt nobody answers, or fails:
    // either way the password stays where it was.
    QVERIFY(QTest::qWaitFor([this] { return vault_->place() == PasswordVault::Place::SettingsFile; }, 10000));
    QTest::qWait(0);
    QCOMPARE(settings_->GetSetting("Settings", "QRZ PW"), QString("password=s3cret"));
    QCOMPARE(settings_->GetSetting("Settings", "QRZ PW Place"), QString());

    QVERIFY(CallbookLogin(*settings_).store("N0CALL", "n3w"));
    QVERIFY(QTest::qWaitFor([this] { return settings_->GetSetting("Settings", "QRZ PW") == "password=n3w"; }, 10000));
    QCOMPARE(CallbookLogin(*settings_).password(), QString("n3w"));
}

VELN_TEST(TstQtKeyring)
#include "tst_qt_keyring.moc"
