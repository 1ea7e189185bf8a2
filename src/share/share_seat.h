#pragma once

#include "mqtt_link.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class Clock;
class NetFollower;
class NetPublisher;
class NetSession;
struct NetEvent;

// This seat's part in a shared net: none, the net control publishing the
// net, or a follower mirroring another seat's net into its own session (so
// the window draws it and the journal keeps it). A follower takes over by
// publishing above every epoch it has seen; a net control that sees a
// higher epoch has been taken over from and follows from then on.
class ShareSeat : public QObject {
    Q_OBJECT
public:
    enum class Role { None, Sharing, Following };

    ShareSeat(NetSession& session, const Clock& clock, QObject* parent = nullptr);
    ~ShareSeat() override;

    // call and name: the net control as followers see it. epoch: the one a
    // net brought back was shared in; without, a new one above the broker's.
    void share(const MqttLink::Options& broker, const QString& netId, const QString& call, const QString& name,
               std::optional<qint64> epoch = std::nullopt);
    void follow(const MqttLink::Options& broker, const QString& netId);
    // From following only: false otherwise.
    bool takeOver(const QString& call, const QString& name);
    void stop();

    Role role() const { return role_; }
    QString netId() const { return netId_; }
    // One line for the window: the role, the net and how it goes.
    QString line() const { return line_; }
    const NetPublisher* publisher() const { return publisher_.get(); }
    const NetFollower* follower() const { return follower_.get(); }

signals:
    void roleChanged(ShareSeat::Role role);
    void lineChanged(const QString& line);
    // The epoch this seat publishes in, once the broker has told it.
    void epochKnown(const QString& netId, qint64 epoch);
    // Something a log should keep (a malformed message dropped, ...).
    void noteworthy(const QString& text);

private:
    void publish(std::optional<qint64> epoch);
    void mirror(NetEvent event);
    void setRole(Role role);
    void setLine(const QString& line);
    void followerLine();

    NetSession& session_;
    const Clock& clock_;
    MqttLink::Options broker_;
    QString netId_;
    QString call_;
    QString name_;
    Role role_ = Role::None;
    std::unique_ptr<NetPublisher> publisher_;
    std::unique_ptr<NetFollower> follower_;
    QString line_;
    QString takenOverBy_;
    qint64 epochTold_ = 0;
};
