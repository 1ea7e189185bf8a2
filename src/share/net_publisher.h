#pragma once

#include "mqtt_link.h"

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <optional>

class Clock;
class NetSession;
struct NetEvent;

// The net control's side of a shared net. It follows the session's stream
// of events and sends each, numbered, in order to veln/ID/events; keeps the
// retained snapshot on veln/ID/roster current (after the events it holds);
// and keeps its presence on veln/ID/control, the last will saying offline.
// While the broker is away the events wait here in order (the journal holds
// them on disk too) and go out when it is back, then a fresh snapshot.
// A seat that sees a higher epoch on the net's topics has been taken over
// from: it stops and says by whom.
class NetPublisher : public QObject {
    Q_OBJECT
public:
    // epoch: given on a take-over; without, one more than any the broker
    // holds for the net id at the first connect.
    NetPublisher(NetSession& session, const Clock& clock, const MqttLink::Options& broker, const QString& netId,
                 const QString& call, const QString& name, std::optional<qint64> epoch = std::nullopt,
                 QObject* parent = nullptr);
    ~NetPublisher() override;

    void start();
    // The net control leaves: presence says offline, the link closes.
    void stop();

    QString netId() const { return netId_; }
    // 0 until known.
    qint64 epoch() const { return epoch_.value_or(0); }
    qint64 seq() const { return seq_; }
    // Events not yet handed to the broker.
    int waiting() const;
    bool superseded() const { return superseded_; }
    QString statusText() const { return status_; }

signals:
    void statusChanged(const QString& text);
    void supersededBy(const QString& call, const QString& name);
    void noteworthy(const QString& text);

private:
    struct Pending {
        qint64 seq = 0;
        QJsonObject event;
        int mid = -1;  // in flight on the present connection
        bool acked = false;
    };
    void onEvent(const NetEvent& event);
    void openProbe();
    void openLink();
    void onConnected();
    void onMessage(const QString& topic, const QByteArray& payload);
    void onPublished(int mid);
    void send(Pending& item);
    void publishSnapshot();
    void publishPresence(bool online);
    QByteArray presence(bool online) const;
    void updateStatus();
    bool live() const;

    NetSession& session_;
    const Clock& clock_;
    MqttLink::Options broker_;
    QString netId_;
    QString call_;
    QString name_;
    std::optional<qint64> epoch_;
    qint64 maxEpochSeen_ = 0;
    qint64 seq_ = 0;
    std::deque<Pending> pending_;
    MqttLink* probe_ = nullptr;
    int probeBarrier_ = -1;
    MqttLink* link_ = nullptr;
    QTimer snapshotTimer_;
    bool snapshotDue_ = false;
    bool superseded_ = false;
    bool stopped_ = false;
    QString reason_;
    QString status_;
};
