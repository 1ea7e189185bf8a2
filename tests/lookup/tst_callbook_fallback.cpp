#include "core/settings_store.h"
#include "fake_http.h"
#include "fakes.h"
#include "http_test_server.h"
#include "lookup/callbook_manager.h"
#include "platform/qt_http_client.h"
#include "test_home.h"
#include "test_main.h"

#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(CallbookError)

namespace {
const QString kQrz = "http://qrz.test/xml/current/?";
const QString kQrzLogin = kQrz + "username=N0CALL;password=secret";
const QString kHam = "http://ham.test/xml.php?";
const QString kHamLogin = kHam + "u=n0call&p=h%26m";

QString qrzLookup(const QString& call) { return kQrz + "s=k1;callsign=" + call; }
QString hamLookup(const QString& call) { return kHam + "id=s1&callsign=" + call + "&prg=VELN"; }

QByteArray hamSession(const QByteArray& inner)
{
    return "<?xml version=\"1.0\"?>\n<HamQTH version=\"2.8\" xmlns=\"https://www.hamqth.com\">\n<session>" + inner
        + "</session>\n</HamQTH>\n";
}
QByteArray hamFound(const QByteArray& inner)
{
    return "<?xml version=\"1.0\"?>\n<HamQTH version=\"2.8\" xmlns=\"https://www.hamqth.com\">\n<search>" + inner
        + "</search>\n</HamQTH>\n";
}
const QByteArray kQrzKey = "<QRZDatabase><Session><Key>k1</Key></Session></QRZDatabase>";
const QByteArray kQrzRefused = "<QRZDatabase><Session><Error>Username/password incorrect</Error></Session></QRZDatabase>";
const QByteArray kHamK2new = hamFound("<callsign>k2new</callsign><nick>Mary</nick><qth>Albany</qth>"
                                      "<adr_city>Albany</adr_city><us_state>NY</us_state>");
}  // namespace

// QRZ first, HamQTH when QRZ fails or has no login, the cache before both;
// and HamQTH's own replies.
class TstCallbookFallback : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void hamQthReads_data();
    void hamQthReads();
    void hamQthLoginFailures_data();
    void hamQthLoginFailures();
    void hamQthStaleSessionLogsInOnceMore();
    void firstThatAnswers_data();
    void firstThatAnswers();
    void cacheAnswersWithoutNetwork();
    void overTheWireQrzRefusesHamQthAnswers();

private:
    void storeQrz() { CallbookLogin(*settings_).store("N0CALL", "secret"); }
    void storeHam() { CallbookLogin(*settings_).storeHamQth("n0call", "h&m"); }
    std::unique_ptr<CallbookManager> manager(HttpClient& http, bool cached = true)
    {
        return std::make_unique<CallbookManager>(http, *settings_, cached ? cachePath() : QString(), clock_);
    }
    QString cachePath() const { return home_->dataRoot() + CallbookCache::kFileName; }
    // Starts a lookup and waits for its one answer.
    template <typename Book>
    CallbookResult lookedUp(Book& book, const QString& call)
    {
        QList<CallbookResult> got;
        const auto c = connect(&book, &Book::answered, this, [&](const QString& answeredCall, const CallbookResult& r) {
            if (answeredCall == call)
                got.append(r);
        });
        book.lookup(call);
        answeredInside_ += int(got.size());
        (void)QTest::qWaitFor([&] { return !got.isEmpty(); }, 5000);  // none: the result says so
        QTest::qWait(0);
        disconnect(c);
        answeredTwice_ += got.size() > 1 ? 1 : 0;
        return got.isEmpty() ? CallbookResult{CallbookError::BadReply, {}, "no answer", "NONE"} : got.first();
    }

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<SettingsStore> settings_;
    FakeHttpClient http_;
    FakeClock clock_;
    int answeredInside_ = 0;
    int answeredTwice_ = 0;
};

void TstCallbookFallback::init()
{
    home_ = std::make_unique<TestHome>();
    QVERIFY(QDir().mkpath(home_->dataRoot()));
    settings_ = std::make_unique<SettingsStore>(home_->settingsFile());
    settings_->SaveSetting("Servers", "QrzXml", "http://qrz.test");
    settings_->SaveSetting("Servers", "HamQth", "http://ham.test");
    http_ = FakeHttpClient();
    answeredInside_ = answeredTwice_ = 0;
}

