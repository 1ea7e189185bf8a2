#include "test_main.h"
#include "web/roster_page.h"
#include "web/web_roster.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A raw HTTP client on the test's own event loop, which the server shares.
class Client {
public:
    Client(quint16 port, const QByteArray& path, const QByteArray& method = "GET")
    {
        QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { bytes_ += socket_.readAll(); });
        socket_.connectToHost(QHostAddress::LocalHost, port);
        socket_.write(method + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: */*\r\n\r\n");
    }
    int status() const { return bytes_.startsWith("HTTP/1.1 ") ? bytes_.mid(9, 3).toInt() : 0; }
    QByteArray head() const { return bytes_.left(bytes_.indexOf("\r\n\r\n")); }
    QByteArray body() const
    {
        const qsizetype end = bytes_.indexOf("\r\n\r\n");
        return end < 0 ? QByteArray() : bytes_.mid(end + 4);
    }
    QByteArray header(const QByteArray& name) const
    {
        for (const QByteArray& line : head().split('\n'))
            if (line.toLower().startsWith(name.toLower() + ":"))
                return line.mid(name.size() + 1).trimmed();
        return {};
    }
    bool complete() const
    {
        return bytes_.contains("\r\n\r\n") && body().size() >= header("Content-Length").toLongLong();
    }
    QList<QJsonObject> events() const
    {
        QList<QJsonObject> out;
        for (const QByteArray& line : body().split('\n'))
            if (line.startsWith("data: "))
                out.append(QJsonDocument::fromJson(line.mid(6)).object());
        return out;
    }
    const QByteArray& bytes() const { return bytes_; }
    QTcpSocket& socket() { return socket_; }

private:
    QTcpSocket socket_;
    QByteArray bytes_;
};

QJsonObject station(const QString& call, const QJsonValue& name = "BOB", const QJsonValue& out = QJsonValue::Null)
{
    return {{"call", call}, {"name", name}, {"qth", "CHICAGO IL"}, {"member", true},
            {"in", "2026-12-09T19:42:05Z"}, {"out", out}};
}

QJsonObject snapshot(const QJsonArray& stations, int seq = 1)
{
    return {{"net", "club-net"}, {"epoch", 1}, {"seq", seq},
            {"netControl", QJsonObject{{"call", "W1AW"}, {"name", "HIRAM"}}},
            {"checkins", stations.size()}, {"traffic", 3}, {"stations", stations}};
}

std::unique_ptr<Client> get(quint16 port, const QByteArray& path)
{
    auto c = std::make_unique<Client>(port, path);
    if (!QTest::qWaitFor([&] { return c->complete(); }, 5000))
        qWarning() << "no whole reply for" << path << c->bytes().left(200);
    return c;
}

// Drives a headless chromium over its debugging pipe (fd 3 in, fd 4 out,
// NUL-terminated JSON), so the test reads the live page the script redraws.
class Browser {
public:
    explicit Browser(const QString& url)
    {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
            return;
        toBrowser_ = in[1];
        fromBrowser_ = out[0];
        ::fcntl(fromBrowser_, F_SETFL, O_NONBLOCK);
        // Copied above the numbers the child needs first, so one move never closes another.
        process_.setChildProcessModifier([in, out] {
            const int childIn = ::fcntl(in[0], F_DUPFD_CLOEXEC, 10), childOut = ::fcntl(out[1], F_DUPFD_CLOEXEC, 10);
            ::dup2(childIn, 3);
            ::dup2(childOut, 4);
        });
        process_.start("/usr/bin/chromium", {"--headless", "--no-sandbox", "--disable-gpu", "--remote-debugging-pipe",
                                             "--user-data-dir=" + profile_.path(), url});
        ::close(in[0]);
        ::close(out[1]);
    }
    ~Browser()
    {
        if (process_.state() != QProcess::NotRunning) {
            send("Browser.close", {});
            if (!QTest::qWaitFor([&] { return process_.state() == QProcess::NotRunning; }, 5000)) {
                process_.kill();
                process_.waitForFinished(5000);
            }
        }
        ::close(toBrowser_);
        ::close(fromBrowser_);
    }

    // The reply's "result", or an empty object after 20 s.
    QJsonObject call(const QString& method, const QJsonObject& params, const QString& session = {})
    {
        const int id = send(method, params, session);
        QJsonObject result;
        (void)QTest::qWaitFor([&] {
            char chunk[65536];
            ssize_t n;
            while ((n = ::read(fromBrowser_, chunk, sizeof chunk)) > 0)
                buffer_.append(chunk, n);
            qsizetype end;
            while ((end = buffer_.indexOf('\0')) >= 0) {
                const QJsonObject message = QJsonDocument::fromJson(buffer_.left(end)).object();
                buffer_.remove(0, end + 1);
                if (message.value("id").toInt() == id)
                    result = message.value("result").toObject();
            }
            return !result.isEmpty() || process_.state() == QProcess::NotRunning;
        }, 20000);
        return result;
    }

    // The value of a script expression in the page.
    QString evaluate(const QString& session, const QString& expression)
    {
        return call("Runtime.evaluate", {{"expression", expression}, {"returnByValue", true}}, session)
            .value("result").toObject().value("value").toString();
    }

private:
    int send(const QString& method, const QJsonObject& params, const QString& session = {})
    {
        QJsonObject message{{"id", ++lastId_}, {"method", method}, {"params", params}};
        if (!session.isEmpty())
            message["sessionId"] = session;
        const QByteArray bytes = QJsonDocument(message).toJson(QJsonDocument::Compact) + '\0';
        if (::write(toBrowser_, bytes.constData(), size_t(bytes.size())) != bytes.size())
            qWarning() << "browser pipe closed";
        return lastId_;
    }

    QTemporaryDir profile_;
    QProcess process_;
    QByteArray buffer_;
    int toBrowser_ = -1, fromBrowser_ = -1;
    int lastId_ = 0;
};

}  // namespace

// The follower's web page: what it serves, what it never serves, and its stream.
class TstWebRoster : public QObject {
    Q_OBJECT
private slots:
    void init();

    void page_data();
    void page();
    void onlyRosterFieldsServed();
    void listenRefusesTakenPort();
    void notFound_data();
    void notFound();
    void streamCarriesEachShow();
    void streamLimit();
    void streamThatStopsReadingIsClosed();
    void browserFollowsStream();

private:
    std::unique_ptr<WebRoster> web_;
};

void TstWebRoster::init()
{
    web_ = std::make_unique<WebRoster>();
    QVERIFY2(web_->listen(0, QHostAddress::LocalHost), qPrintable(web_->errorText()));
}

void TstWebRoster::page_data()
{
    QTest::addColumn<QJsonObject>("odd");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("absent");

    QTest::newRow("plain, still in") << station("KB9XYZ")
        << QStringList{"<li class=\"st\"><span class=\"call\">KB9XYZ</span> <span class=\"name\">BOB</span> "
                       "<span class=\"qth\">CHICAGO IL</span> <span class=\"t\">in 19:42</span></li>"}
        << QStringList{"out "};
    QTest::newRow("checked out") << station("KB9XYZ", "BOB", "2026-12-09T20:01:30Z")
        << QStringList{"<li class=\"st out\">", "<span class=\"t\">out 20:01</span>"} << QStringList{};
    QTest::newRow("script as call") << station("<script>alert(1)</script>")
        << QStringList{"&lt;script&gt;alert(1)&lt;/script&gt;"} << QStringList{"<script>alert"};
    QTest::newRow("markup in name") << station("K1ABC", "\"><img src=x onerror=alert(1)>&amp;")
        << QStringList{"&quot;&gt;&lt;img src=x onerror=alert(1)&gt;&amp;amp;"} << QStringList{"<img"};
    QTest::newRow("accents kept") << station("EA4XYZ", QString::fromUtf8("JOSÉ ÑÚÑEZ"))
        << QStringList{QString::fromUtf8("JOSÉ ÑÚÑEZ")} << QStringList{};
    QTest::newRow("control characters dropped") << station("K1ABC", QString("AN") + QChar(0) + "N\x1b[2J")
        << QStringList{">ANN[2J<"} << QStringList{};
    QTest::newRow("number as name") << station("K1ABC", 4711)
        << QStringList{"<span class=\"name\"></span>"} << QStringList{"4711"};
    QTest::newRow("long name cut") << station("K1ABC", QString(5000, 'X'))
        << QStringList{">" + QString(200, 'X') + "<"} << QStringList{QString(201, 'X')};
    QTest::newRow("time that is no time") << station("K1ABC", "BOB", "soon")
        << QStringList{"<li class=\"st\"><span class=\"call\">K1ABC</span>"} << QStringList{"soon", "out "};
}

void TstWebRoster::page()
{
    QFETCH(QJsonObject, odd);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, absent);

    auto empty = get(web_->port(), "/");
    QCOMPARE(empty->status(), 200);
    QVERIFY(empty->body().contains("Waiting for the net."));

    web_->show(snapshot({station("W9AAA", "FIRST"), odd, station("W9ZZZ", "LAST")}), false);
    auto c = get(web_->port(), "/");
    QCOMPARE(c->status(), 200);
    QCOMPARE(c->header("Content-Type"), QByteArray("text/html; charset=utf-8"));
    const QString page = QString::fromUtf8(c->body());
    QVERIFY(page.contains("<meta name=\"viewport\""));
    QVERIFY(page.contains("<span class=\"call\" id=\"nc-call\">W1AW</span> <span id=\"nc-name\">HIRAM</span> "
                          "<span id=\"nc-online\" class=\"off\">offline</span>"));
    QVERIFY(page.contains("Check-ins: <b id=\"checkins\">3</b> Traffic: <b id=\"traffic\">3</b>"));
    // In check-in order, the odd one between its neighbours.
    QCOMPARE(page.count("<li class=\"st"), 3);
    const qsizetype second = page.indexOf("<li class=\"st", page.indexOf("<li class=\"st") + 1);
    const qsizetype third = page.indexOf("<li class=\"st", second + 1);
    QVERIFY(page.indexOf("FIRST") < second);
    QVERIFY(page.indexOf("LAST") > third);
    for (const QString& s : shown)
        QVERIFY2(page.contains(s), qPrintable(s));
    const QString stations = page.section("<ol id=\"stations\">", 1).section("</ol>", 0, 0);
    for (const QString& s : absent)
        QVERIFY2(!stations.contains(s), qPrintable(s));

    web_->show(snapshot({odd}), true);
    QVERIFY(get(web_->port(), "/")->body().contains("<span id=\"nc-online\" class=\"on\">online</span>"));
}

void TstWebRoster::onlyRosterFieldsServed()
{
    QJsonObject net = snapshot({});
    QJsonObject withSecret = station("K1ABC");
    withSecret["password"] = "hunter2-station";
    net["stations"] = QJsonArray{withSecret};
    QJsonObject nc = net["netControl"].toObject();
    nc["password"] = "hunter2-control";
    net["netControl"] = nc;
    net["password"] = "hunter2-top";
    net["login"] = QJsonObject{{"user", "hunter2-user"}};
    net["net"] = QJsonObject{{"password", "hunter2-nested"}};

    Client stream(web_->port(), "/events");
    QVERIFY(QTest::qWaitFor([&] { return web_->streamCount() == 1; }, 5000));
    web_->show(net, true);
    QVERIFY(QTest::qWaitFor([&] { return stream.events().size() == 1; }, 5000));
    const QByteArray page = get(web_->port(), "/")->bytes();
    QVERIFY(page.contains("K1ABC"));
    for (const QByteArray& reply : {page, stream.bytes()}) {
        QVERIFY(!reply.contains("hunter2"));
        QVERIFY(!reply.contains("password"));
        QVERIFY(!reply.contains("login"));
    }
    const QJsonObject served = stream.events().first();
    QCOMPARE(served.keys(), QStringList({"checkins", "epoch", "net", "netControl", "seq", "stations", "traffic"}));
    QCOMPARE(served["stations"][0].toObject().keys(), QStringList({"call", "in", "member", "name", "out", "qth"}));
    QCOMPARE(served["netControl"].toObject().keys(), QStringList({"call", "name", "online"}));
}

void TstWebRoster::listenRefusesTakenPort()
{
    WebRoster second;
    QVERIFY(!second.listen(web_->port(), QHostAddress::LocalHost));
    QVERIFY2(second.errorText().contains(QString::number(web_->port())), qPrintable(second.errorText()));
}

void TstWebRoster::notFound_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("path");
    QTest::newRow("unknown") << QByteArray("GET") << QByteArray("/nothing");
    QTest::newRow("below events") << QByteArray("GET") << QByteArray("/events/more");
    QTest::newRow("file name") << QByteArray("GET") << QByteArray("/index.html");
    QTest::newRow("climbing out") << QByteArray("GET") << QByteArray("/../../etc/passwd");
    QTest::newRow("posting") << QByteArray("POST") << QByteArray("/");
}

void TstWebRoster::notFound()
{
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, path);
    web_->show(snapshot({station("K1ABC")}), true);
    Client c(web_->port(), path, method);
    QVERIFY(QTest::qWaitFor([&] { return c.complete(); }, 5000));
    QCOMPARE(c.status(), 404);
    QVERIFY(!c.body().contains("K1ABC"));
}

void TstWebRoster::streamCarriesEachShow()
{
    web_->setKeepAliveInterval(100);
    Client first(web_->port(), "/events");
    QVERIFY(QTest::qWaitFor([&] { return first.bytes().contains("\r\n\r\n"); }, 5000));
    QCOMPARE(first.status(), 200);
    QCOMPARE(first.header("Content-Type"), QByteArray("text/event-stream; charset=utf-8"));
    QCOMPARE(first.header("Cache-Control"), QByteArray("no-cache"));
    QVERIFY(first.header("Content-Length").isEmpty());

    for (int seq = 1; seq <= 3; ++seq)
        web_->show(snapshot({station("K1ABC"), station("W2XYZ")}, seq), true);
    QVERIFY(QTest::qWaitFor([&] { return first.events().size() == 3; }, 1000));
    QCOMPARE(first.events().last()["seq"].toInt(), 3);
    QCOMPARE(first.events().last()["stations"][1]["call"].toString(), QString("W2XYZ"));
    QVERIFY(QTest::qWaitFor([&] { return first.body().contains("\n: keep-alive\n\n"); }, 2000));

    // A stream opened later starts from the net as it stands.
    Client late(web_->port(), "/events");
    QVERIFY(QTest::qWaitFor([&] { return late.events().size() == 1; }, 5000));
    QCOMPARE(late.events().first()["seq"].toInt(), 3);

    QCOMPARE(web_->streamCount(), 2);
    first.socket().disconnectFromHost();
    QVERIFY(QTest::qWaitFor([&] { return web_->streamCount() == 1; }, 5000));
    web_->show(snapshot({}, 4), false);
    QVERIFY(QTest::qWaitFor([&] { return late.events().size() == 2; }, 1000));
}

void TstWebRoster::streamLimit()
{
    std::vector<std::unique_ptr<Client>> streams;
    for (int i = 0; i < WebRoster::kMaxStreams; ++i)
        streams.push_back(std::make_unique<Client>(web_->port(), "/events"));
    QVERIFY(QTest::qWaitFor([&] { return web_->streamCount() == WebRoster::kMaxStreams; }, 10000));

    Client refused(web_->port(), "/events");
    QVERIFY(QTest::qWaitFor([&] { return refused.complete(); }, 5000));
    QCOMPARE(refused.status(), 503);
    QCOMPARE(get(web_->port(), "/")->status(), 200);  // the page itself is still served

    streams.front()->socket().abort();
    QVERIFY(QTest::qWaitFor([&] { return web_->streamCount() == WebRoster::kMaxStreams - 1; }, 5000));
    Client admitted(web_->port(), "/events");
    QVERIFY(QTest::qWaitFor([&] { return admitted.status() != 0; }, 5000));
    QCOMPARE(admitted.status(), 200);
}

void TstWebRoster::streamThatStopsReadingIsClosed()
{
    // A visitor that never reads, with a small window so the kernel holds little for it.
    const int stalled = ::socket(AF_INET, SOCK_STREAM, 0);
    const int small = 4096;
    ::setsockopt(stalled, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(web_->port());
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    QCOMPARE(::connect(stalled, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    const QByteArray request = "GET /events HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    QCOMPARE(::write(stalled, request.constData(), size_t(request.size())), ssize_t(request.size()));
    Client reading(web_->port(), "/events");
    QVERIFY(QTest::qWaitFor([&] { return web_->streamCount() == 2; }, 5000));

    QJsonArray big;
    for (int i = 0; i < 4000; ++i)
        big.append(station(QString("K%1").arg(i), QString(200, 'N')));
    for (int seq = 1; seq <= 10 && web_->streamCount() == 2; ++seq) {
        web_->show(snapshot(big, seq), true);
        QTest::qWait(50);
    }
    const bool dropped = QTest::qWaitFor([&] { return web_->streamCount() == 1; }, 5000);
    ::close(stalled);
    QVERIFY(dropped);
    QVERIFY(QTest::qWaitFor([&] { return !reading.events().isEmpty(); }, 5000));
}

void TstWebRoster::browserFollowsStream()
{
    if (!QFile::exists("/usr/bin/chromium"))
        QSKIP("no chromium on this machine");
    web_->show(snapshot({station("K1ABC")}, 1), true);
    const QString url = QString("http://127.0.0.1:%1/").arg(web_->port());
    Browser browser(url);

    QString target;
    QVERIFY(QTest::qWaitFor([&] {
        for (const QJsonValue& t : browser.call("Target.getTargets", {}).value("targetInfos").toArray())
            if (t["type"].toString() == "page" && t["url"].toString() == url)
                target = t["targetId"].toString();
        return !target.isEmpty();
    }, 20000));
    const QString session =
        browser.call("Target.attachToTarget", {{"targetId", target}, {"flatten", true}}).value("sessionId").toString();
    QVERIFY(!session.isEmpty());
    // Station texts, the checked-out calls, and anything an escaped text might have become.
    const QString look = "JSON.stringify([document.getElementById('checkins').textContent,"
                         "[...document.querySelectorAll('#stations li')].map(e => e.textContent).join('|'),"
                         "[...document.querySelectorAll('#stations li.out .call')].map(e => e.textContent).join('|'),"
                         "document.querySelectorAll('#stations img, #stations script').length,"
                         "document.getElementById('nc-online').textContent])";
    QVERIFY(QTest::qWaitFor([&] { return browser.evaluate(session, look).contains("K1ABC BOB"); }, 20000));
    QVERIFY(QTest::qWaitFor([&] { return web_->streamCount() == 1; }, 10000));

    web_->show(snapshot({station("K1ABC", "BOB", "2026-12-09T20:01:30Z"), station("W2NEW", "<img src=x onerror=alert(1)>")}, 2),
               false);
    QString seen;
    QVERIFY(QTest::qWaitFor([&] { return (seen = browser.evaluate(session, look)).contains("W2NEW"); }, 5000));
    QCOMPARE(seen, QString(R"(["2","K1ABC BOB CHICAGO IL in 19:42 out 20:01|W2NEW <img src=x onerror=alert(1)> CHICAGO IL in 19:42","K1ABC",0,"offline"])"));
}

VELN_TEST(TstWebRoster)
#include "tst_web_roster.moc"
