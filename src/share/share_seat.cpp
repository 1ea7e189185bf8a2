#include "share_seat.h"

#include "net_follower.h"
#include "net_publisher.h"
#include "session/net_session.h"

ShareSeat::ShareSeat(NetSession& session, const Clock& clock, QObject* parent)
    : QObject(parent), session_(session), clock_(clock)
{
}

ShareSeat::~ShareSeat() { stop(); }

void ShareSeat::share(const MqttLink::Options& broker, const QString& netId, const QString& call, const QString& name,
                      std::optional<qint64> epoch)
{
    stop();
    broker_ = broker;
    netId_ = netId;
    call_ = call;
    name_ = name;
    takenOverBy_.clear();
    publish(epoch);
}

void ShareSeat::publish(std::optional<qint64> epoch)
{
    publisher_ = std::make_unique<NetPublisher>(session_, clock_, broker_, netId_, call_, name_, epoch);
    connect(publisher_.get(), &NetPublisher::statusChanged, this, [this](const QString& line) {
        setLine(line);
        if (publisher_ && publisher_->epoch() != 0 && publisher_->epoch() != epochTold_) {
            epochTold_ = publisher_->epoch();
            emit epochKnown(netId_, epochTold_);
        }
    });
    connect(publisher_.get(), &NetPublisher::noteworthy, this, &ShareSeat::noteworthy);
    connect(publisher_.get(), &NetPublisher::supersededBy, this, [this](const QString& call, const QString& name) {
        // Another seat carries the net on: this one follows it.
        takenOverBy_ = (call + QLatin1Char(' ') + name).trimmed();
        const MqttLink::Options broker = broker_;
        const QString netId = netId_;
        QMetaObject::invokeMethod(this, [this, broker, netId] { follow(broker, netId); }, Qt::QueuedConnection);
    });
    setRole(Role::Sharing);
    setLine(QStringLiteral("SHARING: CONNECTING TO %1:%2").arg(broker_.host).arg(broker_.port));
    publisher_->start();
}

void ShareSeat::follow(const MqttLink::Options& broker, const QString& netId)
{
    const QString takenOverBy = takenOverBy_;
    stop();
    takenOverBy_ = takenOverBy;
    broker_ = broker;
    netId_ = netId;
    follower_ = std::make_unique<NetFollower>(netId);
    connect(follower_.get(), &NetFollower::event, this, &ShareSeat::mirror);
    connect(follower_.get(), &NetFollower::noteworthy, this, &ShareSeat::noteworthy);
    connect(follower_.get(), &NetFollower::statusChanged, this, &ShareSeat::followerLine);
    connect(follower_.get(), &NetFollower::controlChanged, this, &ShareSeat::followerLine);
    setRole(Role::Following);
    setLine(QStringLiteral("FOLLOWING: CONNECTING TO %1:%2").arg(broker.host).arg(broker.port));
    follower_->connectTo(broker);
}

bool ShareSeat::takeOver(const QString& call, const QString& name)
{
    if (role_ != Role::Following || !follower_)
        return false;
    const qint64 above = follower_->maxEpochSeen() + 1;
    follower_.reset();
    call_ = call;
    name_ = name;
    takenOverBy_.clear();
    publish(above);
    return true;
}

void ShareSeat::stop()
{
    if (publisher_)
        publisher_->stop();
    publisher_.reset();
    follower_.reset();
    takenOverBy_.clear();
    setRole(Role::None);
    setLine(QString());
}

void ShareSeat::mirror(NetEvent e)
{
    using Kind = NetEvent::Kind;
    // What only the net control's seat holds stays its own: its files, the
    // end of its run, its member file's slots (a member here is a member of
    // this seat's own file).
    switch (e.kind) {
    case Kind::SessionEnded:
    case Kind::NetStarted:
        return;
    case Kind::SessionSaved:
    case Kind::SessionOpened:
        e.text = session_.fileName();
        break;
    default:
        break;
    }
    if (!e.station.call.isEmpty())
        e.station.slot = session_.table().FindCall(e.station.call.trimmed());
    for (StationRecord& s : e.stations)
        s.slot = s.call.trimmed().isEmpty() ? 0 : session_.table().FindCall(s.call.trimmed());
    session_.mirror(e);
}

void ShareSeat::followerLine()
{
    if (!follower_)
        return;
    QString line = follower_->statusText();
    if (follower_->hasNet() || !follower_->controlCall().isEmpty()) {
        const QString control = (follower_->controlCall() + QLatin1Char(' ') + follower_->controlName()).trimmed();
        line = QStringLiteral("FOLLOWING veln/%1: NET CONTROL %2 %3")
                   .arg(netId_, control.isEmpty() ? QStringLiteral("UNKNOWN") : control,
                        follower_->controlOnline() ? QStringLiteral("ONLINE") : QStringLiteral("OFFLINE"));
    }
    if (!takenOverBy_.isEmpty())
        line = QStringLiteral("NET TAKEN OVER BY %1. ").arg(takenOverBy_) + line;
    setLine(line);
}

void ShareSeat::setRole(Role role)
{
    if (role == role_)
        return;
    role_ = role;
    emit roleChanged(role_);
}

void ShareSeat::setLine(const QString& line)
{
    if (line == line_)
        return;
    line_ = line;
    emit lineChanged(line_);
}
