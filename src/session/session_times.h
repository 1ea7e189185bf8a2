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
    // Lines that hold no valid record; the others are all taken.
    int damagedLines = 0;
};

// No net writes more: 10,000 stations and 32,767 traffic changes take about 2 MB.
constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

QString PathFor(const QString& sessionPath);
QByteArray Compose(const QList<Entry>& entries, const QList<TrafficEvent>& traffic = {});
// Every valid line, read one by one; a damaged line (no UTF-8, not three
// fields, no call, a time that is not ISO 8601 UTC, a traffic record without
// a time or with a count outside 0..32767) is counted and skipped.
Contents Parse(const QByteArray& bytes);

struct ReadResult {
    bool found = false;  // a times file is there
    Contents contents;
    QString damage;      // why it was not read whole; empty when it was
};
// The times file beside the session at sessionPath, refused unread beyond kMaxFileBytes.
ReadResult Read(const QString& sessionPath);
// Moves a times file that was not read whole aside ("<name>.damaged", or
// with the time when that is taken), so a save never overwrites it. The
// name it now has, or empty when it could not be moved (error says why).
QString KeepAside(const QString& timesPath, QString* error);

}  // namespace SessionTimes
