#include "core/settings_store.h"
#include "fake_http.h"
#include "http_test_server.h"
#include "lookup/callbook_login.h"
#include "lookup/qrz_client.h"
#include "platform/qt_http_client.h"
#include "test_home.h"
#include "test_main.h"

#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(CallbookError)

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

    void serverBase_data();
    void serverBase();
    void setUpNeedsPassword_data();
    void setUpNeedsPassword();
    void storedLoginRoundTrip_data();
    void storedLoginRoundTrip();
    void storedLoginReadsEarlierForms_data();
    void storedLoginReadsEarlierForms();
    void requestValuesAreEncoded();
    void webPageAddress();
    void loginKeepsAndStoresKey();
    void loginFailures_data();
    void loginFailures();
    void refusedLoginTriedOnlyWhenChanged_data();
    void refusedLoginTriedOnlyWhenChanged();
    void lookupReads_data();
    void lookupReads();
    void editorTexts_data();
    void editorTexts();
    void loginOncePerRun();
    void lookupsWhileLoggingInShareOneLogin();
    void failedLoginRetriedNextTime();
    void staleSessionLogsInOnceMore_data();
    void staleSessionLogsInOnceMore();
    void staleSessionNeverLoops();
    void staleSessionAndFailedLogin();
    void failedTransfer_data();
    void failedTransfer();
    void overTheWire();
    void overTheWireMissingPage();

private:
    void store(const QString& id = "username=N0CALL;", const QString& pw = "password=secret");
    // Starts a lookup and waits for its answer.
    CallbookResult lookedUp(Callbook& book, const QString& call);
    bool logIn(QrzClient& qrz);

    int answeredInside_ = 0;  // answers given before lookup() returned

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
    QCOMPARE(answeredInside_, 0);
    settings_.reset();
    home_.reset();
}

void TstQrzClient::store(const QString& id, const QString& pw)
{
    settings_->SaveSetting("Settings", "QRZ ID", id);
    settings_->SaveSetting("Settings", "QRZ PW", pw);
}

CallbookResult TstQrzClient::lookedUp(Callbook& book, const QString& call)
{
    QList<CallbookResult> got;
    const auto c = connect(&book, &Callbook::answered, this, [&](const QString& answeredCall, const CallbookResult& r) {
        if (answeredCall == call)
            got.append(r);
    });
    book.lookup(call);
    answeredInside_ += int(got.size());
    (void)QTest::qWaitFor([&] { return !got.isEmpty(); }, 5000);  // none: the result says so
    QTest::qWait(0);  // a second answer for the same lookup would show here
    disconnect(c);
    if (got.size() != 1)
        qWarning("lookup of %s answered %d times", qPrintable(call), int(got.size()));
    return got.size() == 1 ? got.first() : CallbookResult{CallbookError::BadReply, {}, QStringLiteral("no single answer")};
}

bool TstQrzClient::logIn(QrzClient& qrz)
{
    std::optional<bool> ok;
    qrz.QRZ_Login([&](bool result) { ok = result; });
    const bool inside = ok.has_value();
    (void)QTest::qWaitFor([&] { return ok.has_value(); }, 5000);  // none: false below
    return !inside && ok.value_or(false);
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

    http_.set(qrz.loginUrl().toString(QUrl::FullyEncoded), loginReply("a;b&amp;c"));
    QVERIFY(logIn(qrz));
    QCOMPARE(qrz.lookupUrl("K1/A&B").toString(QUrl::FullyEncoded),
             QString("https://xmldata.qrz.com/xml/current/?s=a%3Bb%26c;callsign=K1%2FA%26B"));
}

