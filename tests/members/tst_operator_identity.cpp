#include "core/settings_store.h"
#include "members/operator_identity.h"
#include "test_home.h"
#include "test_main.h"

#include <QFile>
#include <QTest>
#include <memory>

class TstOperatorIdentity : public QObject {
    Q_OBJECT
private slots:
    void init() { home_ = std::make_unique<TestHome>(); }
    void cleanup() { home_.reset(); }

    void freshStoreGivesEmptyIdentity();
    void storedIdentityRoundTrips_data();
    void storedIdentityRoundTrips();
    void netControlIsNeverStored();
    void settleIdentity_data();
    void settleIdentity();

private:
    std::unique_ptr<TestHome> home_;
};

void TstOperatorIdentity::freshStoreGivesEmptyIdentity()
{
    SettingsStore s(home_->settingsFile());
    QCOMPARE(StoredOperator(s), OperatorIdentity());
}

void TstOperatorIdentity::storedIdentityRoundTrips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("call");
    QTest::newRow("usual") << "JO SMITH" << "K9XYZ";
    // Empty entries are stored as empty texts, so the next start sees no name.
    QTest::newRow("empty") << "" << "";
    QTest::newRow("kept as given") << "o'Neil, Jr." << "xx";
}

void TstOperatorIdentity::storedIdentityRoundTrips()
{
    QFETCH(QString, name);
    QFETCH(QString, call);
    {
        SettingsStore s(home_->settingsFile());
        s.SaveSetting("Settings", "User Name", "OLD NAME");
        s.SaveSetting("Settings", "User Call", "W1OLD");
        StoreOperator(s, {name, call, true});
    }
    SettingsStore next(home_->settingsFile());
    QCOMPARE(next.GetSetting("Settings", "User Name", "missing"), name);
    QCOMPARE(next.GetSetting("Settings", "User Call", "missing"), call);
    QCOMPARE(StoredOperator(next), (OperatorIdentity{name, call, false}));
}

void TstOperatorIdentity::netControlIsNeverStored()
{
    SettingsStore s(home_->settingsFile());
    StoreOperator(s, {"JO", "K9XYZ", true});
    QFile f(home_->settingsFile());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    QVERIFY(text.contains("K9XYZ"));
    QVERIFY(!text.contains("true", Qt::CaseInsensitive));
}

void TstOperatorIdentity::settleIdentity_data()
{
    QTest::addColumn<QString>("storedName");
    QTest::addColumn<QString>("storedCall");
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<QString>("typedCall");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("ncName");
    QTest::addColumn<QString>("ncCall");
    QTest::addColumn<QString>("keptName");
    QTest::newRow("first run, yes") << "" << "" << "PAT" << "W1PAT" << true << "PAT" << "W1PAT" << "PAT";
    QTest::newRow("first run, no") << "" << "" << "PAT" << "W1PAT" << false << "" << "" << "PAT";
    QTest::newRow("first run, empty entries") << "" << "" << "" << "" << true << "" << "" << "";
    // Later runs name the stored operator, whatever was typed, and store nothing.
    QTest::newRow("later run, yes") << "pat" << "W1PAT" << "SAM" << "K2SAM" << true << "PAT" << "W1PAT" << "pat";
    QTest::newRow("later run, no") << "pat" << "W1PAT" << "PAT" << "W1PAT" << false << "" << "" << "pat";
}

void TstOperatorIdentity::settleIdentity()
{
    QFETCH(QString, storedName);
    QFETCH(QString, storedCall);
    QFETCH(QString, typedName);
    QFETCH(QString, typedCall);
    QFETCH(bool, yes);
    QFETCH(QString, ncName);
    QFETCH(QString, ncCall);
    QFETCH(QString, keptName);
    SettingsStore s(home_->settingsFile());
    if (!storedName.isEmpty())
        StoreOperator(s, {storedName, storedCall, false});
    const NetControl nc = SettleIdentity(s, StoredOperator(s), {typedName, typedCall, yes});
    QCOMPARE(nc.name, ncName);
    QCOMPARE(nc.call, ncCall);
    QCOMPARE(s.GetSetting("Settings", "User Name"), keptName);
}

VELN_TEST(TstOperatorIdentity)
#include "tst_operator_identity.moc"
