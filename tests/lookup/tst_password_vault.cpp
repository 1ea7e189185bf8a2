#include "core/settings_store.h"
#include "fake_http.h"
#include "fake_keyring.h"
#include "fakes.h"
#include "lookup/callbook_login.h"
#include "lookup/callbook_manager.h"
#include "lookup/password_vault.h"
#include "test_home.h"
#include "test_main.h"

#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(FakeKeyring::Mode)
Q_DECLARE_METATYPE(PasswordVault::Place)

namespace {
using namespace std::chrono_literals;
constexpr auto kAnswerWithin = 60ms;
const QString kNone = QStringLiteral("<none>");
const QString kQrzKeyring = QStringLiteral("QRZ password");
const QString kHamKeyring = QStringLiteral("HamQTH password");
const QString kQrz = "http://qrz.test/xml/current/?";
const QByteArray kQrzKey = "<QRZDatabase><Session><Key>k1</Key></Session></QRZDatabase>";
}  // namespace

// Where the callbook passwords live: the keyring when one answers, the
// settings file when none does; never lost between the two, and a keyring
// that keeps quiet never holds anything up.
class TstPasswordVault : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void atStart_data();
    void atStart();
    void storing_data();
    void storing();
    void passwordOnItsWayIsKeptAtExit();
    void lookupWaitsForALockedKeyring();
    void lockedQrzFallsBackToHamQth();

private:
    // A new run: the settings read from the file, a vault over the keyring.
    void start(FakeKeyring::Mode mode)
    {
        keyring_.mode = mode;
        CallbookLogin::useVault(nullptr);
        vault_ = std::make_unique<PasswordVault>(keyring_, kAnswerWithin);
        settings_ = std::make_unique<SettingsStore>(home_->settingsFile());
        CallbookLogin::useVault(vault_.get());
        CallbookLogin(*settings_).openKeyring();
    }
    // Every answer in, every silent call timed out.
    static void settle() { QTest::qWait(int(kAnswerWithin.count()) + 60); }
    QString get(const QString& key) const { return settings_->GetSetting("Settings", key, kNone); }
    QString kept(const QString& key) const { return keyring_.secrets.value(key, kNone); }
    // An earlier run left the QRZ login with its password "secret" in the keyring.
    void qrzPasswordInKeyring(const QString& server, const QString& address)
    {
        keyring_.secrets.insert(kQrzKeyring, "secret");
        SettingsStore before(home_->settingsFile());
        CallbookLogin(before).storeUser("N0CALL");
        before.SaveSetting("Settings", "QRZ PW Place", "Keyring");
        before.SaveSetting("Servers", server, address);
    }
    // Starts a lookup and waits for its answer.
    static CallbookResult lookedUp(CallbookManager& books, const QString& call)
    {
        std::optional<CallbookResult> got;
        const auto c = connect(&books, &CallbookManager::answered, [&got](const QString&, const CallbookResult& r) {
            if (!got)
                got = r;
        });
        books.lookup(call);
        const bool answered = QTest::qWaitFor([&got] { return got.has_value(); }, 2000);
        disconnect(c);
        return answered ? *got : CallbookResult{CallbookError::BadReply, {}, "no answer", "NONE"};
    }

    std::unique_ptr<TestHome> home_;
    FakeKeyring keyring_;
    std::unique_ptr<PasswordVault> vault_;
    std::unique_ptr<SettingsStore> settings_;
};

void TstPasswordVault::init()
{
    home_ = std::make_unique<TestHome>();
    keyring_ = FakeKeyring();
}

void TstPasswordVault::cleanup()
{
    CallbookLogin::useVault(nullptr);
    vault_.reset();
    settings_.reset();
    home_.reset();
}

