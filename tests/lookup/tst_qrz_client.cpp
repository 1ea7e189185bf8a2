#include "core/settings_store.h"
#include "fake_http.h"
#include "http_test_server.h"
#include "lookup/qrz_client.h"
#include "platform/qt_http_client.h"
#include "test_home.h"
#include "test_main.h"

#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(QrzOutcome::Kind)

namespace {
const QString kXml = "http://qrz.test/xml/current/?";
const QString kLogin = kXml + "username=N0CALL;password=secret";

QString lookupAddress(const QString& key, const QString& call) { return kXml + "s=" + key + ";callsign=" + call; }

QByteArray loginReply(const QByteArray& key)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<QRZDatabase version=\"1.34\">\n<Session>\n<Key>" + key
        + "</Key>\n<Count>12</Count>\n</Session>\n</QRZDatabase>\n";
}

QByteArray callReply(const QByteArray& inner)
{
    return "<?xml version=\"1.0\" ?>\n<QRZDatabase>\n<Callsign>\n" + inner
        + "\n</Callsign>\n<Session>\n<Key>k1</Key>\n</Session>\n</QRZDatabase>\n";
}

QByteArray errorReply(const QByteArray& text)
{
    return "<?xml version=\"1.0\" ?>\n<QRZDatabase>\n<Session>\n<Error>" + text + "</Error>\n</Session>\n</QRZDatabase>\n";
}
}  // namespace

class TstQrzClient : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void tagValue_data();
    void tagValue();
    void serverBase_data();
    void serverBase();
    void setUpNeedsPassword_data();
    void setUpNeedsPassword();
    void requestValuesAreEncoded();
    void webPageAddress();
    void loginKeepsAndStoresKey();
    void loginFailures_data();
    void loginFailures();
    void lookupFills_data();
    void lookupFills();
    void loginOncePerRun();
    void failedLoginRetriedNextTime();
    void staleSessionLogsInOnceMore_data();
    void staleSessionLogsInOnceMore();
    void staleSessionNeverLoops();
    void staleSessionAndFailedLogin();
    void failedLookupIsNotFound();
    void overTheWire();

private:
    void store(const QString& id = "username=N0CALL;", const QString& pw = "password=secret");

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<SettingsStore> settings_;
    FakeHttpClient http_;
};

void TstQrzClient::init()
{
    home_ = std::make_unique<TestHome>();
    settings_ = std::make_unique<SettingsStore>(home_->settingsFile());
    settings_->SaveSetting("Servers", "QrzXml", "http://qrz.test");
    http_ = FakeHttpClient();
}

void TstQrzClient::cleanup()
{
    settings_.reset();
    home_.reset();
}

void TstQrzClient::store(const QString& id, const QString& pw)
{
    settings_->SaveSetting("Settings", "QRZ ID", id);
    settings_->SaveSetting("Settings", "QRZ PW", pw);
}

void TstQrzClient::tagValue_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("has");
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "<a><call>W1AW</call></a>" << "call" << true << "W1AW";
    QTest::newRow("empty") << "<call></call>" << "call" << true << "";
    QTest::newRow("first of two") << "<fname>ANN</fname><fname>BOB</fname>" << "fname" << true << "ANN";
    QTest::newRow("missing") << "<name>X</name>" << "call" << false << "";
    QTest::newRow("case differs") << "<Call>W1AW</Call>" << "call" << false << "";
    QTest::newRow("no closing") << "<call>W1AW<fname>ANN</fname>" << "call" << false << "";
    QTest::newRow("closing before") << "</call><call>W1AW" << "call" << false << "";
    // The closing tag found is the first in the reply, even when a later one follows.
    QTest::newRow("stray closing first") << "</call><call>W1AW</call>" << "call" << false << "";
    QTest::newRow("no closing bracket") << "<call W1AW</call>" << "call" << false << "";
    QTest::newRow("beyond 16 bits") << QString(40000, ' ') + "<addr2>Jackson</addr2>" << "addr2" << true << "Jackson";
    QTest::newRow("long value") << "<Key>" + QString(70000, 'k') + "</Key>" << "Key" << true << QString(70000, 'k');
}

