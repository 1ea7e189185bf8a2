#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

class QTcpServer;
class QTcpSocket;

// A scripted HTTP/1.1 server on 127.0.0.1 (random port) for network tests.
// Runs in the test's thread: a blocking client's local event loop serves it.
// Every reply closes its connection. A path without a script gets 404.
class HttpTestServer : public QObject {
    Q_OBJECT
public:
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    struct Request {
        QByteArray target;  // as sent: path, "?" and query, still percent-encoded
        QString path;       // the part before "?"
        QByteArray query;   // the part after "?", still percent-encoded
    };

    HttpTestServer();
    ~HttpTestServer() override;

    // The base address "http://127.0.0.1:port" and addresses below it.
    QString base() const;
    QUrl url(const QString& pathAndQuery) const;

    // A complete reply (Content-Length given) for every request of a path.
    void reply(const QString& path, const QByteArray& body, int status = 200, const Headers& headers = {});
    // Replies given in turn to the requests of a path; the last one repeats.
    void replySequence(const QString& path, const QList<QByteArray>& bodies);
    void redirect(const QString& path, const QString& location, int status = 302);
    // Sends the status line and headers (promising a body), then nothing.
    void stall(const QString& path);
    // Promises declaredLength bytes, sends `sent`, then closes the connection.
    void closeMidBody(const QString& path, const QByteArray& sent, qint64 declaredLength);
    // A body of `size` bytes of HugeByte(i), written as the socket drains;
    // without declareLength the body simply ends when the connection closes.
    void huge(const QString& path, qint64 size, bool declareLength = true);
    // Sends one byte every intervalMs, for ever, and never says how many.
    void drip(const QString& path, int intervalMs);
    static char HugeByte(qint64 i) { return char('a' + i % 23); }

    QList<Request> requests() const { return requests_; }
    QList<Request> requestsFor(const QString& path) const;
    void clearRequests() { requests_.clear(); }

private:
    enum class Kind { Complete, Stall, CloseMidBody, Huge, Drip };
    struct Script {
        Kind kind = Kind::Complete;
        int status = 200;
        Headers headers;
        QList<QByteArray> bodies;  // in turn; the last one repeats
        qint64 size = 0;           // declared length, huge size or drip interval
        bool declareLength = true;
        int served = 0;
    };
    struct Connection {
        QByteArray received;
        bool answered = false;
        qint64 hugeLeft = 0;
        qint64 hugeNext = 0;
    };

    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QByteArray& target);
    void feedHuge(QTcpSocket* socket);
    static QByteArray head(int status, const Headers& headers);

    QTcpServer* server_;
    QHash<QString, Script> scripts_;
    QHash<QTcpSocket*, Connection> connections_;
    QList<Request> requests_;
};