void TstCallbookFallback::cleanup()
{
    QCOMPARE(answeredInside_, 0);
    QCOMPARE(answeredTwice_, 0);
    settings_.reset();
    home_.reset();
}

void TstCallbookFallback::hamQthReads_data()
{
    using E = CallbookError;
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<CallbookError>("error");
    QTest::addColumn<CallsignInfo>("info");
    QTest::newRow("full") << kHamK2new << E::None << CallsignInfo{"K2NEW", "Mary", "Albany", "NY"};
    QTest::newRow("no nick: the address name")
        << hamFound("<callsign>k2new</callsign><adr_name>Mary Ann Smith</adr_name><qth>Troy</qth>") << E::None
        << CallsignInfo{"K2NEW", "Mary Ann Smith", "Troy", ""};
    QTest::newRow("city before qth")
        << hamFound("<callsign>ok2abc</callsign><nick>Petr</nick><qth>Near Prague</qth><adr_city>Praha</adr_city>")
        << E::None << CallsignInfo{"OK2ABC", "Petr", "Praha", ""};
    QTest::newRow("entities") << hamFound("<callsign>k7abc</callsign><nick>Jos&#233;</nick>"
                                          "<adr_city>Coeur d&apos;Alene</adr_city><us_state>ID</us_state>")
                              << E::None << CallsignInfo{"K7ABC", QString::fromUtf8("Jos\u00e9"), "Coeur d'Alene", "ID"};
    QTest::newRow("unknown call") << hamSession("<error>Callsign not found</error>") << E::NotFound << CallsignInfo{};
    QTest::newRow("call not closed") << hamFound("<callsign>k2new<nick>Mary</nick>") << E::BadReply
                                     << CallsignInfo{"", "Mary", "", ""};
    QTest::newRow("html page") << QByteArray("<html><body>Down for maintenance</body></html>") << E::BadReply
                               << CallsignInfo{};
    QTest::newRow("empty") << QByteArray() << E::BadReply << CallsignInfo{};
}

void TstCallbookFallback::hamQthReads()
{
    QFETCH(QByteArray, reply);
    QFETCH(CallbookError, error);
    QFETCH(CallsignInfo, info);
    storeHam();
    http_.set(kHamLogin, hamSession("<session_id>s1</session_id>"));
    http_.set(hamLookup("K2NEW"), reply);
    HamQthClient ham(http_, *settings_);
    const CallbookResult out = lookedUp(ham, "K2NEW");
    QCOMPARE(out.error, error);
    QCOMPARE(out.info, info);
    QCOMPARE(out.source, QString("HAMQTH"));
    QCOMPARE(http_.requested, (QStringList{kHamLogin, hamLookup("K2NEW")}));
}

void TstCallbookFallback::hamQthLoginFailures_data()
{
    using E = CallbookError;
    QTest::addColumn<HttpResult>("reply");
    QTest::addColumn<CallbookError>("error");
    QTest::addColumn<bool>("retried");
    QTest::newRow("wrong password") << FakeHttpClient::Body(hamSession("<error>Wrong user name or password</error>"))
                                    << E::LoginRefused << false;
    QTest::newRow("no session id") << FakeHttpClient::Body(hamSession("")) << E::LoginRefused << false;
    QTest::newRow("no reply") << FakeHttpClient::Failure() << E::Unreachable << true;
    QTest::newRow("404") << FakeHttpClient::Body("<html>Not Found</html>", 404) << E::Unreachable << true;
    QTest::newRow("html page") << FakeHttpClient::Body("<html><body>Sign in<br></body></html>") << E::BadReply
                               << true;
}

void TstCallbookFallback::hamQthLoginFailures()
{
    QFETCH(HttpResult, reply);
    QFETCH(CallbookError, error);
    QFETCH(bool, retried);
    storeHam();
    http_.set(kHamLogin, reply);
    HamQthClient ham(http_, *settings_);
    QCOMPARE(lookedUp(ham, "K2NEW").error, error);
    QCOMPARE(lookedUp(ham, "K2NEW").error, error);
    // A refusal stands until the login changes; anything else is tried again.
    QCOMPARE(http_.count(kHamLogin), retried ? 2 : 1);
    QCOMPARE(http_.requested.size(), retried ? 2 : 1);
}

