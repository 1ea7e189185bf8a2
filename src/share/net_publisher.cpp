#include "net_publisher.h"

#include "net_snapshot.h"
#include "share_address.h"
#include "platform/clock.h"
#include "session/net_session.h"

#include <QJsonDocument>

namespace {
// Snapshots follow a burst of events once, not once per event.
constexpr int kSnapshotDelayMs = 100;

QByteArray compact(const QJsonObject& o) { return QJsonDocument(o).toJson(QJsonDocument::Compact); }
}  // namespace

NetPublisher::NetPublisher(NetSession& session, const Clock& clock, const MqttLink::Options& broker,
                           const QString& netId, const QString& call, const QString& name,
                           std::optional<qint64> epoch, QObject* parent)
    : QObject(parent), session_(session), clock_(clock), broker_(broker), netId_(netId), call_(call), name_(name),
      epoch_(epoch)
{
    snapshotTimer_.setSingleShot(true);
    snapshotTimer_.setInterval(kSnapshotDelayMs);
    connect(&snapshotTimer_, &QTimer::timeout, this, &NetPublisher::publishSnapshot);
    session_.follow([self = QPointer<NetPublisher>(this)](const NetEvent& e) {
        if (self)
            self->onEvent(e);
    });
}

NetPublisher::~NetPublisher() { stop(); }

void NetPublisher::start()
{
    if (epoch_)
        openLink();
    else
        openProbe();
    updateStatus();
}

void NetPublisher::stop()
{
    if (stopped_)
        return;
    stopped_ = true;
    snapshotTimer_.stop();
    if (link_ && link_->isConnected() && !superseded_)
        publishPresence(false);
    delete probe_;
    probe_ = nullptr;
    delete link_;
    link_ = nullptr;
}

bool NetPublisher::live() const { return link_ && link_->isConnected() && epoch_ && !superseded_ && !stopped_; }

int NetPublisher::waiting() const
{
    if (!live())
        return int(pending_.size());
    int n = 0;
    for (const Pending& p : pending_)
        n += p.mid < 0 ? 1 : 0;
    return n;
}

// ---------------------------------------------------------------- the links

void NetPublisher::openProbe()
{
    // A first look at what the broker keeps for the net decides the epoch;
    // the link that publishes then carries a last will with that epoch.
    probe_ = new MqttLink(broker_, this);
    connect(probe_, &MqttLink::connected, this, [this] {
        probe_->subscribe(ShareTopics::control(netId_));
        probe_->subscribe(ShareTopics::roster(netId_));
        // The broker answers this after it has sent what the subscriptions retain.
        probe_->unsubscribe(QStringLiteral("veln/%1/probe").arg(netId_), &probeBarrier_);
    });
    connect(probe_, &MqttLink::message, this, [this](const QString& topic, const QByteArray& payload) {
        onMessage(topic, payload);
    });
    connect(probe_, &MqttLink::unsubscribed, this, [this](int mid) {
        if (mid != probeBarrier_ || epoch_)
            return;
        epoch_ = maxEpochSeen_ + 1;
        probe_->deleteLater();
        probe_ = nullptr;
        openLink();
    });
    connect(probe_, &MqttLink::disconnected, this, [this](const QString& reason) {
        reason_ = reason;
        updateStatus();
    });
    connect(probe_, &MqttLink::noteworthy, this, &NetPublisher::noteworthy);
    probe_->start();
}

void NetPublisher::openLink()
{
    MqttLink::Options o = broker_;
    o.willTopic = ShareTopics::control(netId_);
    o.willPayload = presence(false);
    o.willRetain = true;
    link_ = new MqttLink(o, this);
    connect(link_, &MqttLink::connected, this, &NetPublisher::onConnected);
    connect(link_, &MqttLink::disconnected, this, [this](const QString& reason) {
        reason_ = reason;
        for (Pending& p : pending_)
            p.mid = -1;
        updateStatus();
    });
    connect(link_, &MqttLink::message, this, [this](const QString& topic, const QByteArray& payload) {
        onMessage(topic, payload);
    });
    connect(link_, &MqttLink::published, this, &NetPublisher::onPublished);
    connect(link_, &MqttLink::noteworthy, this, &NetPublisher::noteworthy);
    link_->start();
}

void NetPublisher::onConnected()
{
    if (superseded_ || stopped_)
        return;
    reason_.clear();
    link_->subscribe(ShareTopics::control(netId_));
    link_->subscribe(ShareTopics::roster(netId_));
    publishPresence(true);
    // What waited goes out in order, then the net as it stands: a broker that
    // lost its retained messages has them again.
    for (Pending& p : pending_)
        send(p);
    snapshotTimer_.stop();
    publishSnapshot();
    updateStatus();
}

