#pragma once

#include "checkin_roster.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// The times of a session's stations, kept beside the session file (whose
// bytes stay as they always were): same name plus ".times", CSV in UTF-8,
// one record per station: call, check-in, check-out (ISO 8601 UTC; empty
// when unknown or not checked out); then one per change of the traffic
// counter: "*TRAFFIC*" (no call has an asterisk), when, the count after it.
namespace SessionTimes {

struct Entry {
    QString call;
    QDateTime in;
    QDateTime out;
    bool operator==(const Entry&) const = default;
};

struct Contents {
    QList<Entry> stations;
    QList<TrafficEvent> traffic;
};

QString PathFor(const QString& sessionPath);
QByteArray Compose(const QList<Entry>& entries, const QList<TrafficEvent>& traffic = {});
// Nothing when the bytes are damaged: a record without three fields, no
// call, a time that is not ISO 8601 UTC, or a traffic record without a time
// or with a count outside 0..32767.
std::optional<Contents> Parse(const QByteArray& bytes);

}  // namespace SessionTimes
