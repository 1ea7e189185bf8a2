#pragma once

#include "mqtt_link.h"
#include "net_snapshot.h"
#include "session/checkin_roster.h"
#include "session/net_event.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <map>
#include <utility>

// A seat (or a web page) following a shared net. It takes the retained
// snapshot, then the events numbered after it, into a roster of its own.
// Each message is applied at most once, by (epoch, seq): repeats and older
// ones are dropped; a higher epoch's snapshot replaces the net; an event
// after a gap waits for the missing ones or the next snapshot. Anything
// malformed or oversized is dropped with a note, never trusted.
class NetFollower : public QObject {
    Q_OBJECT
public:
    explicit NetFollower(const QString& netId, QObject* parent = nullptr);
    ~NetFollower() override;

    // Subscribes to the net's three topics on this broker, again after each
    // reconnect. Without a link the follower is fed through handle().
    void connectTo(const MqttLink::Options& broker);
    void disconnectLink();
    // This seat's member slots, for the members of a snapshot.
    void setSlotOf(NetSnapshot::SlotOf slotOf) { slotOf_ = std::move(slotOf); }

    // One message as the broker delivered it.
    void handle(const QString& topic, const QByteArray& payload);

    QString netId() const { return netId_; }
    const CheckinRoster& roster() const { return roster_; }
    // False until a snapshot has been taken.
    bool hasNet() const { return hasNet_; }
    qint64 epoch() const { return epoch_; }
    qint64 seq() const { return seq_; }
    QString controlCall() const { return controlCall_; }
    QString controlName() const { return controlName_; }
    bool controlOnline() const { return controlOnline_; }
    // The highest epoch any message named: a seat taking over goes above it.
    qint64 maxEpochSeen() const { return maxEpochSeen_; }
    QString statusText() const { return status_; }
    // The net as the web page shows it.
    QJsonObject snapshot() const;

    // Events held after a gap, at most.
    static constexpr int kMaxHeld = 20000;

signals:
    // Each change applied, in order; a snapshot comes as SessionOpened.
    void event(const NetEvent& event);
    void changed();
    void controlChanged(bool online, const QString& call, const QString& name);
    void statusChanged(const QString& text);
    void noteworthy(const QString& text);
    // A gap: the retained snapshot is asked for again.
    void snapshotWanted();

private:
    void onEvents(const QJsonObject& o);
    void onRoster(const QJsonObject& o);
    void onControl(const QJsonObject& o);
    bool applyEvent(const NetEvent& e);
    void drain();
    void askSnapshot();
    void note(const QString& text) { emit noteworthy(text); }
    void setStatus(const QString& text);

    QString netId_;
    MqttLink* link_ = nullptr;
    NetSnapshot::SlotOf slotOf_;
    CheckinRoster roster_;
    bool hasNet_ = false;
    qint64 epoch_ = 0;
    qint64 seq_ = 0;
    qint64 maxEpochSeen_ = 0;
    std::map<std::pair<qint64, qint64>, NetEvent> held_;  // (epoch, seq)
    qint64 controlEpoch_ = -1;
    QString controlCall_;
    QString controlName_;
    bool controlOnline_ = false;
    QElapsedTimer lastAsk_;
    QString status_;
};
