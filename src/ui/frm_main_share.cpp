// Sharing the net through a broker: publishing it as net control, following
// another seat's net, and taking it over.
#include "frm_main.h"

#include "export/net_log.h"
#include "frm_share.h"
#include "lookup/callbook_login.h"
#include "members/operator_identity.h"
#include "platform/caps_lock.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "share/share_address.h"
#include "share/share_seat.h"
#include "share/share_settings.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>

namespace {

MqttLink::Options brokerOf(const ShareSettings::Values& v, const QString& password)
{
    MqttLink::Options o;
    o.host = v.host;
    o.port = v.port;
    o.tls = v.tls;
    o.caFile = v.caFile;
    o.user = v.user;
    o.password = password;
    return o;
}

}  // namespace

// Followers see today's net control, or the operator at this seat.
OperatorIdentity frmMain::sharingIdentity() const
{
    OperatorIdentity me = StoredOperator(settings_);
    if (!state_.netControlCall.isEmpty())
        me.call = state_.netControlCall;
    if (!state_.netControlName.isEmpty())
        me.name = state_.netControlName;
    return me;
}

void frmMain::mnuOptionsShare_Click() { askShare(false); }

void frmMain::mnuOptionsFollow_Click() { askShare(true); }

void frmMain::askShare(bool follow)
{
    ShareSettings kept(settings_, CallbookLogin::vaultInUse());
    ShareSettings::Values offered = kept.load();
    if (offered.netId.isEmpty())
        offered.netId = NetIdOf(NetLog::NetNameOfCaption(kDesignCaption));
    frmShare ask(follow ? frmShare::Mode::Follow : frmShare::Mode::Share, offered, kept.password(), this);
    bool go = false;
    {
        // Host names, users and passwords are typed as they are.
        CapsLock::CaseMatters typing(platform_.capsLock);
        go = ask.exec() == QDialog::Accepted;
    }
    if (go) {
        const ShareSettings::Values chosen = ask.values();
        kept.save(chosen);
        kept.storePassword(ask.password());
        checkSettingsWritten();
        const MqttLink::Options broker = brokerOf(chosen, ask.password());
        if (follow) {
            shareSeat_->follow(broker, chosen.netId);
        } else {
            const OperatorIdentity me = sharingIdentity();
            shareSeat_->share(broker, chosen.netId, me.call, me.name);
        }
    }
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuOptionsTakeOver_Click()
{
    const OperatorIdentity me = sharingIdentity();
    if (!shareSeat_->takeOver(me.call, me.name))
        return;
    showStatus(QStringLiteral("YOU ARE NET CONTROL NOW"));
    TxtChkin->setFocus();
}

void frmMain::mnuOptionsStopSharing_Click()
{
    shareSeat_->stop();
    TxtChkin->setFocus();
}

void frmMain::startSharingAsked()
{
    shareSeat_ = new ShareSeat(session_, *platform_.clock, this);
    lblShare = new QLabel(this);
    lblShare->setObjectName(QStringLiteral("lblShare"));
    lblShare->setAccessibleName(QStringLiteral("Sharing"));
    statusBar()->addWidget(lblShare, 1);
    statusBar()->setSizeGripEnabled(false);
    connect(shareSeat_, &ShareSeat::lineChanged, this, [this](const QString& line) {
        lblShare->setText(line);
        announce(lblShare, QStringLiteral("Sharing"), line);
    });
    connect(shareSeat_, &ShareSeat::roleChanged, this, &frmMain::showShareRole);
    connect(shareSeat_, &ShareSeat::epochKnown, this, [this](const QString& netId, qint64 epoch) {
        ShareSettings(settings_, CallbookLogin::vaultInUse()).setEpoch(netId, epoch);
    });
    showShareRole();

    const bool follow = !state_.followAddress.isEmpty();
    const QString text = follow ? state_.followAddress : state_.shareAddress;
    if (text.isEmpty())
        return;
    QString error;
    const std::optional<ShareAddress> address = ShareAddress::parse(text, &error);
    if (!address) {
        platform_.prompts->message(error, Prompts::Icon::Warning);
        return;
    }
    ShareSettings kept(settings_, CallbookLogin::vaultInUse());
    ShareSettings::Values v = kept.load();
    v.host = address->host;
    v.port = address->port;
    v.tls = address->tls;
    v.user = address->user;
    v.netId = address->netId;
    if (!state_.shareCaFile.isEmpty())
        v.caFile = state_.shareCaFile;
    const QString password = !state_.sharePassword.isEmpty()         ? state_.sharePassword
                             : address->user == kept.load().user ? kept.password()
                                                                 : QString();
    const MqttLink::Options broker = brokerOf(v, password);
    if (follow) {
        shareSeat_->follow(broker, v.netId);
    } else {
        const OperatorIdentity me = sharingIdentity();
        // A net brought back goes on in its epoch: a seat that took it over
        // meanwhile keeps it, and this one follows.
        shareSeat_->share(broker, v.netId, me.call, me.name,
                          netRestored_ ? kept.epoch(v.netId) : std::nullopt);
    }
}

void frmMain::enableLineEditing()
{
    for (QAction* a : {mnuEditEdit, mnuEditDelete}) {
        // A followed net is not edited here: the command waits its turn.
        auto resting = std::find_if(restingWhileFollowed_.begin(), restingWhileFollowed_.end(),
                                    [a](const auto& r) { return r.first == a; });
        if (resting != restingWhileFollowed_.end())
            resting->second = true;
        else
            a->setEnabled(true);
    }
}

void frmMain::showShareRole()
{
    const ShareSeat::Role role = shareSeat_->role();
    const bool following = role == ShareSeat::Role::Following;
    statusBar()->setVisible(role != ShareSeat::Role::None);
    mnuOptionsTakeOver->setEnabled(following);
    mnuOptionsStopSharing->setEnabled(role != ShareSeat::Role::None);
    if (following == !restingWhileFollowed_.empty())
        return;
    if (following) {
        // Each rests as it stands, and gets its own state back afterwards.
        for (QAction* a : mnuEdit->actions())
            restingWhileFollowed_.emplace_back(a, a->isEnabled());
        restingWhileFollowed_.emplace_back(mnuFileOpen, mnuFileOpen->isEnabled());
        for (QWidget* w : std::initializer_list<QWidget*>{TxtChkin, fraAdd, cmdHide, lblTraffic, lstNF, lstSG})
            restingWhileFollowed_.emplace_back(w, w->isEnabled());
        for (const auto& [object, enabled] : restingWhileFollowed_)
            object->setProperty("enabled", false);
    } else {
        for (const auto& [object, enabled] : restingWhileFollowed_)
            if (object)
                object->setProperty("enabled", enabled);
        restingWhileFollowed_.clear();
    }
}
