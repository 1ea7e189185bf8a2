#include "fakes.h"
#include "lookup/callbook_cache.h"
#include "member_files.h"
#include "test_home.h"
#include "test_main.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(CallbookError)

namespace {
CallbookResult answer(CallbookError error, const CallsignInfo& info = {}, const QString& source = "QRZ")
{
    CallbookResult r;
    r.error = error;
    r.info = info;
    r.source = source;
    r.detail = "service words";
    return r;
}

QByteArray entriesFile(int count, const QDateTime& first)
{
    QJsonArray list;
    for (int i = 0; i < count; ++i)
        list.append(QJsonObject{{"call", QString("K%1").arg(i)},
                                {"found", true},
                                {"answeredCall", QString("K%1").arg(i)},
                                {"firstName", "Al"},
                                {"city", "Ames"},
                                {"state", "IA"},
                                {"source", "QRZ"},
                                {"at", first.addSecs(i).toString(Qt::ISODateWithMs)}});
    return QJsonDocument(QJsonObject{{"entries", list}}).toJson(QJsonDocument::Compact);
}
}  // namespace

// The callbook answers kept on disk: across a restart, for 30 days, at most
// 10,000 of them, and a damaged file that only empties the cache.
class TstCallbookCache : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void keptAcrossRestart_data();
    void keptAcrossRestart();
    void expiresAfterThirtyDays_data();
    void expiresAfterThirtyDays();
    void neverMoreThanTenThousand();
    void damagedFileStartsEmpty_data();
    void damagedFileStartsEmpty();
    void failedWriteIsSaidOnce();

private:
    QString path() const { return home_->dataRoot() + CallbookCache::kFileName; }
    void writeFile(const QByteArray& bytes)
    {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    std::unique_ptr<TestHome> home_;
    FakeClock clock_;
};

void TstCallbookCache::init()
{
    home_ = std::make_unique<TestHome>();
    QVERIFY(QDir().mkpath(home_->dataRoot()));
    clock_ = FakeClock();
}

void TstCallbookCache::cleanup() { home_.reset(); }

void TstCallbookCache::keptAcrossRestart_data()
{
    using E = CallbookError;
    QTest::addColumn<CallbookResult>("result");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QString>("askedAs");
    QTest::addColumn<bool>("keptAfterLoginChange");  // another login may know the call
    const CallsignInfo mary{"K2NEW", "Mary Ann", "Albany", "NY"};
    QTest::newRow("found") << answer(E::None, mary) << true << "K2NEW" << true;
    QTest::newRow("found by HamQTH") << answer(E::None, mary, "HAMQTH") << true << "K2NEW" << true;
    QTest::newRow("asked in lower case with blanks") << answer(E::None, mary) << true << " k2new " << true;
    QTest::newRow("not found") << answer(E::NotFound, {"", "Stray", "", ""}) << true << "K2NEW" << false;
    QTest::newRow("login refused") << answer(E::LoginRefused) << false << "K2NEW" << false;
    QTest::newRow("unreachable") << answer(E::Unreachable) << false << "K2NEW" << false;
    QTest::newRow("bad reply") << answer(E::BadReply) << false << "K2NEW" << false;
}

void TstCallbookCache::keptAcrossRestart()
{
    QFETCH(CallbookResult, result);
    QFETCH(bool, kept);
    QFETCH(QString, askedAs);
    {
        CallbookCache cache(path(), clock_);
        QCOMPARE(cache.store("K2NEW", result), kept);
        QCOMPARE(cache.find(askedAs).has_value(), kept);
    }
    CallbookCache again(path(), clock_);  // a new run reads the file
    const std::optional<CallbookResult> got = again.find(askedAs);
    QCOMPARE(got.has_value(), kept);
    QCOMPARE(again.size(), kept ? 1 : 0);
    if (!kept)
        return;
    QCOMPARE(got->error, result.error);
    QCOMPARE(got->source, QString("CACHE"));
    // A call the service did not know keeps nothing of the reply.
    QCOMPARE(got->info, result.found() ? result.info : CallsignInfo{});

    QVERIFY(again.forgetNotFound());
    QTEST(again.find(askedAs).has_value(), "keptAfterLoginChange");
    QTEST(CallbookCache(path(), clock_).find(askedAs).has_value(), "keptAfterLoginChange");
}

void TstCallbookCache::expiresAfterThirtyDays_data()
{
    QTest::addColumn<qint64>("ageSeconds");
    QTest::addColumn<bool>("kept");
    const qint64 day = 24 * 3600;
    QTest::newRow("same day") << qint64(60) << true;
    QTest::newRow("29 days 23 hours") << 30 * day - 3600 << true;
    QTest::newRow("30 days") << 30 * day << false;
    QTest::newRow("a year") << 365 * day << false;
}

