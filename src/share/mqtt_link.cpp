#include "mqtt_link.h"

#include <QFileInfo>
#include <QMetaObject>
#include <cerrno>
#include <chrono>
#include <mosquitto.h>
#include <mutex>

namespace {
constexpr int kKeepAliveSeconds = 20;
constexpr int kFirstRetrySeconds = 1;
constexpr int kLastRetrySeconds = 16;

void initLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

// Sleeps in short steps so a stop is heard within one.
void nap(std::chrono::milliseconds total, const std::atomic<bool>& stopping)
{
    using namespace std::chrono;
    const auto until = steady_clock::now() + total;
    while (!stopping && steady_clock::now() < until)
        std::this_thread::sleep_for(milliseconds(50));
}
}  // namespace

MqttLink::MqttLink(const Options& options, QObject* parent) : QObject(parent), options_(options)
{
    initLibrary();
    mosq_ = mosquitto_new(nullptr, true, this);
    if (!mosq_)
        return;
    // The network thread is ours; the library must lock around what this thread hands it.
    mosquitto_threaded_set(mosq_, true);
    mosquitto_connect_callback_set(mosq_, &MqttLink::onConnect);
    mosquitto_disconnect_callback_set(mosq_, &MqttLink::onDisconnect);
    mosquitto_message_callback_set(mosq_, &MqttLink::onMessage);
    mosquitto_publish_callback_set(mosq_, &MqttLink::onPublish);
    mosquitto_unsubscribe_callback_set(mosq_, &MqttLink::onUnsubscribe);
    mosquitto_log_callback_set(mosq_, &MqttLink::onLog);
}

MqttLink::~MqttLink()
{
    stop();
    if (mosq_)
        mosquitto_destroy(mosq_);
}

QString MqttLink::hostPort() const { return options_.host + QLatin1Char(':') + QString::number(options_.port); }

void MqttLink::start()
{
    if (!mosq_ || thread_.joinable())
        return;
    const auto refuse = [this](const QString& reason) {
        lastReason_ = reason;
        QMetaObject::invokeMethod(this, [this, reason] { emit disconnected(reason); }, Qt::QueuedConnection);
    };
    if (!options_.user.isEmpty()) {
        const QByteArray user = options_.user.toUtf8();
        const QByteArray password = options_.password.toUtf8();
        mosquitto_username_pw_set(mosq_, user.constData(), options_.password.isEmpty() ? nullptr : password.constData());
    }
    if (options_.tls) {
        const QByteArray ca = QFileInfo(options_.caFile).absoluteFilePath().toLocal8Bit();
        const bool ownCa = !options_.caFile.isEmpty();
        // Without a CA file of its own the link trusts what the system trusts.
        const int rc = ownCa ? mosquitto_tls_set(mosq_, ca.constData(), nullptr, nullptr, nullptr, nullptr)
                             : mosquitto_tls_set(mosq_, nullptr, "/etc/ssl/certs", nullptr, nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            refuse(ownCa ? QStringLiteral("SHARING: CANNOT READ THE CA FILE %1").arg(options_.caFile)
                         : QStringLiteral("SHARING: NO TRUSTED CERTIFICATES FOR TLS"));
            return;
        }
    }
    if (!options_.willTopic.isEmpty()) {
        const QByteArray topic = options_.willTopic.toUtf8();
        mosquitto_will_set(mosq_, topic.constData(), int(options_.willPayload.size()), options_.willPayload.constData(),
                           1, options_.willRetain);
    }
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
}

void MqttLink::run()
{
    const QByteArray host = options_.host.toUtf8();
    // The name lookup and the connect's first step happen here, never on the caller's thread.
    int rc = mosquitto_connect_async(mosq_, host.constData(), options_.port, kKeepAliveSeconds);
    int retry = kFirstRetrySeconds;
    while (!stopping_) {
        if (rc == MOSQ_ERR_SUCCESS) {
            rc = mosquitto_loop(mosq_, 100, 1);
            if (rc == MOSQ_ERR_SUCCESS) {
                if (justConnected_.exchange(false))
                    retry = kFirstRetrySeconds;
                continue;
            }
        }
        if (stopping_)
            break;
        const int failure = rc;
        const bool wasTls = tlsFailed_.exchange(false);
        QMetaObject::invokeMethod(
            this, [this, failure, wasTls] {
                const QString reason = wasTls ? QStringLiteral("SHARING: SECURE CONNECTION TO %1 FAILED").arg(hostPort())
                                              : reasonOf(failure);
                const bool was = connected_;
                connected_ = false;
                if (was || reason != lastReason_) {
                    lastReason_ = reason;
                    emit disconnected(reason);
                }
            },
            Qt::QueuedConnection);
        nap(std::chrono::seconds(retry), stopping_);
        retry = std::min(retry * 2, kLastRetrySeconds);
        while (halted_ && !stopping_)
            nap(std::chrono::milliseconds(200), stopping_);
        if (!stopping_)
            rc = mosquitto_reconnect_async(mosq_);
    }
    // Let the goodbye stop() queued go out, briefly.
    for (int i = 0; i < 10 && rc == MOSQ_ERR_SUCCESS; ++i)
        rc = mosquitto_loop(mosq_, 50, 1);
}

