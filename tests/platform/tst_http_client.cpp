#include "http_test_server.h"
#include "platform/qt_http_client.h"
#include "test_main.h"

#include <QTest>

// The real client against a local scripted server.
class TstHttpClient : public QObject {
    Q_OBJECT
private slots:
    void textAndBytes();
    void textDecoding_data();
    void textDecoding();
    void followsRedirects_data();
    void followsRedirects();
    void redirectLoopFails();
    void errorStatusKeepsPage();
    void slowServerTimesOut();
    void closedMidBodyFails();
    void hugeBodyArrivesWhole();
    void oversizedBodyFails_data();
    void oversizedBodyFails();
    void drippingServerIsCutOff();
    void streamedBodyArrivesInPieces();
    void refusingSinkEndsTransfer();
    void unreachableServerFails();
    void notAnHttpAddress_data();
    void notAnHttpAddress();
    void queryArrivesAsSent();
    void clientUsableAfterFailure();
};

void TstHttpClient::textAndBytes()
{
    HttpTestServer server;
    const QByteArray binary("\x00\x01\xff\xfe\r\n\x80 end", 10);
    server.reply("/bin", binary, 200, {{"Content-Type", "application/octet-stream"}});
    server.reply("/text", "1.5\r\n", 200, {{"Content-Type", "text/plain"}});
    QtHttpClient client;

    const HttpResult bytes = client.getBytes(server.url("/bin"));
    QVERIFY2(bytes.ok, qPrintable(bytes.error));
    QCOMPARE(bytes.status, 200);
    QCOMPARE(bytes.body, binary);
    QVERIFY(bytes.error.isEmpty());

    const HttpTextResult text = client.getText(server.url("/text"));
    QVERIFY2(text.ok, qPrintable(text.error));
    QCOMPARE(text.body, QString("1.5\r\n"));
    QCOMPARE(text.contentType, QByteArray("text/plain"));
}

void TstHttpClient::textDecoding_data()
{
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");
    const QString name = QString::fromUtf8("JOS\xc3\x89 M\xc3\x9cLLER");
    QTest::newRow("utf-8 named") << QByteArray("text/xml; charset=utf-8") << name.toUtf8() << name;
    QTest::newRow("latin-1 named") << QByteArray("text/xml; charset=\"ISO-8859-1\"") << name.toLatin1() << name;
    QTest::newRow("utf-8 unnamed") << QByteArray("text/xml") << name.toUtf8() << name;
    // Not valid UTF-8 and no charset: every byte kept as Latin-1.
    QTest::newRow("latin-1 unnamed") << QByteArray() << name.toLatin1() << name;
    QTest::newRow("unknown charset") << QByteArray("text/plain; charset=x-nothing") << name.toLatin1() << name;
    QTest::newRow("wrongly named") << QByteArray("text/plain; charset=utf-8") << name.toLatin1() << name;
}

void TstHttpClient::textDecoding()
{
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    HttpTestServer server;
    HttpTestServer::Headers headers;
    if (!contentType.isEmpty())
        headers.append({"Content-Type", contentType});
    server.reply("/t", body, 200, headers);
    QtHttpClient client;
    const HttpTextResult r = client.getText(server.url("/t"));
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.body, text);
}

void TstHttpClient::followsRedirects_data()
{
    QTest::addColumn<int>("status");
    QTest::newRow("301") << 301;
    QTest::newRow("302") << 302;
    QTest::newRow("307") << 307;
}

void TstHttpClient::followsRedirects()
{
    QFETCH(int, status);
    HttpTestServer server;
    server.redirect("/old", "/middle?x=1", status);
    server.redirect("/middle", server.base() + "/new", status);
    server.reply("/new", "arrived");
    QtHttpClient client;
    const HttpResult r = client.getBytes(server.url("/old"));
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.status, 200);
    QCOMPARE(r.body, QByteArray("arrived"));
    // Qt may send a redirected GET twice when a connection closes under it.
    QVERIFY(!server.requestsFor("/middle").isEmpty());
    for (const HttpTestServer::Request& middle : server.requestsFor("/middle"))
        QCOMPARE(middle.query, QByteArray("x=1"));
    QVERIFY(!server.requestsFor("/new").isEmpty());
}