void TstQrzClient::storedLoginRoundTrip_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("storedUser");
    QTest::addColumn<QString>("storedPassword");
    QTest::newRow("plain") << "k0abc" << "pw" << "username=k0abc;" << "password=pw";
    QTest::newRow("query characters") << "N0 CALL" << "p&ss;w=rd #" << "username=N0 CALL;" << "password=p&ss;w=rd #";
    QTest::newRow("prefix-like password") << "a" << "password=x" << "username=a;" << "password=password=x";
    QTest::newRow("user ending in ;") << "ab;" << "x" << "username=ab;;" << "password=x";
}

void TstQrzClient::storedLoginRoundTrip()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    CallbookLogin login(*settings_);
    QVERIFY(!login.isSetUp());
    QVERIFY(login.store(user, password));
    QTEST(settings_->GetSetting("Settings", "QRZ ID"), "storedUser");
    QTEST(settings_->GetSetting("Settings", "QRZ PW"), "storedPassword");
    // Read back through a fresh store, as the next run does.
    SettingsStore reread(home_->settingsFile());
    const CallbookLogin again(reread);
    QVERIFY(again.isSetUp());
    QCOMPARE(again.user(), user);
    QCOMPARE(again.password(), password);

    login.storeSessionKeyText("s=abc;");
    login.setDontAskAtStart(true);
    QCOMPARE(settings_->GetSetting("Settings", "QRZ Key"), QString("s=abc;"));
    QCOMPARE(settings_->GetSetting("Settings", "chkNoShow"), QString("1"));
    QCOMPARE(login.sessionKeyText(), QString("s=abc;"));
    QVERIFY(login.dontAskAtStart());
    login.setDontAskAtStart(false);
    QCOMPARE(settings_->GetSetting("Settings", "chkNoShow"), QString("0"));
    QVERIFY(!login.dontAskAtStart());
}

void TstQrzClient::storedLoginReadsEarlierForms_data()
{
    QTest::addColumn<QString>("storedUser");
    QTest::addColumn<QString>("storedPassword");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::newRow("as written") << "username=k0abc;" << "password=pw" << "k0abc" << "pw";
    QTest::newRow("prefix in capitals") << "USERNAME=k0abc;" << "Password=pw" << "k0abc" << "pw";
    QTest::newRow("no prefixes") << "k0abc" << "pw" << "k0abc" << "pw";
    QTest::newRow("empty password") << "username=k0abc;" << "password=" << "k0abc" << "";
}

void TstQrzClient::storedLoginReadsEarlierForms()
{
    QFETCH(QString, storedUser);
    QFETCH(QString, storedPassword);
    store(storedUser, storedPassword);
    const CallbookLogin login(*settings_);
    QTEST(login.user(), "user");
    QTEST(login.password(), "password");
}

void TstQrzClient::webPageAddress()
{
    QrzClient qrz(http_, *settings_);
    QCOMPARE(qrz.webPageUrl("W1AW"), QUrl("https://www.qrz.com/db/W1AW"));
    settings_->SaveSetting("Servers", "QrzWeb", "web.example.net/");
    QCOMPARE(qrz.webPageUrl("K9XYZ"), QUrl("https://web.example.net/db/K9XYZ"));
    QCOMPARE(qrz.webPageUrl("K1/A&B").toString(QUrl::FullyEncoded), QString("https://web.example.net/db/K1%2FA%26B"));
    QVERIFY(http_.requested.isEmpty());
}

void TstQrzClient::loginKeepsAndStoresKey()
{
    store();
    http_.set(kLogin, loginReply("2331uf894c4bd29f3923f3bacf02c532d7bd9"));
    QrzClient qrz(http_, *settings_);
    QVERIFY(!qrz.loggedIn());
    QVERIFY(logIn(qrz));
    QVERIFY(qrz.loggedIn());
    QCOMPARE(qrz.lastLoginResult().error, CallbookError::None);
    QCOMPARE(qrz.sessionKeyText(), QString("s=2331uf894c4bd29f3923f3bacf02c532d7bd9;"));
    QCOMPARE(settings_->GetSetting("Settings", "QRZ Key"), QString("s=2331uf894c4bd29f3923f3bacf02c532d7bd9;"));
    QCOMPARE(http_.requested, QStringList{kLogin});
}