void TstQrzClient::tagValue()
{
    QFETCH(QString, reply);
    QFETCH(QString, tag);
    QFETCH(bool, has);
    QFETCH(QString, value);
    const std::optional<QString> got = QrzTagValue(reply, tag);
    QCOMPARE(got.has_value(), has);
    if (has)
        QCOMPARE(*got, value);
}

void TstQrzClient::serverBase_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("base");
    QTest::newRow("empty") << "" << "https://fallback.test";
    QTest::newRow("blank") << "   " << "https://fallback.test";
    QTest::newRow("host only") << "xml.example.org" << "https://xml.example.org";
    QTest::newRow("http kept") << "http://127.0.0.1:8080/" << "http://127.0.0.1:8080";
    QTest::newRow("slashes") << " https://a.test/base// " << "https://a.test/base";
}

void TstQrzClient::serverBase()
{
    QFETCH(QString, setting);
    QFETCH(QString, base);
    QCOMPARE(QrzServerBase(setting, "https://fallback.test"), base);
}

void TstQrzClient::setUpNeedsPassword_data()
{
    QTest::addColumn<QString>("pw");
    QTest::addColumn<bool>("setUp");
    QTest::newRow("missing") << QString() << false;
    QTest::newRow("stored") << "password=x" << true;
}

void TstQrzClient::setUpNeedsPassword()
{
    QFETCH(QString, pw);
    QFETCH(bool, setUp);
    if (!pw.isNull())
        settings_->SaveSetting("Settings", "QRZ PW", pw);
    QrzClient qrz(http_, *settings_);
    QCOMPARE(qrz.isSetUp(), setUp);
}

void TstQrzClient::requestValuesAreEncoded()
{
    settings_->SaveSetting("Servers", "QrzXml", "");
    store("username=N0 CALL;", "password=p&ss;w=rd #+%/");
    QrzClient qrz(http_, *settings_);
    QCOMPARE(qrz.loginUrl().toString(QUrl::FullyEncoded),
             QString("https://xmldata.qrz.com/xml/current/?username=N0%20CALL;password=p%26ss%3Bw%3Drd%20%23%2B%25%2F"));
    // Before a login the lookup carries no session.
    QCOMPARE(qrz.lookupUrl("W1AW").toString(QUrl::FullyEncoded),
             QString("https://xmldata.qrz.com/xml/current/?callsign=W1AW"));

    http_.set(qrz.loginUrl().toString(QUrl::FullyEncoded), loginReply("a;b&c"));
    QVERIFY(qrz.QRZ_Login());
    QCOMPARE(qrz.lookupUrl("K1/A&B").toString(QUrl::FullyEncoded),
             QString("https://xmldata.qrz.com/xml/current/?s=a%3Bb%26c;callsign=K1%2FA%26B"));
}

void TstQrzClient::webPageAddress()
{
    QrzClient qrz(http_, *settings_);
    const QrzOutcome plain = qrz.browserPage("W1AW");
    QCOMPARE(plain.kind, QrzOutcome::Kind::OpenBrowser);
    QCOMPARE(plain.txtCall, QString("W1AW"));
    QCOMPARE(plain.browserUrl, QUrl("https://www.qrz.com/db/W1AW"));
    settings_->SaveSetting("Servers", "QrzWeb", "web.example.net/");
    QCOMPARE(qrz.browserPage("K9XYZ").browserUrl, QUrl("https://web.example.net/db/K9XYZ"));
    QVERIFY(http_.requested.isEmpty());
}

void TstQrzClient::loginKeepsAndStoresKey()
{
    store();
    http_.set(kLogin, loginReply("2331uf894c4bd29f3923f3bacf02c532d7bd9"));
    QrzClient qrz(http_, *settings_);
    QVERIFY(!qrz.loggedIn());
    QVERIFY(qrz.QRZ_Login());
    QVERIFY(qrz.loggedIn());
    QCOMPARE(qrz.sessionKeyText(), QString("s=2331uf894c4bd29f3923f3bacf02c532d7bd9;"));
    QCOMPARE(settings_->GetSetting("Settings", "QRZ Key"), QString("s=2331uf894c4bd29f3923f3bacf02c532d7bd9;"));
    QCOMPARE(http_.requested, QStringList{kLogin});
}