void TstCallbookFallback::hamQthStaleSessionLogsInOnceMore()
{
    storeHam();
    http_.sequence(kHamLogin, {FakeHttpClient::Body(hamSession("<session_id>s1</session_id>")),
                               FakeHttpClient::Body(hamSession("<session_id>s2</session_id>"))});
    http_.set(hamLookup("K2NEW"), hamSession("<error>Session does not exist or expired</error>"));
    http_.set(kHam + "id=s2&callsign=K2NEW&prg=VELN", kHamK2new);
    HamQthClient ham(http_, *settings_);
    const CallbookResult out = lookedUp(ham, "K2NEW");
    QCOMPARE(out.error, CallbookError::None);
    QCOMPARE(out.info.firstName, QString("Mary"));
    QCOMPARE(http_.count(kHamLogin), 2);
    QCOMPARE(http_.requested.size(), 4);
}

void TstCallbookFallback::firstThatAnswers_data()
{
    using E = CallbookError;
    QTest::addColumn<bool>("qrzSetUp");
    QTest::addColumn<bool>("hamSetUp");
    QTest::addColumn<HttpResult>("qrzLogin");
    QTest::addColumn<HttpResult>("qrzReply");
    QTest::addColumn<HttpResult>("hamLogin");
    QTest::addColumn<CallbookError>("error");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("hamRequests");
    const HttpResult key = FakeHttpClient::Body(kQrzKey);
    const HttpResult qrzFound = FakeHttpClient::Body("<Callsign><call>K2NEW</call><fname>Ann</fname></Callsign>");
    const HttpResult qrzNotFound = FakeHttpClient::Body("<Session><Error>Not found: K2NEW</Error></Session>");
    const HttpResult hamKey = FakeHttpClient::Body(hamSession("<session_id>s1</session_id>"));
    const HttpResult hamRefused = FakeHttpClient::Body(hamSession("<error>Wrong user name or password</error>"));
    const HttpResult down = FakeHttpClient::Failure();
    QTest::newRow("QRZ finds") << true << true << key << qrzFound << hamKey << E::None << "QRZ" << "Ann" << 0;
    QTest::newRow("QRZ does not know the call")
        << true << true << key << qrzNotFound << hamKey << E::NotFound << "QRZ" << "" << 0;
    QTest::newRow("QRZ refuses the login")
        << true << true << FakeHttpClient::Body(kQrzRefused) << qrzFound << hamKey << E::None << "HAMQTH" << "Mary"
        << 2;
    QTest::newRow("QRZ not reachable") << true << true << down << qrzFound << hamKey << E::None << "HAMQTH" << "Mary"
                                       << 2;
    QTest::newRow("QRZ lookup fails") << true << true << key << FakeHttpClient::Body("oops", 500) << hamKey << E::None
                                      << "HAMQTH" << "Mary" << 2;
    QTest::newRow("QRZ reply not understood") << true << true << key << FakeHttpClient::Body("<html>busy</html>")
                                              << hamKey << E::None << "HAMQTH" << "Mary" << 2;
    QTest::newRow("QRZ not set up") << false << true << key << qrzFound << hamKey << E::None << "HAMQTH" << "Mary"
                                    << 2;
    QTest::newRow("both fail: the first failure")
        << true << true << FakeHttpClient::Body(kQrzRefused) << qrzFound << hamRefused << E::LoginRefused << "QRZ"
        << "" << 1;
    QTest::newRow("HamQTH not set up") << true << false << down << qrzFound << hamKey << E::Unreachable << "QRZ" << ""
                                       << 0;
}

void TstCallbookFallback::firstThatAnswers()
{
    QFETCH(bool, qrzSetUp);
    QFETCH(bool, hamSetUp);
    QFETCH(HttpResult, qrzLogin);
    QFETCH(HttpResult, qrzReply);
    QFETCH(HttpResult, hamLogin);
    QFETCH(CallbookError, error);
    QFETCH(int, hamRequests);
    if (qrzSetUp)
        storeQrz();
    if (hamSetUp)
        storeHam();
    http_.set(kQrzLogin, qrzLogin);
    http_.set(qrzLookup("K2NEW"), qrzReply);
    http_.set(kHamLogin, hamLogin);
    http_.set(hamLookup("K2NEW"), kHamK2new);
    auto books = manager(http_);
    QVERIFY(books->isSetUp());
    const CallbookResult out = lookedUp(*books, "K2NEW");
    QCOMPARE(out.error, error);
    QTEST(out.source, "source");
    QTEST(out.info.firstName, "name");
    QCOMPARE(int(std::count_if(http_.requested.cbegin(), http_.requested.cend(),
                               [](const QString& a) { return a.startsWith(kHam); })),
             hamRequests);
    QCOMPARE(http_.count(kQrzLogin), qrzSetUp ? 1 : 0);
    // Answers are kept; failures are not.
    QCOMPARE(books->cache()->find("K2NEW").has_value(), out.answered());
}

