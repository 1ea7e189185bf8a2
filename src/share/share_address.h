#pragma once

#include <QString>
#include <optional>

// Where a shared net lives: a broker and the net's id on it, as typed on the
// command line: mqtt://[user@]host:port/<net id>, or mqtts:// for TLS.
struct ShareAddress {
    QString host;
    int port = 1883;
    bool tls = false;
    QString user;
    QString netId;

    static constexpr int kPlainPort = 1883;
    static constexpr int kTlsPort = 8883;

    // Nothing, with the reason in *error, when text is no such address.
    static std::optional<ShareAddress> parse(const QString& text, QString* error = nullptr);
    // The address again, without a password (none is ever part of it).
    QString toString() const;
    bool operator==(const ShareAddress&) const = default;
};

// A net's id from its name: lower case, letters, digits and '-' only (any
// other run of characters becomes one '-', none at either end); "net" when
// nothing is left.
QString NetIdOf(const QString& netName);

// The id is one NetIdOf would give: it stands in topic names as it is.
bool IsNetId(const QString& id);

// The topics of a shared net.
namespace ShareTopics {
QString events(const QString& netId);
QString roster(const QString& netId);
QString control(const QString& netId);
}  // namespace ShareTopics
