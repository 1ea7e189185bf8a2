#include "net_follower.h"

#include "share_address.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace {
// A gap asks for the snapshot again at most this often.
constexpr qint64 kAskEveryMs = 500;
}  // namespace

NetFollower::NetFollower(const QString& netId, QObject* parent) : QObject(parent), netId_(netId) {}

NetFollower::~NetFollower() { disconnectLink(); }

void NetFollower::connectTo(const MqttLink::Options& broker)
{
    disconnectLink();
    link_ = new MqttLink(broker, this);
    connect(link_, &MqttLink::connected, this, [this] {
        link_->subscribe(ShareTopics::control(netId_));
        link_->subscribe(ShareTopics::roster(netId_));
        link_->subscribe(ShareTopics::events(netId_));
        setStatus(QStringLiteral("FOLLOWING veln/%1").arg(netId_));
    });
    connect(link_, &MqttLink::disconnected, this, &NetFollower::setStatus);
    connect(link_, &MqttLink::message, this,
            [this](const QString& topic, const QByteArray& payload) { handle(topic, payload); });
    connect(link_, &MqttLink::noteworthy, this, &NetFollower::noteworthy);
    link_->start();
}

void NetFollower::disconnectLink()
{
    delete link_;
    link_ = nullptr;
}

void NetFollower::setStatus(const QString& text)
{
    if (text == status_)
        return;
    status_ = text;
    emit statusChanged(status_);
}

void NetFollower::handle(const QString& topic, const QByteArray& payload)
{
    if (payload.size() > MqttLink::kMaxPayload) {
        note(QStringLiteral("A message of %1 bytes on %2 was dropped unread.").arg(payload.size()).arg(topic));
        return;
    }
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(payload, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        // An empty retained message clears a topic; it says nothing.
        if (!payload.isEmpty())
            note(QStringLiteral("A message on %1 that is no JSON object was dropped.").arg(topic));
        return;
    }
    const QJsonObject o = doc.object();
    if (topic == ShareTopics::events(netId_))
        onEvents(o);
    else if (topic == ShareTopics::roster(netId_))
        onRoster(o);
    else if (topic == ShareTopics::control(netId_))
        onControl(o);
}

void NetFollower::onEvents(const QJsonObject& o)
{
    const auto epoch = CountOf(o.value("epoch"));
    const auto seq = CountOf(o.value("seq"));
    const auto e = o.value("event").isObject() ? NetEvent::fromJson(o.value("event").toObject()) : std::nullopt;
    if (!epoch || !seq || *seq < 1 || !e) {
        note(QStringLiteral("A net event that is not one of ours was dropped."));
        return;
    }
    maxEpochSeen_ = std::max(maxEpochSeen_, *epoch);
    if (hasNet_ && (*epoch < epoch_ || (*epoch == epoch_ && *seq <= seq_)))
        return;  // had it
    if (hasNet_ && *epoch == epoch_ && *seq == seq_ + 1) {
        if (applyEvent(*e)) {
            seq_ = *seq;
            drain();
            emit changed();
        }
        return;
    }
    // Before the first snapshot, after a gap, or from a seat that took over:
    // held until what comes before it is here.
    if (int(held_.size()) >= kMaxHeld) {
        note(QStringLiteral("Too many net events wait for a snapshot; one was dropped."));
    } else {
        held_.emplace(std::make_pair(*epoch, *seq), *e);
    }
    askSnapshot();
}