void TstQrzClient::loginFailures_data()
{
    QTest::addColumn<HttpResult>("reply");
    QTest::newRow("no reply") << FakeHttpClient::Failure();
    QTest::newRow("error page with key") << FakeHttpClient::Body(loginReply("abc"), 500);
    QTest::newRow("no key") << FakeHttpClient::Body(errorReply("Username/password incorrect"));
    QTest::newRow("empty key") << FakeHttpClient::Body(loginReply(""));
    QTest::newRow("blank key") << FakeHttpClient::Body(loginReply("   "));
    QTest::newRow("key not closed") << FakeHttpClient::Body("<Session><Key>abc<Count>1</Count></Session>");
    QTest::newRow("lower-case tag") << FakeHttpClient::Body("<key>abc</key>");
}

void TstQrzClient::loginFailures()
{
    QFETCH(HttpResult, reply);
    store();
    settings_->SaveSetting("Settings", "QRZ Key", "s=old;");
    http_.set(kLogin, reply);
    QrzClient qrz(http_, *settings_);
    QVERIFY(!qrz.QRZ_Login());
    QVERIFY(!qrz.loggedIn());
    QCOMPARE(qrz.sessionKeyText(), QString());
    QVERIFY(!qrz.lastError().isEmpty());
    QCOMPARE(settings_->GetSetting("Settings", "QRZ Key"), QString("s=old;"));
}

void TstQrzClient::lookupFills_data()
{
    using K = QrzOutcome::Kind;
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("callBefore");
    QTest::addColumn<QString>("csBefore");
    QTest::addColumn<K>("kind");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("cs");

    QTest::newRow("full") << callReply("<call>W1AW</call><fname>Hiram</fname><addr2>Newington</addr2><state>CT</state>")
                          << "" << "" << K::Found << "W1AW" << "HIRAM" << "NEWINGTON CT";
    QTest::newRow("first word of name") << callReply("<call>K5ABC</call><fname>Mary Ann</fname>") << "" << ""
                                        << K::Found << "K5ABC" << "MARY" << "";
    QTest::newRow("city and state") << callReply("<call>K5ABC</call><addr2>Jackson</addr2><state>TN</state>") << ""
                                    << "" << K::Found << "K5ABC" << "" << "JACKSON TN";
    QTest::newRow("home state left out") << callReply("<call>K5ABC</call><addr2>Jackson</addr2><state>MS</state>")
                                         << "" << "" << K::Found << "K5ABC" << "" << "JACKSON";
    QTest::newRow("state without city") << callReply("<call>K5ABC</call><state>TN</state>") << "" << "" << K::Found
                                        << "K5ABC" << "" << " TN";
    QTest::newRow("state after kept text") << callReply("<call>K5ABC</call><state>TN</state>") << "" << "MEMPHIS"
                                           << K::Found << "K5ABC" << "" << "MEMPHIS TN";
    QTest::newRow("state cut to two") << callReply("<call>K5ABC</call><addr2>Ames</addr2><state>Iowa</state>") << ""
                                      << "" << K::Found << "K5ABC" << "" << "AMES Io";
    QTest::newRow("empty state") << callReply("<call>K5ABC</call><addr2>Ames</addr2><state></state>") << "" << ""
                                 << K::Found << "K5ABC" << "" << "AMES";
    QTest::newRow("unclosed name") << callReply("<call>K5ABC</call><fname>Mary<addr2>Ames</addr2>") << "" << ""
                                   << K::Found << "K5ABC" << "" << "AMES";
    QTest::newRow("misplaced city close") << callReply("</addr2><call>K5ABC</call><addr2>Ames") << "" << "X"
                                          << K::Found << "K5ABC" << "" << "X";
    QTest::newRow("unclosed state") << callReply("<call>K5ABC</call><addr2>Ames</addr2><state>IA") << "" << ""
                                    << K::Found << "K5ABC" << "" << "AMES";
    QTest::newRow("unknown call") << errorReply("Not found: ZZ9ZZZ") << "" << "" << K::NotFound << "K5ABC"
                                  << " NOT FOUND " << "";
    QTest::newRow("unclosed call") << callReply("<call>ZZ9ZZZ<fname>Al</fname>") << "" << "" << K::NotFound
                                   << "K5ABC" << " NOT FOUND " << "";
    QTest::newRow("call already in box") << errorReply("Not found: ZZ9ZZZ") << "KB0XYZ" << "" << K::Found << "KB0XYZ"
                                         << "" << "";
    QTest::newRow("call box and fields") << QByteArray("<fname>Al Bo</fname><addr2>Ames</addr2>") << "KB0XYZ" << ""
                                         << K::Found << "KB0XYZ" << "AL" << "AMES";
    QTest::newRow("long reply") << callReply(QByteArray(50000, ' ') + "<call>W1AW</call><fname>Hiram</fname>") << ""
                                << "" << K::Found << "W1AW" << "HIRAM" << "";
}