// ---------------------------------------------------------------- what goes out

void NetPublisher::onEvent(const NetEvent& event)
{
    if (superseded_ || stopped_)
        return;
    QJsonObject o = event.toJson();
    // A file name is this seat's own business, not the net's.
    if (o.contains(QStringLiteral("file")))
        o.insert(QStringLiteral("file"), QString());
    pending_.push_back({++seq_, o, -1, false});
    if (live())
        send(pending_.back());
    snapshotDue_ = true;
    if (!snapshotTimer_.isActive())
        snapshotTimer_.start();
    if (!live())
        updateStatus();
}

void NetPublisher::send(Pending& item)
{
    if (!live() || item.acked)
        return;
    const QJsonObject message{{"epoch", *epoch_}, {"seq", item.seq}, {"event", item.event}};
    item.mid = link_->publish(ShareTopics::events(netId_), compact(message), 1, false);
}

void NetPublisher::onPublished(int mid)
{
    for (Pending& p : pending_) {
        if (p.mid == mid) {
            p.acked = true;
            break;
        }
    }
    while (!pending_.empty() && pending_.front().acked)
        pending_.pop_front();
}

void NetPublisher::publishSnapshot()
{
    // Only once every event it holds has gone out before it.
    if (!live() || waiting() > 0)
        return;
    snapshotDue_ = false;
    const QJsonObject snap = NetSnapshot::toJson(session_.roster(), call_, name_, netId_, *epoch_, seq_);
    link_->publish(ShareTopics::roster(netId_), compact(snap), 1, true);
}

QByteArray NetPublisher::presence(bool online) const
{
    return compact(QJsonObject{{"epoch", epoch_.value_or(0)},
                               {"call", call_},
                               {"name", name_},
                               {"online", online},
                               {"at", clock_.now().toUTC().toString(Qt::ISODate)}});
}

void NetPublisher::publishPresence(bool online)
{
    if (link_ && link_->isConnected())
        link_->publish(ShareTopics::control(netId_), presence(online), 1, true);
}

// ---------------------------------------------------------------- what comes in

void NetPublisher::onMessage(const QString& topic, const QByteArray& payload)
{
    const QJsonObject o = QJsonDocument::fromJson(payload).object();
    const std::optional<qint64> epoch = CountOf(o.value("epoch"));
    if (!epoch)
        return;
    const bool isControl = topic == ShareTopics::control(netId_);
    if (!epoch_) {
        maxEpochSeen_ = std::max(maxEpochSeen_, *epoch);
        return;
    }
    if (*epoch < *epoch_) {
        // An older seat's will or snapshot overwrote ours: put ours back.
        if (live()) {
            if (isControl)
                publishPresence(true);
            else
                publishSnapshot();
        }
        return;
    }
    if (*epoch == *epoch_ || superseded_)
        return;
    QString call;
    QString name;
    if (isControl) {
        call = o.value("call").toString().left(NetSnapshot::kMaxCall);
        name = o.value("name").toString().left(NetSnapshot::kMaxName);
    } else {
        const QJsonObject control = o.value("netControl").toObject();
        call = control.value("call").toString().left(NetSnapshot::kMaxCall);
        name = control.value("name").toString().left(NetSnapshot::kMaxName);
    }
    superseded_ = true;
    snapshotTimer_.stop();
    // Goodbye without the will: the retained presence is the new seat's now.
    if (link_)
        link_->stop();
    status_ = QStringLiteral("SHARING STOPPED: %1 HAS TAKEN OVER THE NET").arg(call.isEmpty() ? QStringLiteral("ANOTHER SEAT") : call);
    emit statusChanged(status_);
    emit supersededBy(call, name);
}

void NetPublisher::updateStatus()
{
    if (superseded_)
        return;
    QString text;
    const int n = waiting();
    if (live())
        text = QStringLiteral("SHARING ON veln/%1").arg(netId_);
    else if (n > 0)
        text = QStringLiteral("SHARING BEHIND: %1 EVENTS WAITING").arg(n);
    else if (!reason_.isEmpty())
        text = reason_;
    else
        text = QStringLiteral("SHARING: CONNECTING TO %1:%2").arg(broker_.host).arg(broker_.port);
    if (text != status_) {
        status_ = text;
        emit statusChanged(status_);
    }
}