void TstPasswordVault::atStart_data()
{
    using M = FakeKeyring::Mode;
    using P = PasswordVault::Place;
    QTest::addColumn<M>("mode");
    QTest::addColumn<QString>("fileBefore");  // "QRZ PW" as stored
    QTest::addColumn<bool>("markedBefore");   // "QRZ PW Place" says Keyring
    QTest::addColumn<QString>("keyringBefore");
    QTest::addColumn<QString>("fileAfter");
    QTest::addColumn<bool>("markedAfter");
    QTest::addColumn<QString>("keyringAfter");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("setUp");
    QTest::addColumn<bool>("waiting");
    QTest::addColumn<P>("place");
    const QString old = "password=old";
    QTest::newRow("plain password moves to a keyring that answers")
        << M::Answering << old << false << kNone << kNone << true << "old" << "old" << true << false << P::Keyring;
    QTest::newRow("plain password stays without a keyring")
        << M::Failing << old << false << kNone << old << false << kNone << "old" << true << false << P::SettingsFile;
    QTest::newRow("plain password stays when the keyring keeps quiet")
        << M::Silent << old << false << kNone << old << false << kNone << "old" << true << false << P::SettingsFile;
    QTest::newRow("kept in the keyring: read at start")
        << M::Answering << kNone << true << "old" << kNone << true << "old" << "old" << true << false << P::Keyring;
    // A locked keyring answers "not found" too: the login stays, lookups say why they wait.
    QTest::newRow("kept in the keyring, which does not give it")
        << M::Answering << kNone << true << kNone << kNone << true << kNone << "" << true << true << P::Keyring;
    QTest::newRow("kept in the keyring, no keyring this run")
        << M::Failing << kNone << true << "old" << kNone << true << "old" << "" << true << true << P::SettingsFile;
    QTest::newRow("kept in a keyring that keeps quiet")
        << M::Silent << kNone << true << "old" << kNone << true << "old" << "" << true << true << P::SettingsFile;
    QTest::newRow("nothing stored, keyring answers")
        << M::Answering << kNone << false << kNone << kNone << false << kNone << "" << false << false << P::Keyring;
    QTest::newRow("nothing stored, no keyring")
        << M::Failing << kNone << false << kNone << kNone << false << kNone << "" << false << false << P::SettingsFile;
    QTest::newRow("an earlier release's empty password is not moved")
        << M::Answering << "password=" << false << kNone << "password=" << false << kNone << "" << true << false
        << P::Keyring;
}

void TstPasswordVault::atStart()
{
    QFETCH(FakeKeyring::Mode, mode);
    QFETCH(QString, fileBefore);
    QFETCH(bool, markedBefore);
    QFETCH(QString, keyringBefore);
    {
        SettingsStore before(home_->settingsFile());
        before.SaveSetting("Settings", "QRZ ID", "username=N0CALL;");
        if (fileBefore != kNone)
            before.SaveSetting("Settings", "QRZ PW", fileBefore);
        if (markedBefore)
            before.SaveSetting("Settings", "QRZ PW Place", "Keyring");
    }
    if (keyringBefore != kNone)
        keyring_.secrets.insert(kQrzKeyring, keyringBefore);

    start(mode);
    QCOMPARE(vault_->place(), PasswordVault::Place::Unknown);  // nothing answers inside openKeyring()
    settle();

    QTEST(get("QRZ PW"), "fileAfter");
    QTEST(get("QRZ PW Place") == "Keyring", "markedAfter");
    QTEST(kept(kQrzKeyring), "keyringAfter");
    CallbookLogin login(*settings_);
    QTEST(login.password(), "password");
    QTEST(login.isSetUp(), "setUp");
    QTEST(login.passwordWaiting(CallbookLogin::Service::Qrz), "waiting");
    QTEST(vault_->place(), "place");
    QCOMPARE(login.user(), QString("N0CALL"));
    QCOMPARE(keyring_.secrets.contains(kHamKeyring), false);

    // A new password from the login window wins over whatever was held, now and next run.
    QVERIFY(login.store("N0CALL", "n3w"));
    settle();
    QCOMPARE(login.password(), QString("n3w"));
    start(mode);
    settle();
    QCOMPARE(CallbookLogin(*settings_).password(), QString("n3w"));
}

void TstPasswordVault::storing_data()
{
    using M = FakeKeyring::Mode;
    QTest::addColumn<M>("atStart");
    QTest::addColumn<M>("whenStored");
    QTest::addColumn<bool>("hamQth");
    QTest::addColumn<bool>("inKeyring");  // else in the settings file
    QTest::newRow("QRZ, keyring answers") << M::Answering << M::Answering << false << true;
    QTest::newRow("HamQTH, keyring answers") << M::Answering << M::Answering << true << true;
    QTest::newRow("no keyring") << M::Failing << M::Failing << false << false;
    QTest::newRow("HamQTH, no keyring") << M::Failing << M::Failing << true << false;
    QTest::newRow("keyring fails the write") << M::Answering << M::Failing << false << false;
    QTest::newRow("keyring keeps quiet on the write") << M::Answering << M::Silent << false << false;
    QTest::newRow("HamQTH, keyring keeps quiet on the write") << M::Answering << M::Silent << true << false;
}