void TstQrzClient::loginFailures_data()
{
    using E = CallbookError;
    QTest::addColumn<HttpResult>("reply");
    QTest::addColumn<CallbookError>("error");
    QTest::addColumn<bool>("retried");  // the next lookup logs in again
    QTest::newRow("no reply") << FakeHttpClient::Failure() << E::Unreachable << true;
    QTest::newRow("error page with key") << FakeHttpClient::Body(loginReply("abc"), 500) << E::Unreachable << true;
    QTest::newRow("404") << FakeHttpClient::Body("<html><body>Not Found</body></html>", 404) << E::Unreachable << true;
    QTest::newRow("no key") << FakeHttpClient::Body(errorReply("Username/password incorrect")) << E::LoginRefused
                            << false;
    QTest::newRow("key beside a refusal")
        << FakeHttpClient::Body("<Session><Key>abc</Key><Error>Password incorrect</Error></Session>")
        << E::LoginRefused << false;
    QTest::newRow("empty key") << FakeHttpClient::Body(loginReply("")) << E::LoginRefused << false;
    QTest::newRow("blank key") << FakeHttpClient::Body(loginReply("   ")) << E::LoginRefused << false;
    QTest::newRow("key not closed") << FakeHttpClient::Body("<Session><Key>abc<Count>1</Count></Session>")
                                    << E::BadReply << true;
    QTest::newRow("lower-case tag") << FakeHttpClient::Body("<key>abc</key>") << E::BadReply << true;
    QTest::newRow("html page") << FakeHttpClient::Body("<!DOCTYPE html><html><body>Sign in<br></body></html>")
                               << E::BadReply << true;
    QTest::newRow("key of 100 kB") << FakeHttpClient::Body(loginReply(QByteArray(100000, 'k'))) << E::BadReply << true;
    QTest::newRow("key past 64 characters") << FakeHttpClient::Body(loginReply(QByteArray(65, 'k'))) << E::BadReply
                                            << true;
    QTest::newRow("key with a blank inside") << FakeHttpClient::Body(loginReply("ab cd")) << E::BadReply << true;
}

void TstQrzClient::loginFailures()
{
    QFETCH(HttpResult, reply);
    QFETCH(CallbookError, error);
    QFETCH(bool, retried);
    store();
    settings_->SaveSetting("Settings", "QRZ Key", "s=old;");
    http_.set(kLogin, reply);
    QrzClient qrz(http_, *settings_);
    QVERIFY(!logIn(qrz));
    QVERIFY(!qrz.loggedIn());
    QCOMPARE(qrz.sessionKeyText(), QString());
    QCOMPARE(qrz.lastLoginResult().error, error);
    QVERIFY(!qrz.lastLoginResult().detail.isEmpty());
    QCOMPARE(settings_->GetSetting("Settings", "QRZ Key"), QString("s=old;"));

    // A refusal stands until the login changes; anything else is tried again.
    QCOMPARE(lookedUp(qrz, "W1AW").error, error);
    QCOMPARE(http_.count(kLogin), retried ? 2 : 1);
    QCOMPARE(http_.requested.size(), retried ? 2 : 1);
}

void TstQrzClient::refusedLoginTriedOnlyWhenChanged_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("tried");
    QTest::newRow("same login stored again") << "N0CALL" << "secret" << false;
    QTest::newRow("password changed") << "N0CALL" << "s3cret" << true;
    QTest::newRow("user changed") << "N1CALL" << "secret" << true;
}