bool NetFollower::applyEvent(const NetEvent& given)
{
    NetEvent e = given;
    using Kind = NetEvent::Kind;
    if (e.kind == Kind::SessionOpened) {
        if (e.stations.size() > NetSnapshot::kMaxStations) {
            note(QStringLiteral("A net event with more stations than a net holds was dropped."));
            return false;
        }
        e.text.clear();
    }
    if (e.kind == Kind::SessionSaved)
        e.text.clear();
    if ((e.kind == Kind::CheckedIn && roster_.lineCount() >= NetSnapshot::kMaxStations) ||
        (e.kind == Kind::UnknownCall && roster_.unknownCalls().size() >= NetSnapshot::kMaxStations)) {
        note(QStringLiteral("A check-in past %1 stations was dropped.").arg(NetSnapshot::kMaxStations));
        return true;  // counted, so what follows still applies
    }
    const auto cut = [](StationRecord& s) {
        s.call.truncate(NetSnapshot::kMaxCall);
        s.name.truncate(NetSnapshot::kMaxName);
        s.qth.truncate(NetSnapshot::kMaxQth);
    };
    cut(e.station);
    for (StationRecord& s : e.stations)
        cut(s);
    roster_.apply(e);
    emit event(e);
    return true;
}

void NetFollower::drain()
{
    // Whatever is held at or below where the net stands is done with.
    while (!held_.empty()) {
        const auto it = held_.begin();
        const auto [epoch, seq] = it->first;
        if (epoch < epoch_ || (epoch == epoch_ && seq <= seq_)) {
            held_.erase(it);
            continue;
        }
        if (epoch == epoch_ && seq == seq_ + 1) {
            const NetEvent e = it->second;
            held_.erase(it);
            if (applyEvent(e))
                seq_ = seq;
            continue;
        }
        break;
    }
}

void NetFollower::askSnapshot()
{
    if (lastAsk_.isValid() && lastAsk_.elapsed() < kAskEveryMs)
        return;
    lastAsk_.start();
    // Subscribing again makes the broker send the retained snapshot again.
    if (link_ && link_->isConnected())
        link_->subscribe(ShareTopics::roster(netId_));
    emit snapshotWanted();
}

void NetFollower::onRoster(const QJsonObject& o)
{
    const std::optional<NetSnapshot> snap = NetSnapshot::fromJson(o, slotOf_);
    if (!snap || snap->net != netId_) {
        note(QStringLiteral("A net snapshot that is not one of ours was dropped."));
        return;
    }
    maxEpochSeen_ = std::max(maxEpochSeen_, snap->epoch);
    if (hasNet_ && (snap->epoch < epoch_ || (snap->epoch == epoch_ && snap->seq <= seq_)))
        return;
    roster_ = CheckinRoster();
    roster_.apply(snap->event);
    hasNet_ = true;
    epoch_ = snap->epoch;
    seq_ = snap->seq;
    emit event(snap->event);
    if (snap->epoch > controlEpoch_) {
        controlEpoch_ = snap->epoch;
        controlCall_ = snap->controlCall;
        controlName_ = snap->controlName;
        controlOnline_ = true;
        emit controlChanged(controlOnline_, controlCall_, controlName_);
    }
    drain();
    emit changed();
}

void NetFollower::onControl(const QJsonObject& o)
{
    const auto epoch = CountOf(o.value("epoch"));
    if (!epoch || !o.value("call").isString() || !o.value("online").isBool()) {
        note(QStringLiteral("A net control's presence that is not one of ours was dropped."));
        return;
    }
    maxEpochSeen_ = std::max(maxEpochSeen_, *epoch);
    // A will of a seat taken over from says nothing about the net now.
    if (*epoch < controlEpoch_)
        return;
    const QString call = o.value("call").toString().left(NetSnapshot::kMaxCall);
    const QString name = o.value("name").toString().left(NetSnapshot::kMaxName);
    const bool online = o.value("online").toBool();
    controlEpoch_ = *epoch;
    if (call == controlCall_ && name == controlName_ && online == controlOnline_)
        return;
    controlCall_ = call;
    controlName_ = name;
    controlOnline_ = online;
    emit controlChanged(online, call, name);
    emit changed();
}

QJsonObject NetFollower::snapshot() const
{
    return NetSnapshot::toJson(roster_, controlCall_, controlName_, netId_, epoch_, seq_);
}
