#include "core/settings_store.h"
#include "members/net_manager.h"
#include "test_home.h"
#include "test_main.h"

#include <QTest>
#include <memory>

class TstNetManager : public QObject {
    Q_OBJECT
private slots:
    void init() { home_ = std::make_unique<TestHome>(); }
    void cleanup() { home_.reset(); }

    void ensureWritesDefaultOnlyWhenNameEmpty_data();
    void ensureWritesDefaultOnlyWhenNameEmpty();
    void defaultIsAPlausibleManager();
    void ensureKeepsStoredManagerAcrossRuns();
    void storedEmptyNameGivesDefaultAtNextStart();
    void storeWritesBothKeys();
    void identityCaption_data();
    void identityCaption();

private:
    std::unique_ptr<TestHome> home_;
};

void TstNetManager::ensureWritesDefaultOnlyWhenNameEmpty_data()
{
    QTest::addColumn<QStringList>("stored");  // NetMgr, NetMgrCall; a null text = key missing
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("call");
    QTest::newRow("fresh store") << QStringList{QString(), QString()} << kDefaultNetManagerName
                                 << kDefaultNetManagerCall;
    QTest::newRow("empty name, a call") << QStringList{"", "K9XYZ"} << kDefaultNetManagerName
                                        << kDefaultNetManagerCall;
    QTest::newRow("stored manager") << QStringList{"JO SMITH", "K9XYZ"} << "JO SMITH"
                                    << "K9XYZ";
    QTest::newRow("name without call") << QStringList{"JO SMITH", QString()} << "JO SMITH" << "";
    QTest::newRow("name with blanks kept") << QStringList{"  JO  ", "k9xyz"} << "  JO  " << "k9xyz";
}

void TstNetManager::ensureWritesDefaultOnlyWhenNameEmpty()
{
    QFETCH(QStringList, stored);
    QFETCH(QString, name);
    QFETCH(QString, call);
    SettingsStore s(home_->settingsFile());
    if (!stored[0].isNull())
        s.SaveSetting("Settings", "NetMgr", stored[0]);
    if (!stored[1].isNull())
        s.SaveSetting("Settings", "NetMgrCall", stored[1]);

    const NetManager m = EnsureNetManager(s);
    QCOMPARE(m.name, name);
    QCOMPARE(m.call, call);
    QCOMPARE(s.GetSetting("settings", "netmgr"), name);
    QCOMPARE(s.GetSetting("SETTINGS", "NETMGRCALL"), call);
}

void TstNetManager::defaultIsAPlausibleManager()
{
    QVERIFY(!kDefaultNetManagerName.trimmed().isEmpty());
    QCOMPARE(kDefaultNetManagerName, kDefaultNetManagerName.toUpper());
    QCOMPARE(kDefaultNetManagerCall, kDefaultNetManagerCall.toUpper());
    QVERIFY(kDefaultNetManagerCall.size() >= 3 && kDefaultNetManagerCall.size() <= 6);
}

void TstNetManager::ensureKeepsStoredManagerAcrossRuns()
{
    {
        SettingsStore s(home_->settingsFile());
        StoreNetManager(s, {"ANN LEE", "KB1ABC"});
    }
    SettingsStore again(home_->settingsFile());
    QCOMPARE(EnsureNetManager(again), (NetManager{"ANN LEE", "KB1ABC"}));
}

void TstNetManager::storedEmptyNameGivesDefaultAtNextStart()
{
    {
        SettingsStore s(home_->settingsFile());
        StoreNetManager(s, {"", "KB1ABC"});
        QCOMPARE(s.GetSetting("Settings", "NetMgr"), QString());
        QCOMPARE(s.GetSetting("Settings", "NetMgrCall"), QString("KB1ABC"));
    }
    SettingsStore next(home_->settingsFile());
    QCOMPARE(EnsureNetManager(next), (NetManager{kDefaultNetManagerName, kDefaultNetManagerCall}));
}

void TstNetManager::storeWritesBothKeys()
{
    SettingsStore s(home_->settingsFile());
    StoreNetManager(s, {"ANN LEE", "KB1ABC"});
    StoreNetManager(s, {"", ""});  // empty texts replace, they do not leave the old values
    QCOMPARE(s.GetSetting("Settings", "NetMgr", "missing"), QString());
    QCOMPARE(s.GetSetting("Settings", "NetMgrCall", "missing"), QString());
}

void TstNetManager::identityCaption_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("caption");
    QTest::newRow("both") << "JO SMITH" << "K9XYZ" << "JO SMITH   K9XYZ";
    QTest::newRow("neither") << "" << "" << "";
    QTest::newRow("call only") << "" << "K9XYZ" << "   K9XYZ";
    QTest::newRow("name only") << "JO" << "" << "JO   ";
}

void TstNetManager::identityCaption()
{
    QFETCH(QString, name);
    QFETCH(QString, call);
    QFETCH(QString, caption);
    QCOMPARE(IdentityCaption(name, call), caption);
}

VELN_TEST(TstNetManager)
#include "tst_net_manager.moc"