void TstQrzClient::refusedLoginTriedOnlyWhenChanged()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, tried);
    store();
    http_.set(kLogin, errorReply("Username/password incorrect"));
    const QString changedLogin = kXml + "username=" + user + ";password=" + password;
    if (changedLogin != kLogin)
        http_.set(changedLogin, loginReply("k9"));
    http_.set(lookupAddress("k9", "W1AW"), callReply("<call>W1AW</call>"));
    QrzClient qrz(http_, *settings_);

    const CallbookResult first = lookedUp(qrz, "W1AW");
    QCOMPARE(first.error, CallbookError::LoginRefused);
    QCOMPARE(first.detail, QString("Username/password incorrect"));
    QCOMPARE(lookedUp(qrz, "W1AW").error, CallbookError::LoginRefused);
    QCOMPARE(http_.requested, QStringList{kLogin});  // refused at once, nothing asked

    QVERIFY(CallbookLogin(*settings_).store(user, password));
    const CallbookResult after = lookedUp(qrz, "W1AW");
    if (tried) {
        QCOMPARE(after.error, CallbookError::None);
        QCOMPARE(after.info.call, QString("W1AW"));
        QCOMPARE(http_.requested, (QStringList{kLogin, changedLogin, lookupAddress("k9", "W1AW")}));
    } else {
        QCOMPARE(after.error, CallbookError::LoginRefused);
        QCOMPARE(http_.requested, QStringList{kLogin});
    }
}

void TstQrzClient::lookupReads_data()
{
    using E = CallbookError;
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<CallbookError>("error");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("detail");  // for BadReply: only that one is given

    QTest::newRow("full") << callReply("<call>W1AW</call><fname>Hiram</fname><addr2>Newington</addr2><state>CT</state>")
                          << E::None << "W1AW" << "Hiram" << "Newington" << "CT" << "";
    QTest::newRow("whole first name") << callReply("<call>K5ABC</call><fname>Mary Ann</fname>") << E::None << "K5ABC"
                                      << "Mary Ann" << "" << "" << "";
    QTest::newRow("city and state") << callReply("<call>K5ABC</call><addr2>Jackson</addr2><state>TN</state>")
                                    << E::None << "K5ABC" << "" << "Jackson" << "TN" << "";
    QTest::newRow("home state") << callReply("<call>K5ABC</call><addr2>Jackson</addr2><state>MS</state>") << E::None
                                << "K5ABC" << "" << "Jackson" << "MS" << "";
    QTest::newRow("state without city") << callReply("<call>K5ABC</call><state>TN</state>") << E::None << "K5ABC"
                                        << "" << "" << "TN" << "";
    QTest::newRow("long state") << callReply("<call>K5ABC</call><addr2>Ames</addr2><state>Iowa</state>") << E::None
                                << "K5ABC" << "" << "Ames" << "Iowa" << "";
    QTest::newRow("empty state") << callReply("<call>K5ABC</call><addr2>Ames</addr2><state></state>") << E::None
                                 << "K5ABC" << "" << "Ames" << "" << "";
    QTest::newRow("first of two") << callReply("<call>K5ABC</call><fname>Ann</fname><fname>Bob</fname>") << E::None
                                  << "K5ABC" << "Ann" << "" << "" << "";
    QTest::newRow("entities") << callReply("<call>K5ABC</call><fname>Jos&#201;</fname>"
                                           "<addr2>Coeur d&apos;Alene</addr2><state>ID</state>")
                              << E::None << "K5ABC" << QString::fromUtf8("Jos\u00c9") << "Coeur d'Alene" << "ID"
                              << "";
    QTest::newRow("ampersand and hex") << callReply("<call>K5ABC</call><addr2>A &amp; B&#x2019;s</addr2>") << E::None
                                       << "K5ABC" << "" << QString::fromUtf8("A & B\u2019s") << "" << "";
    QTest::newRow("cdata") << callReply("<call><![CDATA[K5ABC]]></call><fname><![CDATA[Al & <Bo>]]></fname>")
                           << E::None << "K5ABC" << "Al & <Bo>" << "" << "" << "";
    QTest::newRow("unclosed name") << callReply("<call>K5ABC</call><fname>Mary<addr2>Ames</addr2>") << E::None
                                   << "K5ABC" << "" << "Ames" << "" << "";
    QTest::newRow("name closed by another tag")
        << callReply("<call>K5ABC</call><fname>Mary</addr2><addr2>Ames</addr2>") << E::None << "K5ABC" << "" << ""
        << "" << "";
    QTest::newRow("unclosed state") << callReply("<call>K5ABC</call><addr2>Ames</addr2><state>IA") << E::None
                                    << "K5ABC" << "" << "Ames" << "" << "";
    QTest::newRow("misplaced city close") << callReply("</addr2><call>K5ABC</call><addr2>Ames") << E::BadReply << ""
                                          << "" << "" << "" << "";
    QTest::newRow("unknown call") << errorReply("Not found: ZZ9ZZZ") << E::NotFound << "" << "" << "" << ""
                                  << "Not found: ZZ9ZZZ";
    QTest::newRow("unclosed call") << callReply("<call>ZZ9ZZZ<fname>Al</fname>") << E::BadReply << "" << "Al" << ""
                                   << "" << "";
    QTest::newRow("fields without call") << QByteArray("<fname>Al Bo</fname><addr2>Ames</addr2>") << E::NotFound
                                         << "" << "Al Bo" << "Ames" << "" << "";
    QTest::newRow("long reply") << callReply(QByteArray(50000, ' ') + "<call>W1AW</call><fname>Hiram</fname>")
                                << E::None << "W1AW" << "Hiram" << "" << "" << "";
    QTest::newRow("html page") << QByteArray("<!DOCTYPE html>\n<html><head><title>QRZ</title></head>"
                                             "<body><p>Maintenance<br></body></html>")
                               << E::BadReply << "" << "" << "" << "" << "";
    QTest::newRow("well-formed html") << QByteArray("<html><body><p>Service down</p></body></html>") << E::BadReply
                                      << "" << "" << "" << "" << "";
    QTest::newRow("plain text") << QByteArray("Service temporarily unavailable") << E::BadReply << "" << "" << ""
                                << "" << "";
    QTest::newRow("empty body") << QByteArray() << E::BadReply << "" << "" << "" << "" << "";
}