void TstHttpClient::redirectLoopFails()
{
    HttpTestServer server;
    server.redirect("/a", "/b");
    server.redirect("/b", "/a");
    QtHttpClient client;
    const HttpResult r = client.getBytes(server.url("/a"));
    QVERIFY(!r.ok);
    QVERIFY(!r.timedOut);
    QVERIFY(!r.error.isEmpty());
    QVERIFY(server.requests().size() < 50);
}

void TstHttpClient::errorStatusKeepsPage()
{
    HttpTestServer server;
    server.reply("/broken", "server trouble", 500);
    QtHttpClient client;

    const HttpResult missing = client.getBytes(server.url("/nothing/here.txt"));
    QVERIFY(!missing.ok);
    QCOMPARE(missing.status, 404);
    QVERIFY(!missing.error.isEmpty());
    QCOMPARE(missing.body, QByteArray("no such page"));

    const HttpTextResult broken = client.getText(server.url("/broken"));
    QVERIFY(!broken.ok);
    QCOMPARE(broken.status, 500);
    QCOMPARE(broken.body, QString("server trouble"));
}

void TstHttpClient::slowServerTimesOut()
{
    HttpTestServer server;
    server.stall("/slow");
    QtHttpClient client;
    const HttpResult r = client.getBytes(server.url("/slow"), 300);
    QVERIFY(!r.ok);
    QVERIFY(r.timedOut);
    QVERIFY(!r.error.isEmpty());
    QVERIFY(r.body.isEmpty());
}

void TstHttpClient::closedMidBodyFails()
{
    // With a declared length; Qt takes a chunked reply cut off by a closed
    // connection for a whole one, which no client above it can tell.
    HttpTestServer server;
    server.closeMidBody("/cut", QByteArray(4000, 'x'), 10000);
    QtHttpClient client;
    const HttpResult r = client.getBytes(server.url("/cut"), 5000);
    QVERIFY(!r.ok);
    QVERIFY(!r.timedOut);
    QVERIFY(!r.error.isEmpty());
    QVERIFY(r.body.isEmpty());  // half a body never passes for a whole one
}

void TstHttpClient::hugeBodyArrivesWhole()
{
    HttpTestServer server;
    const qint64 size = 12 * 1024 * 1024 + 7;
    server.huge("/big", size);
    QtHttpClient client;
    const HttpResult r = client.getBytes(server.url("/big"), 60000);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.body.size(), size);
    qint64 wrong = -1;
    for (qint64 i = 0; i < size; ++i) {
        if (r.body.at(i) != HttpTestServer::HugeByte(i)) {
            wrong = i;
            break;
        }
    }
    QCOMPARE(wrong, qint64(-1));
}

void TstHttpClient::oversizedBodyFails_data()
{
    QTest::addColumn<qint64>("clientCap");  // 0: the client's default
    QTest::addColumn<qint64>("requestCap");
    QTest::addColumn<bool>("declared");     // Content-Length sent
    QTest::addColumn<bool>("streamed");
    const qint64 mb = 1024 * 1024;
    QTest::newRow("client cap") << mb << qint64(0) << true << false;
    QTest::newRow("request cap, declared") << qint64(0) << qint64(64 * 1024) << true << false;
    QTest::newRow("request cap, undeclared") << qint64(0) << qint64(64 * 1024) << false << false;
    QTest::newRow("streamed, undeclared") << qint64(0) << qint64(64 * 1024) << false << true;
    QTest::newRow("request cap above client cap") << mb << 10 * mb << false << false;
}

void TstHttpClient::oversizedBodyFails()
{
    QFETCH(qint64, clientCap);
    QFETCH(qint64, requestCap);
    QFETCH(bool, declared);
    QFETCH(bool, streamed);
    HttpTestServer server;
    server.huge("/big", 3 * 1024 * 1024, declared);
    server.reply("/small", QByteArray(1000, 's'));
    QtHttpClient client(clientCap > 0 ? clientCap : QtHttpClient::kDefaultMaxBodyBytes);
    qint64 taken = 0;
    const HttpResult big = streamed
        ? client.getInto(server.url("/big"), [&](const QByteArray& piece) { return (taken += piece.size()), true; },
                         60000, requestCap)
        : client.getBytes(server.url("/big"), 60000, requestCap);
    QVERIFY(!big.ok);
    QVERIFY(!big.timedOut);
    QVERIFY(big.body.isEmpty());
    QVERIFY2(big.error.startsWith("Reply larger than"), qPrintable(big.error));
    QVERIFY(taken <= requestCap);
    QVERIFY(client.getBytes(server.url("/small"), 5000, requestCap).ok);
}

