#include "callbook_cache.h"

#include "core/safe_write.h"
#include "platform/clock.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <vector>

namespace {
const QString kCall = QStringLiteral("call");
const QString kFound = QStringLiteral("found");
const QString kAnsweredCall = QStringLiteral("answeredCall");
const QString kFirstName = QStringLiteral("firstName");
const QString kCity = QStringLiteral("city");
const QString kState = QStringLiteral("state");
const QString kSource = QStringLiteral("source");
const QString kAt = QStringLiteral("at");
const QString kEntries = QStringLiteral("entries");
// A file far larger than 10,000 answers is not ours.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
}  // namespace

CallbookCache::CallbookCache(const QString& path, const Clock& clock) : path_(path), clock_(clock) { load(); }

bool CallbookCache::fresh(const Entry& e) const
{
    const QDateTime now = clock_.now();
    return e.at.isValid() && e.at <= now.addSecs(60) && e.at.addDays(kKeepDays) > now;
}

void CallbookCache::load()
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    // Anything damaged starts the cache empty: it only saves lookups.
    if (!doc.isObject())
        return;
    for (const QJsonValue& v : doc.object().value(kEntries).toArray()) {
        const QJsonObject o = v.toObject();
        const QString key = keyOf(o.value(kCall).toString());
        Entry e;
        e.at = QDateTime::fromString(o.value(kAt).toString(), Qt::ISODateWithMs);
        if (key.isEmpty() || !o.value(kFound).isBool() || !fresh(e))
            continue;
        e.result.error = o.value(kFound).toBool() ? CallbookError::None : CallbookError::NotFound;
        e.result.info = {o.value(kAnsweredCall).toString(), o.value(kFirstName).toString(), o.value(kCity).toString(),
                         o.value(kState).toString()};
        e.result.source = o.value(kSource).toString();
        const auto it = entries_.constFind(key);
        if (it == entries_.cend() || it->at < e.at)
            entries_.insert(key, e);
    }
    trim();
}

void CallbookCache::trim()
{
    for (auto it = entries_.begin(); it != entries_.end();)
        it = fresh(*it) ? std::next(it) : entries_.erase(it);
    if (entries_.size() <= kMaxEntries)
        return;
    std::vector<std::pair<QDateTime, QString>> byAge;
    byAge.reserve(entries_.size());
    for (auto it = entries_.cbegin(); it != entries_.cend(); ++it)
        byAge.emplace_back(it->at, it.key());
    std::sort(byAge.begin(), byAge.end());
    for (size_t i = 0; entries_.size() > kMaxEntries; ++i)
        entries_.remove(byAge[i].second);
}

bool CallbookCache::save() const
{
    QJsonArray list;
    for (auto it = entries_.cbegin(); it != entries_.cend(); ++it) {
        const CallbookResult& r = it->result;
        list.append(QJsonObject{{kCall, it.key()},
                                {kFound, r.found()},
                                {kAnsweredCall, r.info.call},
                                {kFirstName, r.info.firstName},
                                {kCity, r.info.city},
                                {kState, r.info.state},
                                {kSource, r.source},
                                {kAt, it->at.toString(Qt::ISODateWithMs)}});
    }
    return SafeWrite(path_, QJsonDocument(QJsonObject{{kEntries, list}}).toJson(QJsonDocument::Compact));
}

bool CallbookCache::forgetNotFound()
{
    const qsizetype dropped = entries_.removeIf([](const auto& it) { return !it.value().result.found(); });
    return dropped == 0 || save();
}

std::optional<CallbookResult> CallbookCache::find(const QString& call) const
{
    const auto it = entries_.constFind(keyOf(call));
    if (it == entries_.cend() || !fresh(*it))
        return std::nullopt;
    CallbookResult r = it->result;
    r.source = QStringLiteral("CACHE");
    return r;
}

bool CallbookCache::store(const QString& call, const CallbookResult& result)
{
    const QString key = keyOf(call);
    if (key.isEmpty() || !result.answered())
        return false;
    Entry e{result, clock_.now()};
    e.result.detail.clear();
    if (!e.result.found())
        e.result.info = {};
    entries_.insert(key, e);
    trim();
    return save();
}
