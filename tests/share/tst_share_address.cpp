#include "share/share_address.h"
#include "share/share_settings.h"
#include "core/settings_store.h"
#include "fake_keyring.h"
#include "lookup/password_vault.h"
#include "test_home.h"
#include "test_main.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

// The sharing address typed on the command line, the net id made from a
// net's name, and the stored options with their password.
class TstShareAddress : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void netId_data();
    void netId();
    void settingsKeepNoPassword();
};

void TstShareAddress::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("parsed");  // toString(), or the start of the error
    QTest::newRow("plain") << "mqtt://broker.club.org:1883/tuesday-net" << "mqtt://broker.club.org:1883/tuesday-net";
    QTest::newRow("default port") << "mqtt://broker/net" << "mqtt://broker:1883/net";
    QTest::newRow("tls default port") << "mqtts://broker/net" << "mqtts://broker:8883/net";
    QTest::newRow("user, capital scheme") << " MQTTS://w1aw@10.0.0.5:9000/arrl-2/ " << "mqtts://w1aw@10.0.0.5:9000/arrl-2";
    QTest::newRow("ipv6") << "mqtt://[::1]:1884/n1" << "mqtt://[::1]:1884/n1";
    QTest::newRow("other scheme") << "http://broker:1883/net" << "Not a sharing address";
    QTest::newRow("no net id") << "mqtt://broker:1883" << "Not a sharing address";
    QTest::newRow("empty net id") << "mqtt://broker:1883/" << "Not a sharing address";
    QTest::newRow("net id with capitals") << "mqtt://broker/Tuesday" << "Not a sharing address";
    QTest::newRow("net id with wildcard") << "mqtt://broker/net/#" << "Not a sharing address";
    QTest::newRow("port zero") << "mqtt://broker:0/net" << "Not a sharing address";
    QTest::newRow("port too large") << "mqtt://broker:65536/net" << "Not a sharing address";
    QTest::newRow("port not a number") << "mqtt://broker:x1/net" << "Not a sharing address";
    QTest::newRow("empty port") << "mqtt://broker:/net" << "Not a sharing address";
    QTest::newRow("no host") << "mqtt://:1883/net" << "Not a sharing address";
    QTest::newRow("password in address") << "mqtt://u:pw@broker/net" << "Not a sharing address";
    QTest::newRow("empty user") << "mqtt://@broker/net" << "Not a sharing address";
}

void TstShareAddress::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, parsed);
    QString error;
    const auto a = ShareAddress::parse(text, &error);
    if (parsed.startsWith("Not")) {
        QVERIFY(!a);
        QVERIFY2(error.startsWith(parsed), qPrintable(error));
    } else {
        QVERIFY2(a, qPrintable(error));
        QCOMPARE(a->toString(), parsed);
        QCOMPARE(ShareAddress::parse(a->toString()), a);
    }
}

void TstShareAddress::netId_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("id");
    QTest::newRow("words") << "Tuesday Night Net" << "tuesday-night-net";
    QTest::newRow("runs and ends") << "  --ARES / RACES  Net!! " << "ares-races-net";
    QTest::newRow("digits kept") << "2m Net 146.52" << "2m-net-146-52";
    QTest::newRow("letters beyond ascii") << "Réseau Ñ" << "r-seau";
    QTest::newRow("nothing left") << "***" << "net";
    QTest::newRow("empty") << "" << "net";
    QTest::newRow("long") << QString(100, 'a') << QString(64, 'a');
}

void TstShareAddress::netId()
{
    QFETCH(QString, name);
    QFETCH(QString, id);
    QCOMPARE(NetIdOf(name), id);
    QVERIFY(IsNetId(id));
}

void TstShareAddress::settingsKeepNoPassword()
{
    TestHome home;
    FakeKeyring keyring;
    PasswordVault vault(keyring);
    {
        SettingsStore store(home.settingsFile());
        ShareSettings settings(store, &vault);
        ShareSettings::Values v{"broker.club.org", 8883, true, "/etc/club-ca.crt", "w1aw", "Tuesday Net"};
        QVERIFY(settings.save(v));
        settings.storePassword("pa55 word");
        QCOMPARE(settings.password(), QString("pa55 word"));
        QTRY_COMPARE(keyring.secrets.value("Share password"), QString("pa55 word"));
        v.netId = "tuesday-net";
        QCOMPARE(settings.load(), v);
        QCOMPARE(ShareSettings::addressOf(v)->toString(), QString("mqtts://w1aw@broker.club.org:8883/tuesday-net"));
    }
    QFile file(home.settingsFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(!file.readAll().contains("pa55"));

    // The next run reads it back from the keyring.
    PasswordVault again(keyring);
    SettingsStore store(home.settingsFile());
    ShareSettings settings(store, &again);
    settings.openKeyring();
    QTRY_COMPARE(settings.password(), QString("pa55 word"));
}

VELN_TEST(TstShareAddress)
#include "tst_share_address.moc"
