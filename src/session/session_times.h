#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// The times of a session's stations, kept beside the session file (whose
// bytes stay as they always were): same name plus ".times", CSV in UTF-8,
// one record per station: call, check-in, check-out (ISO 8601 UTC; empty
// when unknown or not checked out).
namespace SessionTimes {

struct Entry {
    QString call;
    QDateTime in;
    QDateTime out;
    bool operator==(const Entry&) const = default;
};

QString PathFor(const QString& sessionPath);
QByteArray Compose(const QList<Entry>& entries);
// Nothing when the bytes are damaged: a record without three fields, no
// call, or a time that is not ISO 8601 UTC.
std::optional<QList<Entry>> Parse(const QByteArray& bytes);

}  // namespace SessionTimes