void TstHttpClient::drippingServerIsCutOff()
{
    HttpTestServer server;
    server.drip("/drip", 20);
    QtHttpClient client;
    // Each byte arrives in time; only a bound on the whole transfer ends it.
    const HttpResult r = client.getBytes(server.url("/drip"), 400);
    QVERIFY(!r.ok);
    QVERIFY(r.timedOut);
    QVERIFY(r.body.isEmpty());
}

void TstHttpClient::streamedBodyArrivesInPieces()
{
    HttpTestServer server;
    const qint64 size = 2 * 1024 * 1024 + 3;
    server.huge("/big", size);
    server.reply("/missing-page", "not here", 404);
    QtHttpClient client;
    QByteArray got;
    int pieces = 0;
    const HttpResult r = client.getInto(
        server.url("/big"), [&](const QByteArray& piece) { return ++pieces, got += piece, true; }, 60000, size);
    QVERIFY2(r.ok, qPrintable(r.error));
    QVERIFY(r.body.isEmpty());
    QCOMPARE(got.size(), size);
    QVERIFY(pieces > 1);
    QCOMPARE(got.at(size - 1), HttpTestServer::HugeByte(size - 1));
    // An error page never reaches the sink.
    got.clear();
    const HttpResult page = client.getInto(
        server.url("/missing-page"), [&](const QByteArray& piece) { return got += piece, true; }, 5000);
    QVERIFY(!page.ok);
    QVERIFY(got.isEmpty());
    QCOMPARE(page.body, QByteArray("not here"));
}

void TstHttpClient::refusingSinkEndsTransfer()
{
    HttpTestServer server;
    server.huge("/big", 8 * 1024 * 1024);
    QtHttpClient client;
    int calls = 0;
    const HttpResult r = client.getInto(server.url("/big"), [&](const QByteArray&) { return ++calls, false; }, 60000);
    QVERIFY(!r.ok);
    QCOMPARE(calls, 1);
    QCOMPARE(r.error, HttpClient::notStoredText());
}

void TstHttpClient::unreachableServerFails()
{
    QString address;
    {
        HttpTestServer gone;
        address = gone.base();
    }  // the port is closed now
    QtHttpClient client;
    const HttpResult r = client.getBytes(QUrl(address + "/x"), 5000);
    QVERIFY(!r.ok);
    QCOMPARE(r.status, 0);
    QVERIFY(!r.error.isEmpty());
}

void TstHttpClient::notAnHttpAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("empty") << "";
    QTest::newRow("no scheme") << "xmldata.example/xml";
    QTest::newRow("file") << "file:///etc/passwd";
    QTest::newRow("ftp") << "ftp://127.0.0.1/x";
    QTest::newRow("no host") << "http:///x";
}

void TstHttpClient::notAnHttpAddress()
{
    QFETCH(QString, address);
    QtHttpClient client;
    const HttpResult r = client.getBytes(QUrl(address));
    QVERIFY(!r.ok);
    QVERIFY(!r.error.isEmpty());
    QVERIFY(r.body.isEmpty());
}

void TstHttpClient::queryArrivesAsSent()
{
    HttpTestServer server;
    server.reply("/xml/current/", "<x/>");
    QtHttpClient client;
    const QString query = "username=a%3Bb;password=p%26w%3D%20%2B%23";
    QVERIFY(client.getBytes(QUrl(server.base() + "/xml/current/?" + query)).ok);
    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(server.requests().first().query, query.toUtf8());
}

void TstHttpClient::clientUsableAfterFailure()
{
    HttpTestServer server;
    server.stall("/slow");
    server.closeMidBody("/cut", "abc", 100);
    server.reply("/fine", "fine");
    QtHttpClient client;
    QVERIFY(client.getBytes(server.url("/slow"), 200).timedOut);
    QVERIFY(!client.getBytes(server.url("/cut")).ok);
    const HttpResult r = client.getBytes(server.url("/fine"));
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.body, QByteArray("fine"));
}

VELN_TEST(TstHttpClient)
#include "tst_http_client.moc"