void TstCallbookFallback::cacheAnswersWithoutNetwork()
{
    storeQrz();
    http_.set(kQrzLogin, kQrzKey);
    http_.set(qrzLookup("K2NEW"), "<Callsign><call>K2NEW</call><fname>Ann</fname><addr2>Troy</addr2></Callsign>");
    http_.set(qrzLookup("K2ZZZ"), "<Session><Error>Not found: K2ZZZ</Error></Session>");
    {
        auto books = manager(http_);
        QCOMPARE(lookedUp(*books, "K2NEW").source, QString("QRZ"));
        QCOMPARE(lookedUp(*books, "K2ZZZ").error, CallbookError::NotFound);
        QCOMPARE(http_.requested.size(), 3);
        QCOMPARE(lookedUp(*books, "K2NEW").source, QString("CACHE"));  // asked once only
        QCOMPARE(http_.requested.size(), 3);
    }
    // The next run, with no network at all.
    FakeHttpClient offline;
    auto books = manager(offline);
    const CallbookResult found = lookedUp(*books, "K2NEW");
    QCOMPARE(found.error, CallbookError::None);
    QCOMPARE(found.source, QString("CACHE"));
    QCOMPARE(found.info, (CallsignInfo{"K2NEW", "Ann", "Troy", ""}));
    QCOMPARE(lookedUp(*books, "K2ZZZ").error, CallbookError::NotFound);
    QVERIFY(offline.requested.isEmpty());
    // A call never asked still goes to the network, and fails there.
    QCOMPARE(lookedUp(*books, "K2OTH").error, CallbookError::Unreachable);
    QCOMPARE(offline.requested, QStringList{kQrzLogin});
    // A month later the answer has run out.
    clock_.current = clock_.current.addDays(31);
    QCOMPARE(lookedUp(*books, "K2NEW").error, CallbookError::Unreachable);
}

void TstCallbookFallback::overTheWireQrzRefusesHamQthAnswers()
{
    HttpTestServer server;
    server.reply("/xml/current/", kQrzRefused);
    server.replySequence("/xml.php", {hamSession("<session_id>f00d</session_id>"), kHamK2new});
    settings_->SaveSetting("Servers", "QrzXml", server.base());
    settings_->SaveSetting("Servers", "HamQth", server.base());
    storeQrz();
    storeHam();
    QtHttpClient client;
    auto books = manager(client, false);
    const CallbookResult out = lookedUp(*books, "K2NEW");
    QCOMPARE(out.error, CallbookError::None);
    QCOMPARE(out.source, QString("HAMQTH"));
    QCOMPARE(out.info, (CallsignInfo{"K2NEW", "Mary", "Albany", "NY"}));
    QCOMPARE(CallbookAnsweredText("K2NEW", out), QString("K2NEW FROM HAMQTH"));
    const QList<HttpTestServer::Request> got = server.requests();
    QCOMPARE(got.size(), 3);
    QCOMPARE(got.at(0).query, QByteArray("username=N0CALL;password=secret"));
    QCOMPARE(got.at(1).query, QByteArray("u=n0call&p=h%26m"));
    QCOMPARE(got.at(2).query, QByteArray("id=f00d&callsign=K2NEW&prg=VELN"));
    // The refused QRZ login is not asked again; HamQTH's session is kept.
    server.replySequence("/xml.php", {kHamK2new});
    server.clearRequests();
    auto again = lookedUp(*books, "K2NEW");
    QCOMPARE(again.source, QString("HAMQTH"));
    QCOMPARE(server.requests().size(), 1);
}

VELN_TEST(TstCallbookFallback)
#include "tst_callbook_fallback.moc"
