#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>

struct mosquitto;
struct mosquitto_message;

// One connection to an MQTT broker over libmosquitto. The library's network
// work (name lookup, connect, TLS handshake, reconnects with back-off) runs
// on a thread of its own; everything it reports reaches this object's thread
// as queued calls, so a broker that never answers holds nothing up.
class MqttLink : public QObject {
    Q_OBJECT
public:
    struct Options {
        QString host;
        int port = 1883;
        bool tls = false;
        QString caFile;  // empty: the system's trusted authorities
        QString user;
        QString password;
        // Sent by the broker when the link dies without saying goodbye.
        QString willTopic;
        QByteArray willPayload;
        bool willRetain = false;
    };
    // Larger incoming messages are dropped unread.
    static constexpr int kMaxPayload = 256 * 1024;

    explicit MqttLink(const Options& options, QObject* parent = nullptr);
    ~MqttLink() override;

    // Starts connecting; returns at once. Reconnects by itself until stop()
    // or a refused login.
    void start();
    // Says goodbye (no last will) and ends the network thread.
    void stop();

    bool isConnected() const { return connected_; }
    QString hostPort() const;

    // False when the library would not take it (not connected counts too).
    bool subscribe(const QString& topic, int qos = 1);
    bool unsubscribe(const QString& topic, int* mid = nullptr);
    // The message id (for published()), or -1 when it was not taken.
    int publish(const QString& topic, const QByteArray& payload, int qos = 1, bool retain = false);

signals:
    void connected();
    // reason: what an operator reads on the status line.
    void disconnected(const QString& reason);
    void message(const QString& topic, const QByteArray& payload, bool retained);
    // The broker has the message (QoS 1: its acknowledgement came).
    void published(int mid);
    void unsubscribed(int mid);
    // Something odd worth a line in the log (a message too large, ...).
    void noteworthy(const QString& text);

private:
    static void onConnect(mosquitto*, void* self, int rc);
    static void onDisconnect(mosquitto*, void* self, int rc);
    static void onMessage(mosquitto*, void* self, const mosquitto_message* message);
    static void onPublish(mosquitto*, void* self, int mid);
    static void onUnsubscribe(mosquitto*, void* self, int mid);
    static void onLog(mosquitto*, void* self, int level, const char* text);
    void run();
    QString reasonOf(int rc) const;

    Options options_;
    mosquitto* mosq_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> halted_{false};   // the broker refused the login: no retries
    std::atomic<bool> tlsFailed_{false};
    std::atomic<bool> justConnected_{false};  // the back-off starts over
    bool connected_ = false;
    QString lastReason_;
};
