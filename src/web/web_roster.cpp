#include "web/web_roster.h"

#include "web/roster_page.h"

#include <QCryptographicHash>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// A visitor that stops reading is closed once this much waits for it.
constexpr qint64 kMaxBacklog = 4 * 1024 * 1024;

QByteArray securityPolicy()
{
    const QByteArray hash = QCryptographicHash::hash(RosterPage::script(), QCryptographicHash::Sha256).toBase64();
    return "default-src 'none'; style-src 'unsafe-inline'; connect-src 'self'; script-src 'sha256-" + hash + "'";
}

}  // namespace

WebRoster::WebRoster(QObject* parent) : QObject(parent), server_(std::make_unique<QHttpServer>())
{
    keepAlive_.setInterval(15000);
    connect(&keepAlive_, &QTimer::timeout, this, [this] { send(": keep-alive\n\n"); });

    const QByteArray policy = securityPolicy();
    server_->route("/", QHttpServerRequest::Method::Get, [this, policy](QHttpServerResponder&& responder) {
        // Drawn when asked for: a busy net updates far more often than anyone loads the page.
        if (page_.isEmpty())
            page_ = RosterPage::html(served_);
        responder.write(page_, {{"Content-Type", "text/html; charset=utf-8"},
                                {"Cache-Control", "no-cache"},
                                {"Content-Security-Policy", policy},
                                {"X-Content-Type-Options", "nosniff"}});
    });
    server_->route("/events", QHttpServerRequest::Method::Get,
                   [this](QHttpServerResponder&& responder) { openStream(std::move(responder)); });
}

WebRoster::~WebRoster()
{
    for (Stream& s : streams_)
        if (s.socket)
            s.socket->disconnect(this);
}

bool WebRoster::listen(quint16 port, const QHostAddress& address)
{
    auto* tcp = new QTcpServer(server_.get());
    if (!tcp->listen(address, port)) {
        error_ = QString("Cannot serve the web page on port %1: %2").arg(port).arg(tcp->errorString());
        delete tcp;
        return false;
    }
    port_ = tcp->serverPort();
    server_->bind(tcp);
    error_.clear();
    return true;
}

void WebRoster::show(const QJsonObject& snapshot, bool controlOnline)
{
    served_ = RosterPage::servedSnapshot(snapshot, controlOnline);
    page_.clear();
    event_ = "data: " + QJsonDocument(served_).toJson(QJsonDocument::Compact) + "\n\n";
    send(event_);
}

int WebRoster::streamCount() const
{
    int n = 0;
    for (const Stream& s : streams_)
        n += s.socket && s.socket->state() == QAbstractSocket::ConnectedState;
    return n;
}

void WebRoster::openStream(QHttpServerResponder&& responder)
{
    dropClosed();
    QTcpSocket* socket = responder.socket();
    if (!socket)
        return;
    if (int(streams_.size()) >= kMaxStreams) {
        responder.write("Too many viewers; try again later.\n", "text/plain; charset=utf-8",
                        QHttpServerResponder::StatusCode::ServiceUnavailable);
        return;
    }
    responder.writeStatusLine(QHttpServerResponder::StatusCode::Ok);
    responder.writeHeaders({{"Content-Type", "text/event-stream; charset=utf-8"},
                            {"Cache-Control", "no-cache"},
                            {"X-Accel-Buffering", "no"}});
    // The header block ends here; the stream's body follows until either side closes.
    socket->write("\r\n");
    socket->write(event_.isEmpty() ? QByteArray(": waiting for the net\n\n") : event_);

    connect(socket, &QTcpSocket::disconnected, this, &WebRoster::dropClosed, Qt::QueuedConnection);
    // A browser sends nothing on its stream; anything else it sends is not ours to parse.
    connect(socket, &QTcpSocket::readyRead, this, [socket] { socket->readAll(); });
    streams_.push_back({std::make_unique<QHttpServerResponder>(std::move(responder)), socket});
    if (!keepAlive_.isActive())
        keepAlive_.start();
    emit streamOpened();
}

void WebRoster::send(const QByteArray& bytes)
{
    for (Stream& s : streams_) {
        if (!s.socket || s.socket->state() != QAbstractSocket::ConnectedState)
            continue;
        if (s.socket->bytesToWrite() > kMaxBacklog) {
            s.socket->abort();
            continue;
        }
        s.socket->write(bytes);
    }
    dropClosed();
}

void WebRoster::dropClosed()
{
    std::erase_if(streams_, [](const Stream& s) {
        return !s.socket || s.socket->state() == QAbstractSocket::UnconnectedState;
    });
    if (streams_.empty())
        keepAlive_.stop();
}
