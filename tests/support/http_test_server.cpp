#include "http_test_server.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace {
QByteArray reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 307: return "Temporary Redirect";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}
constexpr qint64 kHugeChunk = 256 * 1024;
}  // namespace

HttpTestServer::HttpTestServer() : server_(new QTcpServer(this))
{
    if (!server_->listen(QHostAddress::LocalHost, 0))
        qFatal("HttpTestServer: cannot listen on 127.0.0.1: %s", qPrintable(server_->errorString()));
    connect(server_, &QTcpServer::newConnection, this, &HttpTestServer::onNewConnection);
}

HttpTestServer::~HttpTestServer()
{
    const auto sockets = connections_.keys();
    connections_.clear();
    for (QTcpSocket* s : sockets) {
        s->disconnect(this);
        s->abort();
    }
}

QString HttpTestServer::base() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(server_->serverPort());
}

QUrl HttpTestServer::url(const QString& pathAndQuery) const { return QUrl(base() + pathAndQuery); }

void HttpTestServer::reply(const QString& path, const QByteArray& body, int status, const Headers& headers)
{
    Script s;
    s.status = status;
    s.headers = headers;
    s.bodies = {body};
    scripts_.insert(path, s);
}

void HttpTestServer::replySequence(const QString& path, const QList<QByteArray>& bodies)
{
    Script s;
    s.bodies = bodies.isEmpty() ? QList<QByteArray>{QByteArray()} : bodies;
    scripts_.insert(path, s);
}

void HttpTestServer::redirect(const QString& path, const QString& location, int status)
{
    reply(path, "moved", status, {{"Location", location.toUtf8()}});
}

void HttpTestServer::stall(const QString& path)
{
    Script s;
    s.kind = Kind::Stall;
    s.size = 100;
    scripts_.insert(path, s);
}

void HttpTestServer::closeMidBody(const QString& path, const QByteArray& sent, qint64 declaredLength)
{
    Script s;
    s.kind = Kind::CloseMidBody;
    s.bodies = {sent};
    s.size = declaredLength;
    scripts_.insert(path, s);
}

void HttpTestServer::huge(const QString& path, qint64 size, bool declareLength)
{
    Script s;
    s.kind = Kind::Huge;
    s.size = size;
    s.declareLength = declareLength;
    scripts_.insert(path, s);
}

void HttpTestServer::drip(const QString& path, int intervalMs)
{
    Script s;
    s.kind = Kind::Drip;
    s.size = intervalMs;
    scripts_.insert(path, s);
}

QList<HttpTestServer::Request> HttpTestServer::requestsFor(const QString& path) const
{
    QList<Request> found;
    for (const Request& r : requests_)
        if (r.path == path)
            found.append(r);
    return found;
}

void HttpTestServer::onNewConnection()
{
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        connections_.insert(socket, Connection{});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { feedHuge(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            connections_.remove(socket);
            socket->deleteLater();
        });
    }
}

void HttpTestServer::onReadyRead(QTcpSocket* socket)
{
    auto it = connections_.find(socket);
    if (it == connections_.end())
        return;
    it->received += socket->readAll();
    if (it->answered || !it->received.contains("\r\n\r\n"))
        return;
    it->answered = true;
    // "GET /path?query HTTP/1.1"
    const QList<QByteArray> requestLine = it->received.left(it->received.indexOf("\r\n")).split(' ');
    answer(socket, requestLine.size() >= 2 ? requestLine.at(1) : QByteArray("/"));
}

QByteArray HttpTestServer::head(int status, const Headers& headers)
{
    QByteArray h = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) + "\r\n";
    for (const auto& [name, value] : headers)
        h += name + ": " + value + "\r\n";
    h += "Connection: close\r\n\r\n";
    return h;
}

void HttpTestServer::answer(QTcpSocket* socket, const QByteArray& target)
{
    const qsizetype q = target.indexOf('?');
    Request request{target, QString::fromUtf8(q < 0 ? target : target.left(q)), q < 0 ? QByteArray() : target.mid(q + 1)};
    requests_.append(request);

    auto it = scripts_.find(request.path);
    if (it == scripts_.end()) {
        const QByteArray body = "no such page";
        socket->write(head(404, {{"Content-Length", QByteArray::number(body.size())}}) + body);
        socket->disconnectFromHost();
        return;
    }
    Script& s = *it;
    const QByteArray body = s.bodies.isEmpty() ? QByteArray() : s.bodies.at(qMin<qsizetype>(s.served, s.bodies.size() - 1));
    ++s.served;
    switch (s.kind) {
    case Kind::Complete: {
        Headers headers = s.headers;
        headers.append({"Content-Length", QByteArray::number(body.size())});
        socket->write(head(s.status, headers) + body);
        break;  // the client closes, as "Connection: close" asks
    }
    case Kind::Stall:
        socket->write(head(200, {{"Content-Length", QByteArray::number(s.size)}}));
        break;  // and never more
    case Kind::CloseMidBody:
        socket->write(head(200, {{"Content-Length", QByteArray::number(s.size)}}) + body);
        socket->disconnectFromHost();
        break;
    case Kind::Huge: {
        Connection& c = connections_[socket];
        c.hugeLeft = s.size;
        c.hugeNext = 0;
        Headers headers{{"Content-Type", "application/octet-stream"}};
        if (s.declareLength)
            headers.append({"Content-Length", QByteArray::number(s.size)});
        socket->write(head(200, headers));
        feedHuge(socket);
        break;
    }
    case Kind::Drip: {
        socket->write(head(200, {}));  // no length: the body ends when the connection does
        auto* timer = new QTimer(socket);
        connect(timer, &QTimer::timeout, socket, [socket] { socket->write("d"); });
        timer->start(int(s.size));
        break;
    }
    }
}

void HttpTestServer::feedHuge(QTcpSocket* socket)
{
    auto it = connections_.find(socket);
    if (it == connections_.end() || it->hugeLeft <= 0 || socket->bytesToWrite() > kHugeChunk)
        return;
    const qint64 n = qMin(kHugeChunk, it->hugeLeft);
    QByteArray chunk(n, Qt::Uninitialized);
    for (qint64 i = 0; i < n; ++i)
        chunk[i] = HugeByte(it->hugeNext + i);
    it->hugeNext += n;
    it->hugeLeft -= n;
    socket->write(chunk);
    if (it->hugeLeft == 0)
        socket->disconnectFromHost();
}