void TstCallbookCache::expiresAfterThirtyDays()
{
    QFETCH(qint64, ageSeconds);
    QFETCH(bool, kept);
    CallbookCache cache(path(), clock_);
    QVERIFY(cache.store("K2NEW", answer(CallbookError::None, {"K2NEW", "Mary", "", ""})));
    clock_.current = clock_.current.addSecs(ageSeconds);
    QCOMPARE(cache.find("K2NEW").has_value(), kept);
    CallbookCache again(path(), clock_);
    QCOMPARE(again.find("K2NEW").has_value(), kept);
    QCOMPARE(again.size(), kept ? 1 : 0);  // run-out answers leave the file at the next start
}

void TstCallbookCache::neverMoreThanTenThousand()
{
    const QDateTime first = clock_.current.addDays(-1);
    writeFile(entriesFile(CallbookCache::kMaxEntries + 5, first));
    CallbookCache cache(path(), clock_);
    QCOMPARE(cache.size(), CallbookCache::kMaxEntries);
    QVERIFY(!cache.find("K0").has_value());  // the oldest went first
    QVERIFY(!cache.find("K4").has_value());
    QVERIFY(cache.find("K5").has_value());

    QVERIFY(cache.store("K2NEW", answer(CallbookError::None, {"K2NEW", "Mary", "", ""})));
    QCOMPARE(cache.size(), CallbookCache::kMaxEntries);
    QVERIFY(!cache.find("K5").has_value());
    QVERIFY(cache.find("K6").has_value());
    QVERIFY(cache.find("K2NEW").has_value());

    CallbookCache again(path(), clock_);
    QCOMPARE(again.size(), CallbookCache::kMaxEntries);
    QVERIFY(again.find("K2NEW").has_value());
    QVERIFY(!again.find("K5").has_value());
}

void TstCallbookCache::damagedFileStartsEmpty_data()
{
    QTest::addColumn<QByteArray>("bytes");  // "huge": a sparse file past the limit
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("keptAside");
    const QByteArray good = entriesFile(2, FakeClock().current.addDays(-1));
    QTest::newRow("empty file") << QByteArray() << 0 << true;
    QTest::newRow("garbage") << QByteArray("\x00\xff\x13garbage", 10) << 0 << true;
    QTest::newRow("cut off") << good.left(good.size() / 2) << 0 << true;
    QTest::newRow("an array") << QByteArray("[1,2,3]") << 0 << true;
    QTest::newRow("larger than any cache") << QByteArray("huge") << 0 << true;
    QTest::newRow("entries not a list") << QByteArray("{\"entries\": 7}") << 0 << false;
    QTest::newRow("odd entries among good ones")
        << QByteArray(good).replace("{\"entries\":[", "{\"entries\":[5,{\"call\":\"K9X\",\"found\":\"yes\"},"
                                                      "{\"call\":\"K9Y\",\"found\":true,\"at\":\"never\"},")
        << 2 << false;
}

void TstCallbookCache::damagedFileStartsEmpty()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, size);
    QFETCH(bool, keptAside);
    if (bytes == "huge") {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(qint64(1) << 30));
    } else {
        writeFile(bytes);
    }
    CallbookCache cache(path(), clock_);
    QCOMPARE(cache.size(), size);
    QVERIFY(!cache.find("K9X").has_value());
    QVERIFY(!cache.find("K9Y").has_value());
    // Kept aside and said once, before anything replaces it.
    const QString notice = cache.takeNotice();
    QVERIFY2(notice.contains(path() + ".damaged") == keptAside, qPrintable(notice));
    QVERIFY(cache.takeNotice().isEmpty());
    if (keptAside && bytes != "huge")
        QCOMPARE(readBytes(path() + ".damaged"), bytes);
    // The next answer writes a sound file again.
    QVERIFY(cache.store("K2NEW", answer(CallbookError::None, {"K2NEW", "Mary", "", ""})));
    CallbookCache again(path(), clock_);
    QCOMPARE(again.size(), size + 1);
    QVERIFY(again.takeNotice().isEmpty());
}

void TstCallbookCache::failedWriteIsSaidOnce()
{
    CallbookCache cache(home_->path() + "/no such folder/" + CallbookCache::kFileName, clock_);
    QVERIFY(!cache.store("K2NEW", answer(CallbookError::None, {"K2NEW", "Mary", "", ""})));
    QVERIFY2(cache.takeNotice().contains("no such folder"), "the first failure is said");
    QVERIFY(!cache.store("K3NEW", answer(CallbookError::None, {"K3NEW", "Ann", "", ""})));
    QVERIFY(cache.takeNotice().isEmpty());
    // Answers still serve this run.
    QVERIFY(cache.find("K3NEW").has_value());
}

VELN_TEST(TstCallbookCache)
#include "tst_callbook_cache.moc"