void TstQrzClient::lookupReads()
{
    QFETCH(QByteArray, reply);
    QFETCH(CallbookError, error);
    QFETCH(QString, detail);
    store();
    http_.set(kLogin, loginReply("k1"));
    http_.set(lookupAddress("k1", "K5ABC"), reply);
    QrzClient qrz(http_, *settings_);
    const CallbookResult out = lookedUp(qrz, "K5ABC");
    QCOMPARE(out.error, error);
    QCOMPARE(out.found(), error == CallbookError::None);
    QCOMPARE(out.source, QString("QRZ"));
    QTEST(out.info.call, "call");
    QTEST(out.info.firstName, "firstName");
    QTEST(out.info.city, "city");
    QTEST(out.info.state, "state");
    if (error == CallbookError::BadReply)
        QVERIFY(!out.detail.isEmpty());
    else
        QCOMPARE(out.detail, detail);
    // The parse alone gives the same.
    QCOMPARE(QrzClient::parseLookupReply(QString::fromUtf8(reply)).info, out.info);
    QVERIFY(qrz.loggedIn());
}

void TstQrzClient::editorTexts_data()
{
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("cs");
    QTest::newRow("full") << "Hiram" << "Newington" << "CT" << "" << "HIRAM" << "NEWINGTON CT";
    QTest::newRow("first word of name") << "Mary Ann" << "" << "" << "" << "MARY" << "";
    QTest::newRow("city and state") << "" << "Jackson" << "TN" << "" << "" << "JACKSON TN";
    QTest::newRow("home state left out") << "" << "Jackson" << "MS" << "" << "" << "JACKSON";
    QTest::newRow("state without city") << "" << "" << "TN" << "" << "" << " TN";
    QTest::newRow("state after kept text") << "" << "" << "TN" << "MEMPHIS" << "" << "MEMPHIS TN";
    QTest::newRow("city replaces kept text") << "" << "Ames" << "" << "MEMPHIS" << "" << "AMES";
    QTest::newRow("state cut to two") << "" << "Ames" << "Iowa" << "" << "" << "AMES Io";
    QTest::newRow("empty state") << "" << "Ames" << "" << "" << "" << "AMES";
    QTest::newRow("decoded text") << QString::fromUtf8("Jos\u00e9 Luis") << "Coeur d'Alene" << "ID" << ""
                                  << QString::fromUtf8("JOS\u00c9") << "COEUR D'ALENE ID";
}