void MqttLink::stop()
{
    if (!thread_.joinable())
        return;
    mosquitto_disconnect(mosq_);
    stopping_ = true;
    thread_.join();
    connected_ = false;
}

QString MqttLink::reasonOf(int rc) const
{
    switch (rc) {
    case MOSQ_ERR_EAI:
        return QStringLiteral("SHARING: CANNOT FIND %1").arg(options_.host);
    case MOSQ_ERR_TLS:
    case MOSQ_ERR_TLS_HANDSHAKE:
        return QStringLiteral("SHARING: SECURE CONNECTION TO %1 FAILED").arg(hostPort());
    default:
        break;
    }
    // A refusal the broker sent: on_connect said it already.
    if (halted_)
        return lastReason_;
    return QStringLiteral("SHARING: CANNOT REACH %1").arg(hostPort());
}

bool MqttLink::subscribe(const QString& topic, int qos)
{
    const QByteArray t = topic.toUtf8();
    return mosq_ && mosquitto_subscribe(mosq_, nullptr, t.constData(), qos) == MOSQ_ERR_SUCCESS;
}

bool MqttLink::unsubscribe(const QString& topic, int* mid)
{
    const QByteArray t = topic.toUtf8();
    return mosq_ && mosquitto_unsubscribe(mosq_, mid, t.constData()) == MOSQ_ERR_SUCCESS;
}

int MqttLink::publish(const QString& topic, const QByteArray& payload, int qos, bool retain)
{
    if (!mosq_ || !connected_)
        return -1;
    const QByteArray t = topic.toUtf8();
    int mid = -1;
    const int rc = mosquitto_publish(mosq_, &mid, t.constData(), int(payload.size()), payload.constData(), qos, retain);
    return rc == MOSQ_ERR_SUCCESS ? mid : -1;
}

// ---------------------------------------------------------------- on the network thread

void MqttLink::onConnect(mosquitto*, void* self, int rc)
{
    auto* link = static_cast<MqttLink*>(self);
    if (rc == 4 || rc == 5)  // bad user name or password; not authorised
        link->halted_ = true;
    if (rc == 0)
        link->justConnected_ = true;
    QMetaObject::invokeMethod(
        link, [link, rc] {
            if (rc == 0) {
                link->connected_ = true;
                link->lastReason_.clear();
                emit link->connected();
                return;
            }
            QString reason;
            switch (rc) {
            case 1:
                reason = QStringLiteral("SHARING: BROKER REFUSED THE PROTOCOL");
                break;
            case 2:
                reason = QStringLiteral("SHARING: BROKER REFUSED THE CLIENT");
                break;
            case 3:
                reason = QStringLiteral("SHARING: BROKER UNAVAILABLE");
                break;
            default:
                reason = QStringLiteral("SHARING: BROKER REFUSED THE LOGIN");
                break;
            }
            link->connected_ = false;
            if (reason != link->lastReason_) {
                link->lastReason_ = reason;
                emit link->disconnected(reason);
            }
        },
        Qt::QueuedConnection);
}

void MqttLink::onDisconnect(mosquitto*, void*, int)
{
    // The loop's return says what happened; it reports from there.
}

void MqttLink::onMessage(mosquitto*, void* self, const mosquitto_message* m)
{
    auto* link = static_cast<MqttLink*>(self);
    const QString topic = QString::fromUtf8(m->topic);
    if (m->payloadlen > kMaxPayload || m->payloadlen < 0) {
        const int size = m->payloadlen;
        QMetaObject::invokeMethod(
            link, [link, topic, size] {
                emit link->noteworthy(QStringLiteral("A message of %1 bytes on %2 was dropped unread (more than %3).")
                                          .arg(size)
                                          .arg(topic)
                                          .arg(kMaxPayload));
            },
            Qt::QueuedConnection);
        return;
    }
    const QByteArray payload(static_cast<const char*>(m->payload), m->payloadlen);
    const bool retained = m->retain;
    QMetaObject::invokeMethod(
        link, [link, topic, payload, retained] { emit link->message(topic, payload, retained); }, Qt::QueuedConnection);
}

void MqttLink::onPublish(mosquitto*, void* self, int mid)
{
    auto* link = static_cast<MqttLink*>(self);
    QMetaObject::invokeMethod(link, [link, mid] { emit link->published(mid); }, Qt::QueuedConnection);
}

void MqttLink::onUnsubscribe(mosquitto*, void* self, int mid)
{
    auto* link = static_cast<MqttLink*>(self);
    QMetaObject::invokeMethod(link, [link, mid] { emit link->unsubscribed(mid); }, Qt::QueuedConnection);
}

void MqttLink::onLog(mosquitto*, void* self, int level, const char* text)
{
    // A failed handshake shows only here; the loop then reports a lost connection.
    if (level == MOSQ_LOG_ERR && text && QByteArray(text).contains("OpenSSL"))
        static_cast<MqttLink*>(self)->tlsFailed_ = true;
}
