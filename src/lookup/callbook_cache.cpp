#include "callbook_cache.h"

#include "core/safe_write.h"
#include "platform/clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <utility>
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
QString shown(const QString& path) { return QDir::toNativeSeparators(path); }
}  // namespace

CallbookCache::CallbookCache(const QString& path, const Clock& clock) : path_(path), clock_(clock) { load(); }

bool CallbookCache::fresh(const Entry& e) const
{
    const QDateTime now = clock_.now();
    return e.at.isValid() && e.at <= now.addSecs(60) && e.at.addDays(kKeepDays) > now;
}

void CallbookCache::keepAside(const QString& why)
{
    QString aside = path_ + QStringLiteral(".damaged");
    if (QFileInfo::exists(aside))
        aside += QDateTime::currentDateTimeUtc().toString(QStringLiteral("-yyyyMMdd-HHmmss"));
    if (QFile::rename(path_, aside))
        notice_ = QStringLiteral("The callbook cache %1 was damaged (%2). It is kept as %3; the cache starts empty.")
                      .arg(shown(path_), why, shown(aside));
    else
        notice_ = QStringLiteral("The callbook cache %1 is damaged (%2) and could not be kept aside; the cache "
                                 "starts empty and replaces it.")
                      .arg(shown(path_), why);
}

void CallbookCache::load()
{
    QFile file(path_);
    if (!file.exists())
        return;
    // Sized before it is read: a huge file costs neither time nor memory.
    if (file.size() > kMaxFileBytes) {
        keepAside(QStringLiteral("it holds %1 bytes, more than 10,000 answers take").arg(file.size()));
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        notice_ = QStringLiteral("The callbook cache %1 cannot be read: %2").arg(shown(path_), file.errorString());
        return;
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.read(kMaxFileBytes), &error);
    file.close();
    // Anything damaged starts the cache empty: it only saves lookups.
    if (!doc.isObject()) {
        keepAside(error.error != QJsonParseError::NoError ? error.errorString()
                                                          : QStringLiteral("it holds no list of answers"));
        return;
    }
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
        // A file edited by hand holds no longer values than a lookup gives.
        for (QString* value : {&e.result.info.call, &e.result.info.firstName, &e.result.info.city,
                               &e.result.info.state, &e.result.source})
            value->truncate(kMaxValueChars);
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

QString CallbookCache::takeNotice() { return std::exchange(notice_, QString()); }

bool CallbookCache::save()
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
    QString error;
    if (SafeWrite(path_, QJsonDocument(QJsonObject{{kEntries, list}}).toJson(QJsonDocument::Compact), &error)) {
        writeFailureSaid_ = false;
        return true;
    }
    if (!writeFailureSaid_) {
        writeFailureSaid_ = true;
        notice_ = QStringLiteral("The callbook cache could not be stored: %1\n\nLookups go on; their answers are "
                                 "kept only until the program ends.")
                      .arg(error);
    }
    return false;
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
    // Only what the editor can use is kept: no value of a reply is longer.
    for (QString* v : {&e.result.info.call, &e.result.info.firstName, &e.result.info.city, &e.result.info.state,
                       &e.result.source})
        v->truncate(kMaxValueChars);
    entries_.insert(key, e);
    trim();
    return save();
}