void TstQrzClient::lookupFills()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, callBefore);
    QFETCH(QString, csBefore);
    QFETCH(QrzOutcome::Kind, kind);
    QFETCH(QString, call);
    QFETCH(QString, name);
    QFETCH(QString, cs);
    store();
    http_.set(kLogin, loginReply("k1"));
    http_.set(lookupAddress("k1", "K5ABC"), reply);
    QrzClient qrz(http_, *settings_);
    const QrzOutcome out = qrz.lookup("K5ABC", {callBefore, csBefore});
    QCOMPARE(out.kind, kind);
    QCOMPARE(out.txtCall, call);
    QCOMPARE(out.txtName, name);
    QCOMPARE(out.TxtCS, cs);
}

void TstQrzClient::loginOncePerRun()
{
    store();
    http_.set(kLogin, loginReply("k1"));
    http_.set(lookupAddress("k1", "W1AW"), callReply("<call>W1AW</call>"));
    http_.set(lookupAddress("k1", "K5ABC"), callReply("<call>K5ABC</call>"));
    QrzClient qrz(http_, *settings_);
    QCOMPARE(qrz.lookup("W1AW", {}).kind, QrzOutcome::Kind::Found);
    QCOMPARE(qrz.lookup("K5ABC", {}).txtCall, QString("K5ABC"));
    QCOMPARE(http_.requested,
             (QStringList{kLogin, lookupAddress("k1", "W1AW"), lookupAddress("k1", "K5ABC")}));
}

void TstQrzClient::failedLoginRetriedNextTime()
{
    store();
    http_.sequence(kLogin, {FakeHttpClient::Failure(), FakeHttpClient::Body(loginReply("k2"))});
    http_.set(lookupAddress("k2", "W1AW"), callReply("<call>W1AW</call><fname>Hiram</fname>"));
    QrzClient qrz(http_, *settings_);
    const QrzOutcome first = qrz.lookup("W1AW", {});
    QCOMPARE(first.kind, QrzOutcome::Kind::NotFound);
    QCOMPARE(first.txtName, QString(" NOT FOUND "));
    QVERIFY(!first.error.isEmpty());
    QCOMPARE(http_.requested, QStringList{kLogin});  // no lookup without a session

    const QrzOutcome second = qrz.lookup("W1AW", {});
    QCOMPARE(second.kind, QrzOutcome::Kind::Found);
    QCOMPARE(second.txtName, QString("HIRAM"));
    QVERIFY(second.error.isEmpty());
    QCOMPARE(http_.count(kLogin), 2);
}

void TstQrzClient::staleSessionLogsInOnceMore_data()
{
    QTest::addColumn<QByteArray>("stale");
    QTest::newRow("timeout") << errorReply("Session Timeout");
    QTest::newRow("invalid key") << errorReply("Invalid session key");
}

void TstQrzClient::staleSessionLogsInOnceMore()
{
    QFETCH(QByteArray, stale);
    store();
    http_.sequence(kLogin, {FakeHttpClient::Body(loginReply("k1")), FakeHttpClient::Body(loginReply("k2"))});
    http_.set(lookupAddress("k1", "W1AW"), callReply("<call>W1AW</call>"));
    http_.set(lookupAddress("k1", "K5ABC"), stale);
    http_.set(lookupAddress("k2", "K5ABC"), callReply("<call>K5ABC</call><fname>Al</fname>"));
    QrzClient qrz(http_, *settings_);
    QCOMPARE(qrz.lookup("W1AW", {}).kind, QrzOutcome::Kind::Found);
    const QrzOutcome out = qrz.lookup("K5ABC", {});
    QCOMPARE(out.kind, QrzOutcome::Kind::Found);
    QCOMPARE(out.txtName, QString("AL"));
    QCOMPARE(qrz.sessionKeyText(), QString("s=k2;"));
    QCOMPARE(settings_->GetSetting("Settings", "QRZ Key"), QString("s=k2;"));
    QCOMPARE(http_.requested, (QStringList{kLogin, lookupAddress("k1", "W1AW"), lookupAddress("k1", "K5ABC"), kLogin,
                                           lookupAddress("k2", "K5ABC")}));
}

