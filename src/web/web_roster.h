#pragma once

#include <QHostAddress>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

class QHttpServer;
class QHttpServerResponder;
class QTcpSocket;

// The read-only web page of a followed net. Serves "/" (the roster as it
// stands, readable without JavaScript) and "/events" (Server-Sent Events: each
// snapshot handed to show(), one "data:" line per snapshot). Everything runs on
// the caller's event loop and nothing waits on a visitor: a stream that stops
// reading is closed rather than buffered without end.
class WebRoster : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxStreams = 64;

    explicit WebRoster(QObject* parent = nullptr);
    ~WebRoster() override;

    // Starts serving; false with errorText() when the port cannot be had.
    bool listen(quint16 port, const QHostAddress& address = QHostAddress::Any);
    QString errorText() const { return error_; }
    quint16 port() const { return port_; }

    // The net as it stands now; pushed to every open stream at once.
    void show(const QJsonObject& snapshot, bool controlOnline);

    int streamCount() const;
    // A comment line goes to every stream this often, so proxies and
    // browsers keep an idle stream and a dead one is noticed.
    void setKeepAliveInterval(int ms) { keepAlive_.setInterval(ms); }

signals:
    void streamOpened();

private:
    struct Stream {
        std::unique_ptr<QHttpServerResponder> responder;
        QPointer<QTcpSocket> socket;
    };

    void openStream(QHttpServerResponder&& responder);
    void send(const QByteArray& bytes);
    void dropClosed();

    std::unique_ptr<QHttpServer> server_;
    std::vector<Stream> streams_;
    QTimer keepAlive_;
    QJsonObject served_;  // what show() was given, cut to the roster's own fields
    QByteArray page_;     // drawn from served_ on the next request; empty until then
    QByteArray event_;  // the last snapshot as an event, for streams that open later
    QString error_;
    quint16 port_ = 0;
};
