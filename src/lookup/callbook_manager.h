#pragma once

#include "callbook.h"
#include "callbook_cache.h"
#include "hamqth_client.h"
#include "qrz_client.h"

#include <QHash>
#include <QList>
#include <memory>

class Clock;
class HttpClient;
class SettingsStore;

// The window's one way to look a call up. Answers from the cache when it
// can; otherwise asks QRZ first and HamQTH when QRZ fails (refused, not
// reachable, a reply not understood) or has no login. The first service that
// answers (found or not) is kept in the cache and names itself as source.
// When every service fails, the first failure is the answer.
class CallbookManager : public QObject {
    Q_OBJECT
public:
    // cachePath empty: no cache.
    CallbookManager(HttpClient& http, SettingsStore& settings, const QString& cachePath, const Clock& clock,
                    QObject* parent = nullptr);
    ~CallbookManager() override;

    // Some callbook has a login stored.
    bool isSetUp() const;
    // The call's page on the QRZ web site, when no callbook is set up.
    QUrl webPageUrl(const QString& call) const { return qrz_.webPageUrl(call); }
    QrzClient& qrz() { return qrz_; }
    HamQthClient& hamQth() { return hamQth_; }
    CallbookCache* cache() { return cache_.get(); }

    // Starts a lookup and returns at once; answered() follows from the event
    // loop. A second lookup of a call already on its way shares its answer.
    void lookup(const QString& call);
    // A login was stored: calls no service knew are asked again.
    void loginChanged();

signals:
    void answered(const QString& call, const CallbookResult& result);

private:
    struct Pending {
        int at = -1;  // the callbook asked now
        std::optional<CallbookResult> firstFailure;
    };
    void tryFrom(const QString& call, int index);
    void heard(Callbook* from, const QString& call, const CallbookResult& result);

    QrzClient qrz_;
    HamQthClient hamQth_;
    QList<Callbook*> order_;
    std::unique_ptr<CallbookCache> cache_;
    QHash<QString, Pending> pending_;
};