void TstQrzClient::staleSessionNeverLoops()
{
    store();
    http_.set(kLogin, loginReply("k1"));
    http_.set(lookupAddress("k1", "W1AW"), errorReply("Session Timeout"));
    QrzClient qrz(http_, *settings_);
    const QrzOutcome out = qrz.lookup("W1AW", {});
    QCOMPARE(out.kind, QrzOutcome::Kind::NotFound);
    QCOMPARE(http_.count(kLogin), 2);
    QCOMPARE(http_.count(lookupAddress("k1", "W1AW")), 2);
    // The next lookup tries again, once more at most.
    qrz.lookup("W1AW", {});
    QCOMPARE(http_.count(kLogin), 3);
    QCOMPARE(http_.requested.size(), 7);
}

void TstQrzClient::staleSessionAndFailedLogin()
{
    store();
    http_.sequence(kLogin, {FakeHttpClient::Body(loginReply("k1")), FakeHttpClient::Failure(),
                            FakeHttpClient::Body(loginReply("k3"))});
    http_.set(lookupAddress("k1", "W1AW"), errorReply("Invalid session key"));
    http_.set(lookupAddress("k3", "W1AW"), callReply("<call>W1AW</call>"));
    QrzClient qrz(http_, *settings_);
    QCOMPARE(qrz.lookup("W1AW", {}).kind, QrzOutcome::Kind::NotFound);
    QVERIFY(!qrz.loggedIn());  // the rejected key is not used again
    QCOMPARE(qrz.lookup("W1AW", {}).kind, QrzOutcome::Kind::Found);
    QCOMPARE(http_.count(kLogin), 3);
}

void TstQrzClient::failedLookupIsNotFound()
{
    store();
    http_.set(kLogin, loginReply("k1"));
    // A reply that would name the call but comes with an error status.
    http_.set(lookupAddress("k1", "W1AW"), FakeHttpClient::Body(callReply("<call>W1AW</call>"), 503));
    QrzClient qrz(http_, *settings_);
    const QrzOutcome out = qrz.lookup("W1AW", {"", ""});
    QCOMPARE(out.kind, QrzOutcome::Kind::NotFound);
    QCOMPARE(out.txtCall, QString("W1AW"));
    QVERIFY(!out.error.isEmpty());
    QVERIFY(qrz.loggedIn());  // a failed transfer says nothing about the session
}

void TstQrzClient::overTheWire()
{
    HttpTestServer server;
    server.replySequence("/xml/current/", {loginReply("f00d"), callReply("<call>W1AW</call><fname>Hiram Percy</fname>"
                                                                         "<addr2>Newington</addr2><state>CT</state>")});
    settings_->SaveSetting("Servers", "QrzXml", server.base());
    store("username=n0call;", "password=p&ss;w=rd");
    QtHttpClient client;
    QrzClient qrz(client, *settings_);
    const QrzOutcome out = qrz.lookup("W1AW", {});
    QCOMPARE(out.kind, QrzOutcome::Kind::Found);
    QCOMPARE(out.txtCall, QString("W1AW"));
    QCOMPARE(out.txtName, QString("HIRAM"));
    QCOMPARE(out.TxtCS, QString("NEWINGTON CT"));
    const QList<HttpTestServer::Request> got = server.requests();
    QCOMPARE(got.size(), 2);
    QCOMPARE(got.at(0).query, QByteArray("username=n0call;password=p%26ss%3Bw%3Drd"));
    QCOMPARE(got.at(1).query, QByteArray("s=f00d;callsign=W1AW"));
}

VELN_TEST(TstQrzClient)
#include "tst_qrz_client.moc"
