// Feeds arbitrary bytes as the callbook cache file and loads it as a start
// does. Besides memory errors and undefined behaviour it stops when more than
// the cache's limit of answers is held, a value longer than the editor takes
// comes out, a damaged file goes without a word, or a file the cache writes
// does not load back the same.

#include "lookup/callbook_cache.h"
#include "platform/clock.h"

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void fail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "%s: %s\n", what, qPrintable(detail.left(200)));
    std::abort();
}

class FixedClock : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 9), QTime(20, 0), Qt::UTC); }
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fail("cannot write the fuzz file", path);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const FixedClock clock;
    const QString path = dir.filePath(CallbookCache::kFileName);
    QFile::remove(path);
    QFile::remove(path + QStringLiteral(".damaged"));
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    writeFile(path, input);

    CallbookCache cache(path, clock);
    const QString notice = cache.takeNotice();
    if (cache.size() > CallbookCache::kMaxEntries)
        fail("more answers than the limit", QString::number(cache.size()));
    const bool parsed = QJsonDocument::fromJson(input).isObject();
    if (!parsed && notice.isEmpty())
        fail("a damaged cache file went without a word", QString::fromUtf8(input.left(200)));

    // Every call the file names, as a lookup asks for it.
    const QJsonDocument doc = QJsonDocument::fromJson(input);
    QStringList calls;
    for (const QJsonValue& v : doc.object().value(QStringLiteral("entries")).toArray())
        calls.append(v.toObject().value(QStringLiteral("call")).toString());
    for (const QString& call : calls) {
        const std::optional<CallbookResult> r = cache.find(call);
        if (!r)
            continue;
        for (const QString* v : {&r->info.call, &r->info.firstName, &r->info.city, &r->info.state})
            if (v->size() > CallbookCache::kMaxValueChars)
                fail("a cached value longer than the editor takes", *v);
    }
    // What the cache writes loads back the same.
    if (!calls.isEmpty() && cache.size() > 0) {
        cache.forgetNotFound();
        CallbookResult probe;
        probe.info = {QStringLiteral("W1AW"), QStringLiteral("HIRAM"), QStringLiteral("NEWINGTON"), QStringLiteral("CT")};
        probe.source = QStringLiteral("QRZ");
        cache.store(QStringLiteral("W1AW"), probe);
        CallbookCache again(path, clock);
        if (!again.takeNotice().isEmpty() || again.size() != cache.size())
            fail("a written cache does not load back", QString::number(again.size()));
    }
    return 0;
}