void TstQrzClient::editorTexts()
{
    QFETCH(QString, firstName);
    QFETCH(QString, city);
    QFETCH(QString, state);
    QFETCH(QString, kept);
    const CallsignInfo info{"K5ABC", firstName, city, state};
    QTEST(CallbookNameText(info), "name");
    QTEST(CallbookCityStateText(info, kept), "cs");
}

void TstQrzClient::loginOncePerRun()
{
    store();
    http_.set(kLogin, loginReply("k1"));
    http_.set(lookupAddress("k1", "W1AW"), callReply("<call>W1AW</call>"));
    http_.set(lookupAddress("k1", "K5ABC"), callReply("<call>K5ABC</call>"));
    QrzClient qrz(http_, *settings_);
    QCOMPARE(lookedUp(qrz, "W1AW").error, CallbookError::None);
    QCOMPARE(lookedUp(qrz, "K5ABC").info.call, QString("K5ABC"));
    QCOMPARE(http_.requested,
             (QStringList{kLogin, lookupAddress("k1", "W1AW"), lookupAddress("k1", "K5ABC")}));
}

void TstQrzClient::lookupsWhileLoggingInShareOneLogin()
{
    store();
    http_.set(kLogin, loginReply("k1"));
    http_.hold(kLogin);
    http_.set(lookupAddress("k1", "W1AW"), callReply("<call>W1AW</call>"));
    http_.set(lookupAddress("k1", "K5ABC"), callReply("<call>K5ABC</call>"));
    QrzClient qrz(http_, *settings_);
    QStringList answers;
    connect(&qrz, &Callbook::answered, this,
            [&](const QString& call, const CallbookResult& r) { answers << call + "=" + r.info.call; });
    qrz.lookup("W1AW");
    qrz.lookup("K5ABC");
    QTest::qWait(20);
    QCOMPARE(http_.waiting(), 1);  // the second lookup waits for the same login
    QVERIFY(answers.isEmpty());
    http_.release();
    QTRY_COMPARE(answers.size(), 2);
    QCOMPARE(answers, (QStringList{"W1AW=W1AW", "K5ABC=K5ABC"}));
    QCOMPARE(http_.count(kLogin), 1);
}

void TstQrzClient::failedLoginRetriedNextTime()
{
    store();
    http_.sequence(kLogin, {FakeHttpClient::Failure(), FakeHttpClient::Body(loginReply("k2"))});
    http_.set(lookupAddress("k2", "W1AW"), callReply("<call>W1AW</call><fname>Hiram</fname>"));
    QrzClient qrz(http_, *settings_);
    const CallbookResult first = lookedUp(qrz, "W1AW");
    QCOMPARE(first.error, CallbookError::Unreachable);
    QCOMPARE(first.detail, QString("Connection refused"));
    QCOMPARE(http_.requested, QStringList{kLogin});  // no lookup without a session

    const CallbookResult second = lookedUp(qrz, "W1AW");
    QCOMPARE(second.error, CallbookError::None);
    QCOMPARE(second.info.firstName, QString("Hiram"));
    QVERIFY(second.detail.isEmpty());
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
    QCOMPARE(lookedUp(qrz, "W1AW").error, CallbookError::None);
    const CallbookResult out = lookedUp(qrz, "K5ABC");
    QCOMPARE(out.error, CallbookError::None);
    QCOMPARE(out.info.firstName, QString("Al"));
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
    const CallbookResult out = lookedUp(qrz, "W1AW");
    QCOMPARE(out.error, CallbookError::Unreachable);
    QCOMPARE(out.detail, QString("Session Timeout"));
    QCOMPARE(http_.count(kLogin), 2);
    QCOMPARE(http_.count(lookupAddress("k1", "W1AW")), 2);
    // The next lookup tries again, once more at most.
    QCOMPARE(lookedUp(qrz, "W1AW").error, CallbookError::Unreachable);
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
    QCOMPARE(lookedUp(qrz, "W1AW").error, CallbookError::Unreachable);
    QVERIFY(!qrz.loggedIn());  // the rejected key is not used again
    QCOMPARE(lookedUp(qrz, "W1AW").error, CallbookError::None);
    QCOMPARE(http_.count(kLogin), 3);
}