void TstPasswordVault::storing()
{
    QFETCH(FakeKeyring::Mode, atStart);
    QFETCH(FakeKeyring::Mode, whenStored);
    QFETCH(bool, hamQth);
    QFETCH(bool, inKeyring);
    const QString fileKey = hamQth ? "HamQTH PW" : "QRZ PW";
    const QString placeKey = fileKey + " Place";
    const QString keyringKey = hamQth ? kHamKeyring : kQrzKeyring;
    const QString fileValue = hamQth ? "n3w" : "password=n3w";
    // An earlier password is in the keyring already.
    keyring_.secrets.insert(keyringKey, "old");
    {
        SettingsStore before(home_->settingsFile());
        before.SaveSetting("Settings", placeKey, "Keyring");
    }
    start(atStart);
    settle();

    keyring_.mode = whenStored;
    CallbookLogin login(*settings_);
    QVERIFY(hamQth ? login.storeHamQth("n0call", "n3w") : login.store("N0CALL", "n3w"));
    // Lookups use the new password at once, wherever it ends up.
    QCOMPARE(hamQth ? login.hamQthPassword() : login.password(), QString("n3w"));
    settle();
    keyring_.release();  // a late answer changes nothing
    QTest::qWait(0);

    QCOMPARE(get(fileKey), inKeyring ? kNone : fileValue);
    QCOMPARE(get(placeKey) == "Keyring", inKeyring);
    if (inKeyring)
        QCOMPARE(kept(keyringKey), QString("n3w"));
    QCOMPARE(hamQth ? login.hamQthPassword() : login.password(), QString("n3w"));
    QVERIFY(hamQth ? login.hamQthIsSetUp() : login.isSetUp());

    // The next run finds it, keyring or not.
    start(inKeyring ? FakeKeyring::Mode::Answering : FakeKeyring::Mode::Failing);
    settle();
    CallbookLogin next(*settings_);
    QCOMPARE(hamQth ? next.hamQthPassword() : next.password(), QString("n3w"));
}

void TstPasswordVault::passwordOnItsWayIsKeptAtExit()
{
    start(FakeKeyring::Mode::Answering);
    settle();
    keyring_.mode = FakeKeyring::Mode::Silent;
    QVERIFY(CallbookLogin(*settings_).store("N0CALL", "n3w"));
    vault_->settleWaiting();  // the program ends before the keyring answers
    QCOMPARE(get("QRZ PW"), QString("password=n3w"));
    QVERIFY(get("QRZ PW Place") != "Keyring");
    start(FakeKeyring::Mode::Failing);
    settle();
    QCOMPARE(CallbookLogin(*settings_).password(), QString("n3w"));
}

void TstPasswordVault::lookupWaitsForALockedKeyring()
{
    qrzPasswordInKeyring("QrzXml", "http://qrz.test");
    start(FakeKeyring::Mode::Silent);
    FakeHttpClient http;
    http.set(kQrz + "username=N0CALL;password=secret", kQrzKey);
    http.set(kQrz + "s=k1;callsign=K2NEW", "<Callsign><call>K2NEW</call><fname>Ann</fname></Callsign>");
    FakeClock clock;
    CallbookManager books(http, *settings_, QString(), clock);

    QCOMPARE(lookedUp(books, "K2NEW").error, CallbookError::KeyringLocked);
    QCOMPARE(http.requested, QStringList());  // no login without the password

    // The operator unlocks the keyring after the read gave up; the next
    // lookup asks it again.
    settle();
    keyring_.mode = FakeKeyring::Mode::Answering;
    keyring_.release();
    QCOMPARE(lookedUp(books, "K2NEW").error, CallbookError::KeyringLocked);
    QTest::qWait(0);
    const CallbookResult found = lookedUp(books, "K2NEW");
    QCOMPARE(found.error, CallbookError::None);
    QCOMPARE(found.info.firstName, QString("Ann"));
}

void TstPasswordVault::lockedQrzFallsBackToHamQth()
{
    qrzPasswordInKeyring("HamQth", "http://ham.test");
    {
        SettingsStore before(home_->settingsFile());
        CallbookLogin(before).storeHamQth("n0call", "plain");  // no vault: into the file
    }
    start(FakeKeyring::Mode::Silent);
    FakeHttpClient http;
    const QByteArray head = "<?xml version=\"1.0\"?>\n<HamQTH version=\"2.8\" xmlns=\"https://www.hamqth.com\">\n";
    http.set("http://ham.test/xml.php?u=n0call&p=plain", head + "<session><session_id>s1</session_id></session></HamQTH>");
    http.set("http://ham.test/xml.php?id=s1&callsign=K2NEW&prg=VELN",
             head + "<search><callsign>k2new</callsign><nick>Mary</nick></search></HamQTH>");
    FakeClock clock;
    CallbookManager books(http, *settings_, QString(), clock);
    const CallbookResult found = lookedUp(books, "K2NEW");
    QCOMPARE(found.error, CallbookError::None);
    QCOMPARE(found.source, QString("HAMQTH"));
}

VELN_TEST(TstPasswordVault)
#include "tst_password_vault.moc"
