#pragma once

#include "callbook.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <optional>

class Clock;

// The callbooks' answers (found or not found) kept on disk for 30 days, so a
// call looked up once fills the editor again at once, even without network.
// A damaged or oversized file is kept aside and the cache starts empty; the
// oldest answers go first beyond 10,000. Every change is written at once
// through the checked writer; what went wrong is said once (notice()).
class CallbookCache {
public:
    static constexpr int kKeepDays = 30;
    static constexpr int kMaxEntries = 10000;
    static inline const QString kFileName = QStringLiteral("callbook-cache.json");
    // 10,000 answers of values cut to kMaxValueChars take under 4 MB.
    static constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;
    static constexpr int kMaxValueChars = 64;

    CallbookCache(const QString& path, const Clock& clock);

    // The answer kept for call, unless older than kKeepDays; its source is "CACHE".
    std::optional<CallbookResult> find(const QString& call) const;
    // Keeps an answer (found or not found; failures are not kept). False
    // when it was not kept or the file could not be written.
    bool store(const QString& call, const CallbookResult& result);
    // Drops the calls no service knew: a new login may know them. False when
    // the file could not be written.
    bool forgetNotFound();
    int size() const { return int(entries_.size()); }
    // What the operator is to hear once: the file was damaged and kept
    // aside, or a write failed (later failures are not repeated). Cleared
    // by the call.
    QString takeNotice();
    QString path() const { return path_; }

private:
    struct Entry {
        CallbookResult result;
        QDateTime at;
    };
    void load();
    void keepAside(const QString& why);
    // Drops what has run out, then the oldest beyond kMaxEntries.
    void trim();
    bool save();
    bool fresh(const Entry& e) const;
    static QString keyOf(const QString& call) { return call.trimmed().toUpper(); }

    QString path_;
    const Clock& clock_;
    QHash<QString, Entry> entries_;
    QString notice_;
    bool writeFailureSaid_ = false;
};