void TstQrzClient::failedTransfer_data()
{
    QTest::addColumn<HttpResult>("reply");
    HttpResult timedOut = FakeHttpClient::Failure("Operation timed out");
    timedOut.timedOut = true;
    QTest::newRow("404 page") << FakeHttpClient::Body("<html><body><h1>Not Found</h1></body></html>", 404);
    // A reply that would name the call but comes with an error status.
    QTest::newRow("503 naming the call") << FakeHttpClient::Body(callReply("<call>W1AW</call>"), 503);
    QTest::newRow("no reply") << FakeHttpClient::Failure();
    QTest::newRow("timeout") << timedOut;
}

void TstQrzClient::failedTransfer()
{
    QFETCH(HttpResult, reply);
    store();
    http_.set(kLogin, loginReply("k1"));
    http_.sequence(lookupAddress("k1", "W1AW"), {reply, FakeHttpClient::Body(callReply("<call>W1AW</call>"))});
    QrzClient qrz(http_, *settings_);
    const CallbookResult out = lookedUp(qrz, "W1AW");
    QCOMPARE(out.error, CallbookError::Unreachable);
    QCOMPARE(out.info, CallsignInfo{});
    QCOMPARE(out.detail, reply.error);
    QVERIFY(qrz.loggedIn());  // a failed transfer says nothing about the session
    // The next lookup asks again with the same session.
    QCOMPARE(lookedUp(qrz, "W1AW").info.call, QString("W1AW"));
    QCOMPARE(http_.requested, (QStringList{kLogin, lookupAddress("k1", "W1AW"), lookupAddress("k1", "W1AW")}));
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
    const CallbookResult out = lookedUp(qrz, "W1AW");
    QCOMPARE(out.error, CallbookError::None);
    QCOMPARE(out.info, (CallsignInfo{"W1AW", "Hiram Percy", "Newington", "CT"}));
    const QList<HttpTestServer::Request> got = server.requests();
    QCOMPARE(got.size(), 2);
    QCOMPARE(got.at(0).query, QByteArray("username=n0call;password=p%26ss%3Bw%3Drd"));
    QCOMPARE(got.at(1).query, QByteArray("s=f00d;callsign=W1AW"));
}

void TstQrzClient::overTheWireMissingPage()
{
    HttpTestServer server;  // no script: every path answers 404
    settings_->SaveSetting("Servers", "QrzXml", server.base());
    store();
    QtHttpClient client;
    QrzClient qrz(client, *settings_);
    QCOMPARE(lookedUp(qrz, "W1AW").error, CallbookError::Unreachable);
    QCOMPARE(qrz.lastLoginResult().error, CallbookError::Unreachable);
    // Not a refusal: the next lookup asks the server again.
    QCOMPARE(lookedUp(qrz, "W1AW").error, CallbookError::Unreachable);
    QCOMPARE(server.requests().size(), 2);
}

VELN_TEST(TstQrzClient)
#include "tst_qrz_client.moc"
